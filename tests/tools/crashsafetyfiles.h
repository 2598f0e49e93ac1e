#pragma once

// The files the crash-safety test has saved over and over and then checks after each kill.
// Each kind names its file, the whole content a save of the "old" or the "new" version leaves,
// and the save itself through the program's own saving path. The two versions differ clearly
// in size, so a torn or truncated file can never pass for either.
// A new kind of file (a table through its model, ParGen.xml, an image) is one more line in
// crashSafetyFiles(); the child program and the test pick it up from there.

#include <string>
#include <vector>

#include <pugixml.hpp>

#include "core/app/atomicfile.h"
#include "core/app/settings.h"
#include "core/app/xmlfile.h"

struct CrashSafetyFile {
    const char* name;                    // file name in the test directory
    std::string (*expected)(bool newer); // content after a save of that version
    WriteResult (*save)(const std::string& path, bool newer);
};

namespace crashsafety {

inline Settings settingsVersion(bool newer)
{
    Settings s;
    s.projectName = newer ? std::string(40000, 'N') : "Old";
    s.deviceIp = newer ? "127.0.0.2" : "127.0.0.1";
    s.enableInternet = newer;
    return s;
}

inline std::string settingsExpected(bool newer)
{
    return settingsXml(settingsVersion(newer));
}

inline WriteResult settingsSave(const std::string& path, bool newer)
{
    return writeSettings(path, settingsVersion(newer));
}

// A node-guarding-shaped table: 2 rows for "old", 3000 for "new".
inline const pugi::xml_document& tableVersion(bool newer)
{
    static pugi::xml_document versions[2];
    pugi::xml_document& doc = versions[newer ? 1 : 0];
    if (!doc.first_child()) {
        pugi::xml_node root = startTableDocument(doc, "Node_Guarding");
        for (int row = 0; row < (newer ? 3000 : 2); ++row) {
            pugi::xml_node r = root.append_child("row");
            r.append_attribute("NodeID").set_value(std::to_string(row % 127 + 1).c_str());
            r.append_attribute("GuardTime").set_value("1000");
            r.append_attribute("LifeTimeFactor").set_value("3");
            r.append_attribute("Mnemonic").set_value(newer ? "New row mnemonic" : "Old");
        }
    }
    return doc;
}

inline std::string tableExpected(bool newer)
{
    return serializeXml(tableVersion(newer));
}

inline WriteResult tableSave(const std::string& path, bool newer)
{
    return saveXmlFile(tableVersion(newer), path);
}

// Raw bytes, standing for a binary image: 100 bytes for "old", 1 MiB for "new".
inline std::string binaryExpected(bool newer)
{
    std::string bytes(newer ? 1u << 20 : 100u, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131 + (newer ? 7 : 3)) & 0xFF);
    return bytes;
}

inline WriteResult binarySave(const std::string& path, bool newer)
{
    static const std::string versions[2] = {binaryExpected(false), binaryExpected(true)};
    return writeFileAtomic(path, versions[newer ? 1 : 0]);
}

} // namespace crashsafety

inline const std::vector<CrashSafetyFile>& crashSafetyFiles()
{
    static const std::vector<CrashSafetyFile> files = {
        {"Setforge.xml", crashsafety::settingsExpected, crashsafety::settingsSave},
        {"NodeGuard.xml", crashsafety::tableExpected, crashsafety::tableSave},
        {"bank.bin", crashsafety::binaryExpected, crashsafety::binarySave},
    };
    return files;
}
