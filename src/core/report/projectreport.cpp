#include "core/report/projectreport.h"

#include <array>
#include <filesystem>
#include <functional>
#include <initializer_list>

#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/mapping/mappingformat.h"
#include "core/mapping/registerentry.h"
#include "core/report/csvreport.h"
#include "core/report/htmlreport.h"
#include "core/report/projectcheck.h"
#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pargenelements.h"
#include "core/tables/pargenfile.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/projectdocuments.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace PG = ParGenName;

namespace {

std::string projectNameOf(const std::string& projectDir)
{
    std::filesystem::path path = pathFromUtf8(projectDir).lexically_normal();
    if (path.filename().empty())
        path = path.parent_path();
    return pathToUtf8(path.filename());
}

template <std::size_t N> std::string listItem(const std::array<const char*, N>& items, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return "item " + std::to_string(index) + " (not in the list)";
    return items[static_cast<std::size_t>(index)];
}

std::string dotted(const std::array<std::string, 4>& parts)
{
    return parts[0] + "." + parts[1] + "." + parts[2] + "." + parts[3];
}

std::string onOff(bool on, const std::string& detail)
{
    return on ? detail : "off";
}

// Marks a value that the report shows from the defaults because ParGen.xml lacks its element.
constexpr const char* kDefaultMark = " (default: not in ParGen.xml)";

// Which of ParGen.xml's elements are missing; with no file at all, every one is.
class MissingElements {
public:
    explicit MissingElements(const pugi::xml_node& root) : m_root(root) {}

    // True when any of `elements` is not a child of the root.
    bool any(std::initializer_list<const char*> elements) const
    {
        for (const char* element : elements)
            if (!childElement(m_root, element))
                return true;
        return false;
    }

    // True when the start register's element, the one after the first network_start_modbus, is missing.
    bool startRegister() const
    {
        const pugi::xml_node first = childElement(m_root, PG::kNetworkStartModbus);
        return !first || !nextElement(first);
    }

private:
    pugi::xml_node m_root;
};

std::vector<std::pair<std::string, std::string>> parameterWords(const ParGenValues& v, bool ethernet,
                                                                const MissingElements& missing)
{
    std::vector<std::pair<std::string, std::string>> p;
    const auto add = [&p](const char* label, std::string value, bool fromDefault) {
        p.emplace_back(label, fromDefault ? value + kDefaultMark : std::move(value));
    };
    const std::string baud = listItem(kCanBaudItems, v.canBaud);
    add("CANopen node ID", v.canId, missing.any({PG::kCanId}));
    add("CANopen bit rate", baud.back() == 'K' ? baud.substr(0, baud.size() - 1) + " kbit/s" : baud,
        missing.any({PG::kCanBaud}));
    add("Operational state at start-up", v.operationalAtStart ? "yes" : "no",
        missing.any({PG::kOperationalAtStart}));
    add("Network start at start-up", onOff(v.networkStart, "after " + v.networkStartDelay + " s"),
        missing.any({PG::kNetworkStart}) || (v.networkStart && missing.any({PG::kNetworkStartDelay})));
    add("CANopen start on Modbus command", onOff(v.startOnModbus, "register " + v.startOnModbusAddress),
        missing.any({PG::kNetworkStartModbus}) || (v.startOnModbus && missing.startRegister()));
    add("SDO client time-out", v.sdoTimeout + " × 0.1 ms", missing.any({PG::kSdoTimeout}));
    add("SYNC producer", onOff(v.syncEnable, "every " + v.syncTime + " ms"),
        missing.any({PG::kSyncProducer}));
    add("Node guarding",
        onOff(v.nodeguardEnable, "state in registers " + v.nodeguardAddress1 + " and " + v.nodeguardAddress2),
        missing.any({PG::kNodeGuardFrame}));
    add("Modbus slave ID", v.modbusId, missing.any({PG::kModbusId}));
    std::string serial = listItem(kModbusSerialItems, v.modbusSerial) + ", " +
                         listItem(kModbusBaudItems, v.modbusBaud) + " baud, parity " +
                         listItem(kModbusParityItems, v.modbusParity);
    bool serialDefault = missing.any({PG::kModbusSerial, PG::kModbusBaud, PG::kModbusParity});
    // Each variant shows and uses only one of the two: stop bits with Ethernet, protocol without.
    if (ethernet) {
        serial += ", " + listItem(kModbusStopBitsItems, v.modbusStopBits);
        serialDefault = serialDefault || missing.any({PG::kModbusStopBits});
    } else {
        serial += ", " + listItem(kModbusProtocolItems, v.modbusProtocol);
        serialDefault = serialDefault || missing.any({PG::kModbusProtocol});
    }
    add("Modbus serial line", serial, serialDefault);
    if (ethernet) {
        add("Modbus inactivity time-out", onOff(v.inactivityEnable, v.inactivityTimeout + " ms"),
            missing.any({PG::kInactivityEnable}) ||
                (v.inactivityEnable && missing.any({PG::kInactivityTimeout})));
        add("IP address", dotted(v.ip), missing.any({PG::kIp[0], PG::kIp[1], PG::kIp[2], PG::kIp[3]}));
        add("Subnet mask", dotted(v.subnetMask),
            missing.any({PG::kSubnetMask[0], PG::kSubnetMask[1], PG::kSubnetMask[2], PG::kSubnetMask[3]}));
        add("Gateway", onOff(v.gatewayEnable, dotted(v.gateway)),
            missing.any({PG::kGatewayEnable}) ||
                (v.gatewayEnable &&
                 missing.any({PG::kGateway[0], PG::kGateway[1], PG::kGateway[2], PG::kGateway[3]})));
    }
    return p;
}

std::string bytePart(int byte)
{
    return byte == 0 ? "none" : "byte " + std::to_string(byte);
}

using File = ProjectDocuments::File;

// The table's rows with the cells of `columns`, numbered from 1.
ReportTable readTable(const pugi::xml_node& root, const TableDefinition& definition, const char* title,
                      std::vector<std::string> headers, const std::vector<int>& columns)
{
    ReportTable table{title, definition.fileName, std::move(headers), {}, false};
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t i) {
        ReportTable::Row r;
        r.cells.push_back(std::to_string(i + 1));
        for (const int column : columns)
            r.cells.push_back(row.attribute(definition.attributeOf(column)).value());
        table.rows.push_back(std::move(r));
    });
    return table;
}

