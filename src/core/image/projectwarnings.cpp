#include "core/image/projectwarnings.h"

#include <functional>
#include <set>
#include <string_view>

#include <pugixml.hpp>

#include "core/base/devicevariant.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/mapping/mappingformat.h"
#include "core/tables/pargenelements.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

using File = ProjectDocuments::File;

// Calls `visit` with every element child of the root of `file` and its 1-based row number.
// Nothing happens when the file is missing or does not parse.
void forEachRow(ProjectDocuments& docs, File file,
                const std::function<void(const pugi::xml_node&, int)>& visit)
{
    forEachElement(docs.get(file).root, [&visit](const pugi::xml_node& row, std::size_t i) {
        visit(row, static_cast<int>(i) + 1);
    });
}

int countRows(ProjectDocuments& docs, File file)
{
    return static_cast<int>(countElements(docs.get(file).root));
}

// True when ParGen.xml is there but cannot be read: the device type is then unknown, and the
// warnings that depend on it say nothing rather than guess type 0 (the table checks report the
// file once).
bool deviceTypeUnknown(ProjectDocuments& docs)
{
    return !docs.get(File::ParGen).error.empty();
}

// Select_Device_Type of ParGen.xml, 0 when the file, the element or a number is missing.
int deviceType(ProjectDocuments& docs)
{
    return textToInt(elementText(childElement(docs.get(File::ParGen).root, ParGenName::kDeviceType)), 0);
}

// The project file a mapping format keeps its entries in.
File mapFileOf(const ProjectDocuments& docs, const MappingFormat& format)
{
    const std::string* path = &(docs.files().*(format.mapFile));
    for (const File file : {File::SdoPdo, File::TransmitPdoDefine, File::EmcyWord})
        if (&docs.path(file) == path)
            return file;
    return File::EmcyWord;
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

} // namespace

std::vector<std::string> sdoByteWarnings(ProjectDocuments& docs)
{
    std::vector<std::string> warnings;
    const char* nbyteName = sdoClientTable().attributeOf(SdoColumn::NByte);
    forEachRow(docs, File::Sdo, [&](const pugi::xml_node& row, int number) {
        const SdoConfParts conf =
            splitSdoConf(static_cast<std::uint8_t>(textToInt(row.attribute(kSdoConfAttribute).value(), 0)));
        const int hi = static_cast<int>(conf.hiByte);
        const int lo = static_cast<int>(conf.loByte);
        const int nbyte = textToInt(row.attribute(nbyteName).value(), 0);
        if (hi == 0 && lo == 0) {
            warnings.push_back(rowOf("sdo.xml", number) +
                               "Hi Byte and Lo Byte are both 0, so the register takes no byte of the object; "
                               "choose a Hi Byte or a Lo Byte");
            return;
        }
        if (nbyte < 1)
            return; // the table check reports a bad NByte
        if (hi > nbyte)
            warnings.push_back(rowOf("sdo.xml", number) + "Hi Byte " + std::to_string(hi) +
                               " is above NByte " + std::to_string(nbyte) + "; choose Hi Byte " +
                               std::to_string(nbyte) + " or less, or raise NByte");
        if (lo > nbyte)
            warnings.push_back(rowOf("sdo.xml", number) + "Lo Byte " + std::to_string(lo) +
                               " is above NByte " + std::to_string(nbyte) + "; choose Lo Byte " +
                               std::to_string(nbyte) + " or less, or raise NByte");
    });
    return warnings;
}

