#include "core/image/projectwarnings.h"

#include <functional>
#include <string_view>

#include <pugixml.hpp>

#include "core/base/devicevariant.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/mapping/mappingformat.h"
#include "core/tables/pargenfile.h"
#include "core/tables/sdoclienttable.h"

namespace setforge {

namespace {

// Calls `visit` with every element child of the root of the file at `path` and its 1-based
// row number. Nothing happens when the file is missing or does not parse.
void forEachRow(const std::string& path, const std::function<void(const pugi::xml_node&, int)>& visit)
{
    pugi::xml_document doc;
    if (!loadXmlFile(path, doc).ok())
        return;
    int row = 0;
    for (pugi::xml_node node = documentRoot(doc).first_child(); node; node = node.next_sibling())
        if (node.type() == pugi::node_element)
            visit(node, ++row);
}

int countRows(const std::string& path)
{
    int rows = 0;
    forEachRow(path, [&rows](const pugi::xml_node&, int) { ++rows; });
    return rows;
}

std::string rowOf(std::string_view file, int row)
{
    return std::string(file) + " row " + std::to_string(row) + ": ";
}

bool ticked(const char* text)
{
    const std::string_view value(text);
    return value == "Y" || value == "y";
}

bool blank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

const char* fileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

} // namespace

std::vector<std::string> sdoByteWarnings(const ProjectFiles& files)
{
    std::vector<std::string> warnings;
    forEachRow(files.sdo, [&](const pugi::xml_node& row, int number) {
        const SdoConfParts conf =
            splitSdoConf(static_cast<std::uint8_t>(textToInt(row.attribute("conf").value(), 0)));
        const int hi = static_cast<int>(conf.hiByte);
        const int lo = static_cast<int>(conf.loByte);
        const int nbyte = textToInt(row.attribute("nbyteB").value(), 0);
        if (hi == 0 && lo == 0) {
            warnings.push_back(rowOf("sdo.xml", number) +
                               "Hi Byte and Lo Byte are both 0, so the register takes no byte of the object");
            return;
        }
        if (nbyte < 1)
            return; // the table check reports a bad NByte
        if (hi > nbyte)
            warnings.push_back(rowOf("sdo.xml", number) + "Hi Byte " + std::to_string(hi) +
                               " is above NByte " + std::to_string(nbyte));
        if (lo > nbyte)
            warnings.push_back(rowOf("sdo.xml", number) + "Lo Byte " + std::to_string(lo) +
                               " is above NByte " + std::to_string(nbyte));
    });
    return warnings;
}

std::vector<std::string> mappingSelectorWarnings(const ProjectFiles& files)
{
    std::vector<std::string> warnings;
    const std::string kNeither = "the byte selection fills neither half of register ";
    for (const MappingFormat* format : {&kReceivePdoMapping, &kTransmitPdoMapping, &kEmergencyMapping}) {
        const std::string& path = files.*(format->mapFile);
        const char* fileName = fileNameOf(path);
        const char* selector = format->attributeName(MapField::Selector);
        const char* index = format->attributeName(MapField::Index);
        if (!selector || !index)
            continue;
        const auto check = [&](const pugi::xml_node& entry, const std::string& where) {
            if ((textToInt(entry.attribute(selector).value(), 0) & 0xFF) == 0)
                warnings.push_back(where + kNeither + entry.attribute(index).value());
        };
        if (!format->groupElement) {
            forEachRow(path, [&](const pugi::xml_node& entry, int number) {
                check(entry, rowOf(fileName, number));
            });
            continue;
        }
        forEachRow(path, [&](const pugi::xml_node& group, int frame) {
            int word = 0;
            for (pugi::xml_node entry = group.first_child(); entry; entry = entry.next_sibling())
                if (entry.type() == pugi::node_element)
                    check(entry, std::string(fileName) + " emergency " + std::to_string(frame) + " word " +
                                     std::to_string(++word) + ": ");
        });
    }
    return warnings;
}

std::vector<std::string> nodeGuardingWarnings(const ProjectFiles& files)
{
    pugi::xml_document parGen;
    if (!loadXmlFile(files.parGen, parGen).ok())
        return {};
    const pugi::xml_node guard = childElement(documentRoot(parGen), "send_frame_nodeguard");
    if (std::string_view(guard.attribute("enable").value()) == "true")
        return {};
    const int rows = countRows(files.nodeGuard);
    if (rows == 0)
        return {};
    return {"NodeGuard.xml: " + std::to_string(rows) +
            " node(s) listed while node guarding is off in the communication parameters"};
}

std::vector<std::string> transmitPdoSendingWarnings(const ProjectFiles& files)
{
    if (readDeviceType(files.parGen) != 1)
        return {};
    std::vector<std::string> warnings;
    forEachRow(files.transmitPdo, [&](const pugi::xml_node& row, int number) {
        if (!ticked(row.attribute("OnChange").value()) && !ticked(row.attribute("OnTimer").value()))
            warnings.push_back(rowOf("Transmit_Pdo.xml", number) +
                               "neither On Change nor On Timer is ticked, so the PDO is never sent");
    });
    return warnings;
}

std::vector<std::string> hiddenColumnWarnings(const ProjectFiles& files)
{
    std::vector<std::string> warnings;
    if (readDeviceType(files.parGen) == 1) {
        forEachRow(files.transmitPdo, [&](const pugi::xml_node& row, int number) {
            const char* start = row.attribute("SMA").value();
            if (!blank(start))
                warnings.push_back(rowOf("Transmit_Pdo.xml", number) + "Address Start " + start +
                                   " is hidden with the Ethernet port but still goes into bank.bin");
        });
        return warnings;
    }
    forEachRow(files.rpdoDef, [&](const pugi::xml_node& row, int number) {
        const char* timeout = row.attribute("TimeOut").value();
        if (textToInt(timeout, 0) != 0)
            warnings.push_back(rowOf("rpdodef.xml", number) + "TimeOut " + timeout +
                               " is hidden without the Ethernet port but still goes into bank2_ESP32.bin");
    });
    forEachRow(files.transmitPdo, [&](const pugi::xml_node& row, int number) {
        if (ticked(row.attribute("OnChange").value()))
            warnings.push_back(
                rowOf("Transmit_Pdo.xml", number) +
                "On Change is hidden without the Ethernet port but still goes into bank2_ESP32.bin");
        if (ticked(row.attribute("OnTimer").value()))
            warnings.push_back(
                rowOf("Transmit_Pdo.xml", number) + "On Timer (" + row.attribute("Timer").value() +
                " ms) is hidden without the Ethernet port but still goes into bank2_ESP32.bin");
    });
    return warnings;
}

std::vector<std::string> unusedFileWarnings(const ProjectFiles& files)
{
    // The same reading of the variant as the register map's, so the warning names exactly the
    // rows the map leaves out.
    if (hasEthernet(variantForSteps(readDeviceType(files.parGen))))
        return {};
    const int rows = countRows(files.transmitPdoDefine);
    if (rows == 0)
        return {};
    return {std::string(fileNameOf(files.transmitPdoDefine)) +
            ": unused by the variant without Ethernet port (Select_Device_Type 0), whose transmit PDOs "
            "send the register blocks of Transmit_Pdo.xml; its " +
            std::to_string(rows) + " row(s) claim no register"};
}

std::vector<std::string> projectWarnings(const ProjectFiles& files)
{
    std::vector<std::string> all;
    for (const auto& group : {sdoByteWarnings, mappingSelectorWarnings, nodeGuardingWarnings,
                              transmitPdoSendingWarnings, hiddenColumnWarnings, unusedFileWarnings})
        for (std::string& warning : group(files))
            all.push_back(std::move(warning));
    return all;
}

} // namespace setforge
