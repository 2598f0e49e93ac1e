#include "core/report/projectreport.h"

#include <array>
#include <filesystem>
#include <functional>

#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/image/compilestop.h"
#include "core/mapping/registerentry.h"
#include "core/report/csvreport.h"
#include "core/report/htmlreport.h"
#include "core/report/projectcheck.h"
#include "core/tables/pargenfile.h"
#include "core/tables/sdoclienttable.h"

namespace setforge {

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

std::vector<std::pair<std::string, std::string>> parameterWords(const ParGenValues& v, bool ethernet)
{
    std::vector<std::pair<std::string, std::string>> p;
    const std::string baud = listItem(kCanBaudItems, v.canBaud);
    p.emplace_back("CANopen node ID", v.canId);
    p.emplace_back("CANopen bit rate",
                   baud.back() == 'K' ? baud.substr(0, baud.size() - 1) + " kbit/s" : baud);
    p.emplace_back("Operational state at start-up", v.operationalAtStart ? "yes" : "no");
    p.emplace_back("Network start at start-up", onOff(v.networkStart, "after " + v.networkStartDelay + " s"));
    p.emplace_back("CANopen start on Modbus command",
                   onOff(v.startOnModbus, "register " + v.startOnModbusAddress));
    p.emplace_back("SDO client time-out", v.sdoTimeout + " × 0.1 ms");
    p.emplace_back("SYNC producer", onOff(v.syncEnable, "every " + v.syncTime + " ms"));
    p.emplace_back("Node guarding", onOff(v.nodeguardEnable, "state in registers " + v.nodeguardAddress1 +
                                                                 " and " + v.nodeguardAddress2));
    p.emplace_back("Modbus slave ID", v.modbusId);
    std::string serial = listItem(kModbusSerialItems, v.modbusSerial) + ", " +
                         listItem(kModbusBaudItems, v.modbusBaud) + " baud, parity " +
                         listItem(kModbusParityItems, v.modbusParity);
    // Each variant shows and uses only one of the two: stop bits with Ethernet, protocol without.
    if (ethernet)
        serial += ", " + listItem(kModbusStopBitsItems, v.modbusStopBits);
    else
        serial += ", " + listItem(kModbusProtocolItems, v.modbusProtocol);
    p.emplace_back("Modbus serial line", serial);
    if (ethernet) {
        p.emplace_back("Modbus inactivity time-out", onOff(v.inactivityEnable, v.inactivityTimeout + " ms"));
        p.emplace_back("IP address", dotted(v.ip));
        p.emplace_back("Subnet mask", dotted(v.subnetMask));
        p.emplace_back("Gateway", onOff(v.gatewayEnable, dotted(v.gateway)));
    }
    return p;
}

std::string bytePart(int byte)
{
    return byte == 0 ? "none" : "byte " + std::to_string(byte);
}

// "200: high byte 2, low byte 1" for a mapping row.
std::string mappingText(const pugi::xml_node& row, const char* indexAttribute, const char* selectorAttribute)
{
    int high = 0;
    int low = 0;
    unpackByteSelector(textToInt(row.attribute(selectorAttribute).value(), 0), high, low);
    return std::string(row.attribute(indexAttribute).value()) + ": high " + bytePart(high) + ", low " +
           bytePart(low);
}

// The table's rows with the cells of `attributes`, numbered from 1.
ReportTable readTable(const std::string& path, const char* title, const char* file,
                      std::vector<std::string> headers, const std::vector<const char*>& attributes)
{
    ReportTable table{title, file, std::move(headers), {}, false};
    pugi::xml_document doc;
    forEachElement(loadXmlRoot(path, doc), [&](const pugi::xml_node& row, std::size_t i) {
        ReportTable::Row r;
        r.cells.push_back(std::to_string(i + 1));
        for (const char* attribute : attributes)
            r.cells.push_back(row.attribute(attribute).value());
        table.rows.push_back(std::move(r));
    });
    return table;
}

// Hands each mapping row of `mapPath` to the table row it names by `numberAttribute`.
void attachMapping(ReportTable& table, const std::string& mapPath, const char* numberAttribute,
                   const std::function<std::string(const pugi::xml_node&)>& describe)
{
    table.hasMapping = true;
    pugi::xml_document doc;
    forEachElement(loadXmlRoot(mapPath, doc), [&](const pugi::xml_node& row, std::size_t) {
        const std::int32_t n = textToInt(row.attribute(numberAttribute).value(), -1);
        if (n >= 1 && static_cast<std::size_t>(n) <= table.rows.size())
            table.rows[static_cast<std::size_t>(n) - 1].mapping.push_back(describe(row));
    });
}

ReportTable sdoTable(const std::string& path)
{
    ReportTable table{
        "SDO accesses",
        "sdo.xml",
        {"N", "Register", "Hi Byte", "Lo Byte", "R/W", "Device ID", "Index", "SubIndex", "NByte", "Mnemonic"},
        {},
        false};
    pugi::xml_document doc;
    forEachElement(loadXmlRoot(path, doc), [&](const pugi::xml_node& row, std::size_t i) {
        const SdoConfParts conf =
            splitSdoConf(static_cast<std::uint8_t>(textToInt(row.attribute("conf").value(), 0)));
        table.rows.push_back(
            {{std::to_string(i + 1), row.attribute("IndexA").value(), std::to_string(conf.hiByte),
              std::to_string(conf.loByte), sdoReadWriteText(conf.readWrite), row.attribute("devIDB").value(),
              row.attribute("IndexB").value(), row.attribute("SubindexB").value(),
              row.attribute("nbyteB").value(), row.attribute("mnemonico").value()},
             {}});
    });
    return table;
}

std::vector<ReportTable> projectTables(const ProjectFiles& files, bool ethernet)
{
    std::vector<ReportTable> tables;
    tables.push_back(sdoTable(files.sdo));

    ReportTable rpdo =
        ethernet ? readTable(files.rpdoDef, "Receive PDOs", "rpdodef.xml",
                             {"N", "COB-ID", "Dimension", "TimeOut (ms)", "Mnemonic"},
                             {"cobid", "dimension", "TimeOut", "Mnemonic"})
                 : readTable(files.rpdoDef, "Receive PDOs", "rpdodef.xml",
                             {"N", "COB-ID", "Dimension", "Mnemonic"}, {"cobid", "dimension", "Mnemonic"});
    attachMapping(rpdo, files.sdoPdo, "nrpdo",
                  [](const pugi::xml_node& row) { return mappingText(row, "index", "poscomp"); });
    tables.push_back(std::move(rpdo));

    if (ethernet) {
        ReportTable tpdo =
            readTable(files.transmitPdo, "Transmit PDOs", "Transmit_Pdo.xml",
                      {"N", "COB-ID", "Dimension", "On Change", "On Timer", "Timer (ms)", "Mnemonic"},
                      {"COB-ID", "Dimension", "OnChange", "OnTimer", "Timer", "Mnemonic"});
        attachMapping(tpdo, files.transmitPdoDefine, "NrPdo", [](const pugi::xml_node& row) {
            const bool sendOnWrite = textToInt(row.attribute("Send_on_Write").value(), 0) == 1;
            return mappingText(row, "Index", "PosComp") + (sendOnWrite ? ", sent on write" : "");
        });
        tables.push_back(std::move(tpdo));
    } else {
        tables.push_back(readTable(files.transmitPdo, "Transmit PDOs", "Transmit_Pdo.xml",
                                   {"N", "COB-ID", "Dimension", "Address Start", "Mnemonic"},
                                   {"COB-ID", "Dimension", "SMA", "Mnemonic"}));
    }

    ReportTable emcy = readTable(files.emcyDef, "Emergencies", "emcydef.xml",
                                 {"N", "Device ID", "Error Code", "Error Register", "Mnemonic"},
                                 {"ID_EMCY", "EMCY_Error_Code", "Error_Register", "Mnemonic"});
    emcy.hasMapping = true;
    pugi::xml_document words;
    forEachElement(loadXmlRoot(files.emcyWord, words), [&](const pugi::xml_node& message, std::size_t i) {
        if (i >= emcy.rows.size())
            return;
        forEachElement(message, [&](const pugi::xml_node& word, std::size_t) {
            emcy.rows[i].mapping.push_back(mappingText(word, "Dati_Word", "Dati_Byte"));
        });
    });
    tables.push_back(std::move(emcy));

    tables.push_back(readTable(files.nodeGuard, "Guarded nodes", "NodeGuard.xml",
                               {"N", "Device ID", "Guard Time (ms)", "Life Time Factor", "Mnemonic"},
                               {"NodeID", "GuardTime", "LifeTimeFactor", "Mnemonic"}));
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

ProjectReport buildProjectReport(const std::string& projectDir, std::time_t when, const UiTexts& texts)
{
    const ProjectFiles files = makeProjectFiles(projectDir);
    const bool ethernet = readDeviceType(files.parGen) != 0;
    ProjectReport report;
    report.projectName = projectNameOf(projectDir);
    report.variant = ethernet ? kDeviceTypeItems[1] : kDeviceTypeItems[0];
    report.toolVersion = std::string(kSoftwareCode) + " " + kSoftwareVersion;
    report.generatedAt = reportTimeText(when);
    report.parameters = parameterWords(loadParGen(files.parGen).values, ethernet);
    report.registers = buildRegisterMap(files);
    report.tables = projectTables(files, ethernet);
    report.problems = findingLines(checkProject(files, texts));
    return report;
}

Result<void> writeProjectReport(const std::string& projectDir, const std::string& outPath,
                                ReportFormat format, std::time_t when, const UiTexts& texts)
{
    if (!isDirectory(projectDir))
        return makeError("not a project directory: " + projectDir, projectDir);
    if (format == ReportFormat::Csv)
        return writeFileAtomic(outPath, renderCsvReport(buildRegisterMap(makeProjectFiles(projectDir))));
    return writeFileAtomic(outPath, renderHtmlReport(buildProjectReport(projectDir, when, texts)));
}

} // namespace setforge