std::vector<std::string> mappingSelectorWarnings(ProjectDocuments& docs)
{
    std::vector<std::string> warnings;
    const std::string kNeither = "the byte selection fills neither half of register ";
    const std::string kChoose = "; choose a byte for the high or the low half, or delete the entry";
    for (const MappingFormat* format : {&kReceivePdoMapping, &kTransmitPdoMapping, &kEmergencyMapping}) {
        const File mapFile = mapFileOf(docs, *format);
        const char* fileName = ProjectDocuments::fileName(mapFile);
        const char* selector = format->attributeName(MapField::Selector);
        const char* index = format->attributeName(MapField::Index);
        if (!selector || !index)
            continue;
        const auto check = [&](const pugi::xml_node& entry, const std::string& where) {
            if ((textToInt(entry.attribute(selector).value(), 0) & 0xFF) == 0)
                warnings.push_back(where + kNeither + entry.attribute(index).value() + kChoose);
        };
        if (!format->groupElement) {
            forEachRow(docs, mapFile, [&](const pugi::xml_node& entry, int number) {
                check(entry, rowOf(fileName, number));
            });
            continue;
        }
        forEachRow(docs, mapFile, [&](const pugi::xml_node& group, int frame) {
            int word = 0;
            for (pugi::xml_node entry = group.first_child(); entry; entry = entry.next_sibling())
                if (entry.type() == pugi::node_element)
                    check(entry, std::string(fileName) + " emergency " + std::to_string(frame) + " word " +
                                     std::to_string(++word) + ": ");
        });
    }
    return warnings;
}

std::vector<std::string> nodeGuardingWarnings(ProjectDocuments& docs)
{
    const pugi::xml_node parGen = docs.get(File::ParGen).root;
    if (!parGen)
        return {};
    const pugi::xml_node guard = childElement(parGen, ParGenName::kNodeGuardFrame);
    if (std::string_view(guard.attribute(ParGenName::kGuardEnable).value()) == "true")
        return {};
    const int rows = countRows(docs, File::NodeGuard);
    if (rows == 0)
        return {};
    return {"NodeGuard.xml: " + std::to_string(rows) +
            " node(s) listed while node guarding is off in the communication parameters; turn node guarding "
            "on, or delete the rows"};
}

std::vector<std::string> transmitPdoSendingWarnings(ProjectDocuments& docs)
{
    if (deviceTypeUnknown(docs) || deviceType(docs) != 1)
        return {};
    // A mapping entry with Send_on_Write sends its PDO whenever a Modbus master writes the
    // register, whatever the two ticks say.
    std::set<int> sentOnWrite;
    const char* frame = kTransmitPdoMapping.attributeName(MapField::FrameNumber);
    const char* write = kTransmitPdoMapping.attributeName(MapField::Write);
    forEachRow(docs, File::TransmitPdoDefine, [&](const pugi::xml_node& entry, int) {
        if (textToInt(entry.attribute(write).value(), 0) != 0)
            sentOnWrite.insert(textToInt(entry.attribute(frame).value(), 0));
    });
    const TableDefinition& tpdo = pdoTransmitTable();
    std::vector<std::string> warnings;
    forEachRow(docs, File::TransmitPdo, [&](const pugi::xml_node& row, int number) {
        if (!ticked(row.attribute(tpdo.attributeOf(TpdoColumn::OnChange)).value()) &&
            !ticked(row.attribute(tpdo.attributeOf(TpdoColumn::OnTimer)).value()) &&
            !sentOnWrite.count(number))
            warnings.push_back(rowOf("Transmit_Pdo.xml", number) +
                               "neither On Change nor On Timer is ticked and no mapped register sends on "
                               "Modbus write, so the PDO is never sent; tick On Change or On Timer, or "
                               "delete the row");
    });
    return warnings;
}

std::vector<std::string> unmappedTransmitPdoWarnings(ProjectDocuments& docs)
{
    // The register map's reading of the variant: with the Ethernet port a transmit PDO takes
    // its registers from the transmit PDO mapping alone.
    if (deviceTypeUnknown(docs) || !hasEthernet(variantForSteps(deviceType(docs))))
        return {};
    std::set<int> mapped;
    const char* frame = kTransmitPdoMapping.attributeName(MapField::FrameNumber);
    forEachRow(docs, File::TransmitPdoDefine, [&](const pugi::xml_node& entry, int) {
        mapped.insert(textToInt(entry.attribute(frame).value(), 0));
    });
    std::vector<std::string> warnings;
    forEachRow(docs, File::TransmitPdo, [&](const pugi::xml_node&, int number) {
        if (!mapped.count(number))
            warnings.push_back(rowOf("Transmit_Pdo.xml", number) +
                               "no register is mapped to this transmit PDO, so it carries no Modbus data "
                               "and the report shows no register for it; map registers to it in the "
                               "transmit PDO mapping, or delete the row");
    });
    return warnings;
}