// "200: high byte 2, low byte 1" for an entry of a mapping file of `format`.
std::string mappingText(const pugi::xml_node& entry, const MappingFormat& format)
{
    int high = 0;
    int low = 0;
    unpackByteSelector(textToInt(entry.attribute(format.attributeName(MapField::Selector)).value(), 0), high,
                       low);
    return std::string(entry.attribute(format.attributeName(MapField::Index)).value()) + ": high " +
           bytePart(high) + ", low " + bytePart(low);
}

// Hands each mapping row of `root` to the table row it names by its frame number.
void attachMapping(ReportTable& table, const pugi::xml_node& root, const MappingFormat& format)
{
    table.hasMapping = true;
    const char* frameNumber = format.attributeName(MapField::FrameNumber);
    const char* write = format.attributeName(MapField::Write);
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) {
        const std::int32_t n = textToInt(row.attribute(frameNumber).value(), -1);
        if (n < 1 || static_cast<std::size_t>(n) > table.rows.size())
            return;
        const bool sendOnWrite = write && textToInt(row.attribute(write).value(), 0) == 1;
        table.rows[static_cast<std::size_t>(n) - 1].mapping.push_back(mappingText(row, format) +
                                                                      (sendOnWrite ? ", sent on write" : ""));
    });
}

ReportTable sdoTable(const pugi::xml_node& root)
{
    const TableDefinition& definition = sdoClientTable();
    ReportTable table{
        "SDO accesses",
        definition.fileName,
        {"N", "Register", "Hi Byte", "Lo Byte", "R/W", "Device ID", "Index", "SubIndex", "NByte", "Mnemonic"},
        {},
        false};
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t i) {
        const auto text = [&](int column) { return row.attribute(definition.attributeOf(column)).value(); };
        const SdoConfParts conf =
            splitSdoConf(static_cast<std::uint8_t>(textToInt(row.attribute(kSdoConfAttribute).value(), 0)));
        table.rows.push_back({{std::to_string(i + 1), text(SdoColumn::Address), std::to_string(conf.hiByte),
                               std::to_string(conf.loByte), sdoReadWriteText(conf.readWrite),
                               text(SdoColumn::DeviceId), text(SdoColumn::Index), text(SdoColumn::SubIndex),
                               text(SdoColumn::NByte), text(SdoColumn::Mnemonic)},
                              {}});
    });
    return table;
}

