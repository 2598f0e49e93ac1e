#include "core/image/edswriter.h"

#include <cstdio>

#include "core/base/typedinteger.h"
#include "core/base/xmlfile.h"
#include "core/image/compilestop.h"
#include "core/image/imagetext.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

std::string hex(std::uint32_t value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, static_cast<unsigned>(value));
    return buffer;
}

std::string dec(long long value)
{
    return std::to_string(value);
}

std::string twoDigits(int value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// The EDS text, one line at a time.
class EdsLines {
public:
    void line(std::string_view text = {})
    {
        m_text += text;
        m_text += "\r\n";
    }
    void key(std::string_view name, std::string_view value)
    {
        m_text += name;
        m_text += '=';
        m_text += value;
        m_text += "\r\n";
    }
    // An object of type 0x08 or 0x09: a section with SubNumber, ParameterName, ObjectType.
    void container(const std::string& section, const std::string& subNumber, const std::string& name,
                   const char* objectType)
    {
        line("[" + section + "]");
        key("SubNumber", subNumber);
        key("ParameterName", name);
        key("ObjectType", objectType);
        line();
    }
    // A variable (0x07); an empty defaultValue leaves its line out.
    void variable(const std::string& section, const std::string& name, const char* dataType,
                  const char* access, const std::string& defaultValue, const char* pdoMapping)
    {
        line("[" + section + "]");
        key("ParameterName", name);
        key("ObjectType", "0x07");
        key("DataType", dataType);
        key("AccessType", access);
        if (!defaultValue.empty())
            key("DefaultValue", defaultValue);
        key("PDOMapping", pdoMapping);
        line();
    }
    std::string take() { return std::move(m_text); }
    void reserve(std::size_t n) { m_text.reserve(n); }

private:
    std::string m_text;
};

void readPdoFile(const std::string& path, const char* fileName, const char* cobName, const char* lengthName,
                 std::size_t capacity, const char* what, std::vector<EdsPdo>& out)
{
    pugi::xml_document doc;
    const Result<XmlFile> loaded = loadXmlFile(path, doc);
    if (!loaded)
        throw CompileStopped{loaded.error().text};
    if (*loaded == XmlFile::Missing)
        return;
    const pugi::xml_node root = documentRoot(doc);
    const std::size_t n = countElements(root);
    if (n > capacity)
        throw CompileStopped{"Too many " + std::string(what) + " in " + fileName + ": " + std::to_string(n) +
                             " (at most " + std::to_string(capacity) + ")"};
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) {
        const std::string cobText = row.attribute(cobName).value();
        const Result<std::int32_t> cob = readTypedInteger(cobText);
        if (!cob)
            throw CompileStopped{"Invalid number \"" + cobText + "\" for " + cobName + " in " + fileName};
        const std::string lengthText = row.attribute(lengthName).value();
        const Result<std::int32_t> length = readTypedInteger(lengthText);
        if (!length)
            throw CompileStopped{"Invalid number \"" + lengthText + "\" for " + lengthName + " in " +
                                 fileName};
        // The length is the value's low byte, as the images store it. A PDO carries at most eight
        // data bytes; more would describe objects it cannot map.
        const std::uint8_t lowByte = static_cast<std::uint8_t>(static_cast<std::uint32_t>(*length));
        if (lowByte > 8)
            throw CompileStopped{"Invalid PDO length \"" + lengthText + "\" for " + lengthName + " in " +
                                 fileName + ": a PDO holds 0 to 8 bytes"};
        out.push_back({static_cast<std::uint16_t>(static_cast<std::uint32_t>(*cob)), lowByte});
    });
}

void fixedObjects(EdsLines& eds)
{
    eds.variable("1000", "Device Type", "0x0007", "const", "0x00020191", "0");
    eds.variable("1001", "Error Register", "0x0005", "ro", "0x00", "0");
    eds.variable("1005", "COB-ID SYNC", "0x0007", "rw", "0x80000080", "0");
    eds.variable("1006", "Communication Cycle Period", "0x0007", "rw", "0x00000000", "0");
    eds.variable("1008", "Manufacturer Device Name", "0x0009", "const", "s1", "0");
    eds.variable("1017", "Producer Heartbeat Time", "0x0006", "rw", "0x000003E8", "0");
    eds.container("1018", "5", "Identity Object", "0x09");
    eds.variable("1018sub0", "number of entries", "0x0005", "ro", "0x4", "0");
    eds.variable("1018sub1", "Vendor Id", "0x0007", "ro", "", "0");
    eds.variable("1018sub2", "Product Code", "0x0007", "ro", "", "0");
    eds.variable("1018sub3", "Revision number", "0x0007", "ro", "", "0");
    eds.variable("1018sub4", "Serial number", "0x0007", "ro", "", "0");
    eds.container("1280", "4", "Client SDO Parameter 1", "0x09");
    eds.variable("1280sub0", "Number of Entries", "0x0005", "ro", "0x03", "0");
    eds.variable("1280sub1", "COB-ID Client -> Server", "0x0007", "rw", "", "0");
    eds.variable("1280sub2", "COB-ID Server -> Client", "0x0007", "rw", "", "0");
    eds.variable("1280sub3", "Node ID of the SDO Server", "0x0005", "rw", "", "0");
}

