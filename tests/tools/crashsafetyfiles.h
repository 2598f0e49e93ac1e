#pragma once

// The files the crash-safety test has saved over and over and then checks after each kill.
// Each kind names its file (a path below the test directory), the whole content a save of the
// "old" or the "new" version leaves, and the save itself through the program's own saving
// path. The two versions differ clearly in size, or, for a file of fixed size, both in their
// first and in their last bytes, so a torn or truncated file can never pass for either.
// A new kind of file (a table through its model, ParGen.xml, an image) is one more line in
// crashSafetyFiles(); the child program and the test pick it up from there.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "core/app/settings.h"
#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/base/xmlfile.h"
#include "core/image/compileimages.h"
#include "core/tables/grid.h"
#include "core/tables/pargenfile.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"
#include "core/tables/tablefile.h"

namespace setforge {

struct CrashSafetyFile {
    const char* name;                    // file name in the test directory
    std::string (*expected)(bool newer); // content after a save of that version
    Result<void> (*save)(const std::string& path, bool newer);
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

inline Result<void> settingsSave(const std::string& path, bool newer)
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

inline Result<void> tableSave(const std::string& path, bool newer)
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

inline Result<void> binarySave(const std::string& path, bool newer)
{
    static const std::string versions[2] = {binaryExpected(false), binaryExpected(true)};
    return writeFileAtomic(path, versions[newer ? 1 : 0]);
}

// The SDO table through the table model's save: 2 used rows for "old", all 1500 for "new".
inline const Grid& sdoGridVersion(bool newer)
{
    static const Grid versions[2] = {[] {
                                         Grid g(sdoClientTable().rowCount, sdoClientTable().columnCount());
                                         for (int row = 1; row <= 2; ++row) {
                                             g.setCell(row, SdoColumn::Address, std::to_string(row));
                                             g.setCell(row, SdoColumn::Mnemonic, "Old");
                                         }
                                         return g;
                                     }(),
                                     [] {
                                         Grid g(sdoClientTable().rowCount, sdoClientTable().columnCount());
                                         for (int row = 1; row <= g.rowCount(); ++row) {
                                             g.setCell(row, SdoColumn::Address, std::to_string(1000 + row));
                                             g.setCell(row, SdoColumn::HiByte, "1");
                                             g.setCell(row, SdoColumn::LoByte, "2");
                                             g.setCell(row, SdoColumn::ReadWrite, "ReadWrite");
                                             g.setCell(row, SdoColumn::DeviceId, "5");
                                             g.setCell(row, SdoColumn::Index, "0x2000");
                                             g.setCell(row, SdoColumn::Mnemonic, "New row mnemonic");
                                         }
                                         return g;
                                     }()};
    return versions[newer ? 1 : 0];
}

inline std::string sdoTableExpected(bool newer)
{
    return tableFileText(sdoClientTable(), sdoGridVersion(newer));
}

inline Result<void> sdoTableSave(const std::string& path, bool newer)
{
    return saveTableFile(sdoClientTable(), sdoGridVersion(newer), path);
}

// ParGen.xml through the communication parameters' save: the defaults for "old", long texts
// for "new".
inline ParGenValues parGenVersion(bool newer)
{
    ParGenValues v;
    if (newer) {
        v.deviceType = 0;
        v.canId = std::string(30000, '7');
        v.modbusId = std::string(30000, '9');
        v.syncEnable = true;
    }
    return v;
}

inline std::string parGenExpected(bool newer)
{
    pugi::xml_document doc;
    buildParGenDocument(parGenVersion(newer), doc);
    return serializeXml(doc);
}

inline Result<void> parGenSave(const std::string& path, bool newer)
{
    static const ParGenValues versions[2] = {parGenVersion(false), parGenVersion(true)};
    return saveParGen(versions[newer ? 1 : 0], path);
}

// The three images of one compile, written together by the image writer. The banks have fixed
// sizes, so their versions differ from the first bytes to the last: the CAN bit rate at the
// start and the checksum at the end of bank 1, the first SDO entry and the last EMCY word
// entry of bank 2. bank.bin is 72 bytes for "old" and 60,000 for "new".
inline CompiledImages imageVersion(bool newer)
{
    CompiledImages images;
    images.ok = true;
    images.plain.bytes.assign(newer ? 60000u : 72u, 0);
    for (std::size_t i = 0; i < images.plain.bytes.size(); ++i)
        images.plain.bytes[i] = static_cast<std::uint8_t>((i * 37 + (newer ? 11 : 5)) & 0xFF);
    ParameterBlock& parameters = images.banked.parameters;
    parameters.set(ParameterField::kCanBitRate, newer ? 1000000u : 125000u);
    TableArea& tables = images.banked.tables;
    tables.append(BankTable::Sdo, {newer ? 2000u : 1u, 0x10, 1, 0x2000, 0, 4});
    const std::uint32_t words =
        newer ? static_cast<std::uint32_t>(tableLayout(BankTable::EmcyWord).capacity) : 1u;
    for (std::uint32_t w = 0; w < words; ++w)
        tables.append(BankTable::EmcyWord, {100 + w, 1, 2, 1});
    parameters.setTableCount(tableLayout(BankTable::Sdo).directoryEntry, tables.count(BankTable::Sdo));
    parameters.setTableCount(tableLayout(BankTable::EmcyWord).directoryEntry,
                             tables.count(BankTable::EmcyWord));
    parameters.pack();
    return images;
}

inline std::string plainImageExpected(bool newer)
{
    const auto bytes = imageVersion(newer).plain.bytes;
    return {bytes.begin(), bytes.end()};
}

inline std::string bank1Expected(bool newer)
{
    const CompiledImages images = imageVersion(newer);
    const auto& bytes = images.banked.parameters.bytes();
    return {bytes.begin(), bytes.end()};
}

inline std::string bank2Expected(bool newer)
{
    const CompiledImages images = imageVersion(newer);
    const auto& bytes = images.banked.tables.bytes();
    return {bytes.begin(), bytes.end()};
}

// `path` names one image in <project>/bin; the writer replaces all three.
inline Result<void> imagesSave(const std::string& path, bool newer)
{
    static const CompiledImages versions[2] = {imageVersion(false), imageVersion(true)};
    const std::string projectDir = pathToUtf8(pathFromUtf8(path).parent_path().parent_path());
    return writeImageFiles(projectDir, versions[newer ? 1 : 0]);
}

} // namespace crashsafety

inline const std::vector<CrashSafetyFile>& crashSafetyFiles()
{
    static const std::vector<CrashSafetyFile> files = {
        {"Setforge.xml", crashsafety::settingsExpected, crashsafety::settingsSave},
        {"NodeGuard.xml", crashsafety::tableExpected, crashsafety::tableSave},
        {"bank.bin", crashsafety::binaryExpected, crashsafety::binarySave},
        {"sdo.xml", crashsafety::sdoTableExpected, crashsafety::sdoTableSave},
        {"ParGen.xml", crashsafety::parGenExpected, crashsafety::parGenSave},
        {"bin/bank.bin", crashsafety::plainImageExpected, crashsafety::imagesSave},
        {"bin/bank1_ESP32.bin", crashsafety::bank1Expected, crashsafety::imagesSave},
        {"bin/bank2_ESP32.bin", crashsafety::bank2Expected, crashsafety::imagesSave},
    };
    return files;
}

} // namespace setforge