std::vector<ReportTable> projectTables(ProjectDocuments& docs, bool ethernet)
{
    const auto root = [&docs](File file) { return docs.get(file).root; };
    std::vector<ReportTable> tables;
    tables.push_back(sdoTable(root(File::Sdo)));

    using namespace RpdoColumn;
    ReportTable rpdo =
        ethernet ? readTable(root(File::RpdoDef), pdoReceiveTable(), "Receive PDOs",
                             {"N", "COB-ID", "Dimension", "TimeOut (ms)", "Mnemonic"},
                             {CobId, Dimension, Timeout, Mnemonic})
                 : readTable(root(File::RpdoDef), pdoReceiveTable(), "Receive PDOs",
                             {"N", "COB-ID", "Dimension", "Mnemonic"}, {CobId, Dimension, Mnemonic});
    attachMapping(rpdo, root(File::SdoPdo), kReceivePdoMapping);
    tables.push_back(std::move(rpdo));

    namespace T = TpdoColumn;
    if (ethernet) {
        ReportTable tpdo =
            readTable(root(File::TransmitPdo), pdoTransmitTable(), "Transmit PDOs",
                      {"N", "COB-ID", "Dimension", "On Change", "On Timer", "Timer (ms)", "Mnemonic"},
                      {T::CobId, T::Dimension, T::OnChange, T::OnTimer, T::Timer, T::Mnemonic});
        attachMapping(tpdo, root(File::TransmitPdoDefine), kTransmitPdoMapping);
        tables.push_back(std::move(tpdo));
    } else {
        tables.push_back(readTable(root(File::TransmitPdo), pdoTransmitTable(), "Transmit PDOs",
                                   {"N", "COB-ID", "Dimension", "Address Start", "Mnemonic"},
                                   {T::CobId, T::Dimension, T::AddressStart, T::Mnemonic}));
    }

    namespace E = EmcyColumn;
    ReportTable emcy = readTable(root(File::EmcyDef), emcyAccessTable(), "Emergencies",
                                 {"N", "Device ID", "Error Code", "Error Register", "Mnemonic"},
                                 {E::DeviceId, E::ErrorCode, E::ErrorRegister, E::Mnemonic});
    emcy.hasMapping = true;
    forEachElement(root(File::EmcyWord), [&](const pugi::xml_node& message, std::size_t i) {
        if (i >= emcy.rows.size())
            return;
        forEachElement(message, [&](const pugi::xml_node& word, std::size_t) {
            emcy.rows[i].mapping.push_back(mappingText(word, kEmergencyMapping));
        });
    });
    tables.push_back(std::move(emcy));

    namespace G = NodeGuardColumn;
    tables.push_back(readTable(root(File::NodeGuard), nodeGuardTable(), "Guarded nodes",
                               {"N", "Device ID", "Guard Time (ms)", "Life Time Factor", "Mnemonic"},
                               {G::NodeId, G::GuardTime, G::LifeTimeFactor, G::Mnemonic}));
    return tables;
}

} // namespace

std::string reportTimeText(std::time_t when)
{
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &when);
#else
    gmtime_r(&when, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &utc);
    return text;
}

namespace {

// The report of the project whose files `docs` reads.
ProjectReport reportOf(const std::string& projectDir, ProjectDocuments& docs, std::time_t when,
                       const UiTexts& texts)
{
    const pugi::xml_node parGenRoot = docs.get(File::ParGen).root;
    const bool ethernet = deviceTypeOf(parGenRoot) != 0;
    const MissingElements missing(parGenRoot);
    ProjectReport report;
    report.projectName = projectNameOf(projectDir);
    report.variant = ethernet ? kDeviceTypeItems[1] : kDeviceTypeItems[0];
    if (missing.any({PG::kDeviceType}))
        report.variant += kDefaultMark;
    report.toolVersion = std::string(kSoftwareCode) + " " + kSoftwareVersion;
    report.generatedAt = reportTimeText(when);
    report.parameters = parameterWords(parGenFromRoot(parGenRoot), ethernet, missing);
    report.registers = buildRegisterMap(docs);
    report.tables = projectTables(docs, ethernet);
    report.problems = findingLines(checkProject(docs, texts));
    return report;
}

// Nothing when the report can be made from `docs`: every file it reads that is there can be
// read, and the folder holds ParGen.xml or a table file. A report of what could be read would
// show a project that is not the one on disk.
Result<void> checkReadable(const std::string& projectDir, ProjectDocuments& docs)
{
    const bool ethernet = deviceTypeOf(docs.get(File::ParGen).root) != 0;
    bool any = false;
    for (int k = 0; k < ProjectDocuments::kFileCount; ++k) {
        const auto file = static_cast<File>(k);
        // The serial variant's images never hold the transmit PDOs' mapping, so the report skips it.
        if (file == File::TransmitPdoDefine && !ethernet)
            continue;
        const ProjectDocuments::Entry& entry = docs.get(file);
        if (!entry.error.empty())
            return makeError(std::string(ProjectDocuments::fileName(file)) +
                                 " cannot be read: " + entry.error,
                             docs.path(file));
        any = any || entry.exists;
    }
    if (!any)
        return makeError("not a project: " + projectDir + " holds neither ParGen.xml nor a table file",
                         projectDir);
    return {};
}

} // namespace

ProjectReport buildProjectReport(const std::string& projectDir, std::time_t when, const UiTexts& texts)
{
    ProjectDocuments docs(makeProjectFiles(projectDir));
    return reportOf(projectDir, docs, when, texts);
}

Result<void> writeProjectReport(const std::string& projectDir, const std::string& outPath,
                                ReportFormat format, std::time_t when, const UiTexts& texts)
{
    if (!isDirectory(projectDir))
        return makeError("not a project directory: " + projectDir, projectDir);
    ProjectDocuments docs(makeProjectFiles(projectDir));
    if (const Result<void> readable = checkReadable(projectDir, docs); !readable)
        return readable;
    if (format == ReportFormat::Csv)
        return writeFileAtomic(outPath, renderCsvReport(buildRegisterMap(docs)));
    return writeFileAtomic(outPath, renderHtmlReport(reportOf(projectDir, docs, when, texts)));
}

} // namespace setforge