void communicationObjects(EdsLines& eds, const std::vector<EdsPdo>& pdos, std::uint32_t base,
                          const char* title, bool transmit)
{
    for (std::size_t i = 0; i < pdos.size(); ++i) {
        const std::string x = hex(base + static_cast<std::uint32_t>(i), 4);
        eds.container(x, "4", title + dec(static_cast<long long>(i) + 1), "0x09");
        eds.variable(x + "sub0", "Number of Entries", "0x0005", "ro", "0x03", "0");
        const std::string cob = transmit ? "0x4" + hex(pdos[i].cobId, 7) : "0x" + hex(pdos[i].cobId, 8);
        eds.variable(x + "sub1", "COB-ID", "0x0007", "rw", cob, "0");
        eds.variable(x + "sub2", "Transmission Type", "0x0005", "rw", "0xFE", "0");
        eds.variable(x + "sub3", "Inhibit Time", "0x0006", "rw", "0x0", "0");
    }
}

void mappingObjects(EdsLines& eds, const std::vector<EdsPdo>& pdos, std::uint32_t base,
                    std::uint32_t arrayBase, const char* title)
{
    for (std::size_t i = 0; i < pdos.size(); ++i) {
        const std::string y = hex(base + static_cast<std::uint32_t>(i), 4);
        const int d = pdos[i].length;
        eds.container(y, dec(d + 1), title + dec(static_cast<long long>(i) + 1), "0x09");
        eds.variable(y + "sub0", "Number of Entries", "0x0005", "ro", "0x0" + dec(d), "0");
        const std::string array = hex(arrayBase + static_cast<std::uint32_t>(i), 4);
        for (int j = 1; j <= d; ++j)
            eds.variable(y + "sub" + dec(j), "Mapping Entry " + dec(j), "0x0007", "ro",
                         "0x" + array + hex(static_cast<std::uint32_t>(j), 2) + "08", "0");
    }
}

void dataArrays(EdsLines& eds, const std::vector<EdsPdo>& pdos, std::uint32_t base, const char* name,
                const char* countAccess, const char* entryName, const char* entryAccess)
{
    for (std::size_t i = 0; i < pdos.size(); ++i) {
        const std::string z = hex(base + static_cast<std::uint32_t>(i), 4);
        const int d = pdos[i].length;
        eds.container(z, dec(d + 1), name, "0x08");
        eds.variable(z + "sub0", "Number of Entries", "0x0005", countAccess, "0x" + dec(d), "0");
        for (int j = 1; j <= d; ++j)
            eds.variable(z + "sub" + dec(j), entryName, "0x0005", entryAccess, "0x0", "1");
    }
}

} // namespace