std::vector<std::string> hiddenColumnWarnings(ProjectDocuments& docs)
{
    if (deviceTypeUnknown(docs))
        return {};
    std::vector<std::string> warnings;
    const TableDefinition& tpdo = pdoTransmitTable();
    const auto tpdoCell = [&tpdo](const pugi::xml_node& row, int column) {
        return row.attribute(tpdo.attributeOf(column)).value();
    };
    if (deviceType(docs) == 1) {
        forEachRow(docs, File::TransmitPdo, [&](const pugi::xml_node& row, int number) {
            const char* start = tpdoCell(row, TpdoColumn::AddressStart);
            if (!blank(start))
                warnings.push_back(
                    rowOf("Transmit_Pdo.xml", number) + "Address Start " + start +
                    " is hidden with the Ethernet port but still goes into bank.bin; clear Address Start, "
                    "or choose the device without Ethernet port");
        });
        return warnings;
    }
    forEachRow(docs, File::RpdoDef, [&](const pugi::xml_node& row, int number) {
        const char* timeout = row.attribute(pdoReceiveTable().attributeOf(RpdoColumn::Timeout)).value();
        if (textToInt(timeout, 0) != 0)
            warnings.push_back(
                rowOf("rpdodef.xml", number) + "TimeOut " + timeout +
                " is hidden without the Ethernet port but still goes into bank2_ESP32.bin; clear "
                "TimeOut, or choose the device with Ethernet port");
    });
    forEachRow(docs, File::TransmitPdo, [&](const pugi::xml_node& row, int number) {
        if (ticked(tpdoCell(row, TpdoColumn::OnChange)))
            warnings.push_back(rowOf("Transmit_Pdo.xml", number) +
                               "On Change is hidden without the Ethernet port but still goes into "
                               "bank2_ESP32.bin; untick On "
                               "Change, or choose the device with Ethernet port");
        if (ticked(tpdoCell(row, TpdoColumn::OnTimer)))
            warnings.push_back(rowOf("Transmit_Pdo.xml", number) + "On Timer (" +
                               tpdoCell(row, TpdoColumn::Timer) +
                               " ms) is hidden without the Ethernet port but still goes into "
                               "bank2_ESP32.bin; untick On Timer, "
                               "or choose the device with Ethernet port");
    });
    return warnings;
}

std::vector<std::string> unusedFileWarnings(ProjectDocuments& docs)
{
    // The same reading of the variant as the register map's, so the warning names exactly the
    // rows the map leaves out.
    if (deviceTypeUnknown(docs) || hasEthernet(variantForSteps(deviceType(docs))))
        return {};
    const int rows = countRows(docs, File::TransmitPdoDefine);
    if (rows == 0)
        return {};
    return {std::string(ProjectDocuments::fileName(File::TransmitPdoDefine)) +
            ": unused by the variant without Ethernet port (Select_Device_Type 0), whose transmit PDOs "
            "send the register blocks of Transmit_Pdo.xml; its " +
            std::to_string(rows) +
            " row(s) claim no register; delete its rows, or choose the device with Ethernet port"};
}

std::vector<std::string> projectWarnings(const ProjectFiles& files)
{
    ProjectDocuments docs(files);
    return projectWarnings(docs);
}

std::vector<std::string> projectWarnings(ProjectDocuments& docs)
{
    std::vector<std::string> all;
    for (const auto& group :
         {sdoByteWarnings, mappingSelectorWarnings, nodeGuardingWarnings, transmitPdoSendingWarnings,
          unmappedTransmitPdoWarnings, hiddenColumnWarnings, unusedFileWarnings})
        for (std::string& warning : group(docs))
            all.push_back(std::move(warning));
    return all;
}

} // namespace setforge