EdsClock edsClockAt(std::time_t t)
{
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

std::string edsTime(const EdsClock& clock)
{
    const int hour12 = clock.hour % 12 == 0 ? 12 : clock.hour % 12;
    return twoDigits(hour12) + ":" + twoDigits(clock.minute) + (clock.hour < 12 ? "AM" : "PM");
}

std::string edsDate(const EdsClock& clock)
{
    return twoDigits(clock.month) + "-" + twoDigits(clock.day) + "-" + dec(clock.year);
}

Result<PdoLists> readPdoLists(const ProjectFiles& files)
{
    PdoLists lists;
    try {
        const TableDefinition& receive = pdoReceiveTable();
        const TableDefinition& transmit = pdoTransmitTable();
        readPdoFile(files.rpdoDef, receive.fileName, receive.attributeOf(RpdoColumn::CobId),
                    receive.attributeOf(RpdoColumn::Dimension), kEdsMaxReceivePdos, "receive PDOs",
                    lists.receive);
        readPdoFile(files.transmitPdo, transmit.fileName, transmit.attributeOf(TpdoColumn::CobId),
                    transmit.attributeOf(TpdoColumn::Dimension), kEdsMaxTransmitPdos, "transmit PDOs",
                    lists.transmit);
    } catch (const CompileStopped& stop) {
        return makeError(stop.message);
    }
    return lists;
}

std::string edsText(const PdoLists& lists, const EdsClock& clock)
{
    const std::size_t r = lists.receive.size();
    const std::size_t t = lists.transmit.size();
    EdsLines eds;
    eds.reserve(4096 + 2600 * (r + t));
    const std::string time = edsTime(clock);
    const std::string date = edsDate(clock);
    eds.line("[FileInfo]");
    eds.line("FileName=CANopen_Modbus_Slave.eds");
    eds.line("FileVersion=1");
    eds.line("FileRevision=0");
    eds.line("EDSVersion=4.0");
    eds.line("Description=Converter CANopen / Modbus Slave");
    eds.key("CreationTime", time);
    eds.key("CreationDate", date);
    eds.line("CreatedBy=Telvora");
    eds.key("ModificationTime", time);
    eds.key("ModificationDate", date);
    eds.line("ModifiedBy=Telvora");
    eds.line();
    eds.line("[DeviceInfo]");
    for (const char* text :
         {"VendorName=Telvora",  "VendorNumber=0",      "ProductName=Converter CANopen / Modbus Slave",
          "ProductNumber=917",   "RevisionNumber=0x0",  "OrderCode=0917/1",
          "BaudRate_10=1",       "BaudRate_20=1",       "BaudRate_50=1",
          "BaudRate_125=1",      "BaudRate_250=1",      "BaudRate_500=1",
          "BaudRate_800=0",      "BaudRate_1000=1",     "DynamicChannelsSupported=0",
          "GroupMessaging=0",    "LSS_Supported=0",     "Granularity=0",
          "SimpleBootUpSlave=1", "SimpleBootUpMaster=0"})
        eds.line(text);
    eds.key("NrOfRXPDO", dec(static_cast<long long>(r)));
    eds.key("NrOfTXPDO", dec(static_cast<long long>(t)));
    eds.line();
    eds.line("[Comments]");
    eds.line("Lines=0");
    eds.line();
    eds.line("[DummyUsage]");
    for (int i = 1; i <= 7; ++i)
        eds.line("Dummy000" + dec(i) + "=0");
    eds.line();
    eds.line("[MandatoryObjects]");
    eds.line("SupportedObjects=3");
    eds.line("1=0x1000");
    eds.line("2=0x1001");
    eds.line("3=0x1018");
    eds.line();
    eds.line("[OptionalObjects]");
    eds.key("SupportedObjects", dec(static_cast<long long>(5 + 3 * r + 3 * t)));
    eds.line("1=0x1005");
    eds.line("2=0x1006");
    eds.line("3=0x1008");
    eds.line("4=0x1017");
    eds.line("5=0x1280");
    long long n = 6;
    const auto run = [&](std::size_t count, std::uint32_t base) {
        for (std::size_t i = 0; i < count; ++i)
            eds.key(dec(n++), "0x" + hex(base + static_cast<std::uint32_t>(i), 4));
    };
    run(r, 0x1400);
    run(r, 0x1600);
    run(t, 0x1800);
    run(t, 0x1A00);
    run(r, 0x7000);
    run(t, 0x7050);
    eds.line();
    eds.line("[ManufacturerObjects]");
    eds.line("SupportedObjects=0");
    eds.line();
    fixedObjects(eds);
    communicationObjects(eds, lists.receive, 0x1400, "Receive PDO Communication Parameter ", false);
    mappingObjects(eds, lists.receive, 0x1600, 0x7000, "Receive PDO Mapping Parameter ");
    communicationObjects(eds, lists.transmit, 0x1800, "Transmit PDO Communication Parameter ", true);
    mappingObjects(eds, lists.transmit, 0x1A00, 0x7050, "Transmit PDO Mapping Parameter ");
    dataArrays(eds, lists.receive, 0x7000, "RPDO1", "ro", "b1", "rww");
    dataArrays(eds, lists.transmit, 0x7050, "TPDO1", "rw", "l1", "rwr");
    return eds.take();
}

Result<std::string> buildEds(const ProjectFiles& files, const EdsClock& clock)
{
    const Result<PdoLists> lists = readPdoLists(files);
    if (!lists)
        return lists.error();
    return edsText(*lists, clock);
}

Result<void> writeEdsFile(const ProjectFiles& files, std::string_view path, const EdsClock& clock)
{
    const Result<std::string> eds = buildEds(files, clock);
    if (!eds)
        return eds.error();
    const Result<void> written = writeFileAtomic(path, *eds);
    if (!written)
        return makeError("The EDS file could not be written: " + written.error().text);
    return {};
}

} // namespace setforge
