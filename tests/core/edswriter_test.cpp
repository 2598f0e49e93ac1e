#include <gtest/gtest.h>

#include "core/image/edswriter.h"
#include "imagetestproject.h"

namespace setforge {

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            result.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        result.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return result;
}

// The lines of section `name` after its "[name]" line, up to the empty line that ends it.
std::vector<std::string> section(const std::string& text, const std::string& name)
{
    const std::vector<std::string> all = lines(text);
    std::vector<std::string> result;
    bool inside = false;
    for (const std::string& line : all) {
        if (inside) {
            if (line.empty())
                break;
            result.push_back(line);
        } else if (line == "[" + name + "]") {
            inside = true;
        }
    }
    return result;
}

const EdsClock kClock{2024, 3, 9, 15, 7};

std::string edsOf(const TempProject& project, const EdsClock& clock = kClock)
{
    const Result<std::string> result = buildEds(project.files(), clock);
    EXPECT_TRUE(result) << result.error().text;
    return result ? *result : std::string();
}

TEST(EdsWriter, ProjectWithoutPdosLineByLine)
{
    TempProject project;
    const std::vector<std::string> expected = {"[FileInfo]",
                                               "FileName=CANopen_Modbus_Slave.eds",
                                               "FileVersion=1",
                                               "FileRevision=0",
                                               "EDSVersion=4.0",
                                               "Description=Converter CANopen / Modbus Slave",
                                               "CreationTime=03:07PM",
                                               "CreationDate=03-09-2024",
                                               "CreatedBy=Telvora",
                                               "ModificationTime=03:07PM",
                                               "ModificationDate=03-09-2024",
                                               "ModifiedBy=Telvora",
                                               "",
                                               "[DeviceInfo]",
                                               "VendorName=Telvora",
                                               "VendorNumber=0",
                                               "ProductName=Converter CANopen / Modbus Slave",
                                               "ProductNumber=917",
                                               "RevisionNumber=0x0",
                                               "OrderCode=0917/1",
                                               "BaudRate_10=1",
                                               "BaudRate_20=1",
                                               "BaudRate_50=1",
                                               "BaudRate_125=1",
                                               "BaudRate_250=1",
                                               "BaudRate_500=1",
                                               "BaudRate_800=0",
                                               "BaudRate_1000=1",
                                               "DynamicChannelsSupported=0",
                                               "GroupMessaging=0",
                                               "LSS_Supported=0",
                                               "Granularity=0",
                                               "SimpleBootUpSlave=1",
                                               "SimpleBootUpMaster=0",
                                               "NrOfRXPDO=0",
                                               "NrOfTXPDO=0",
                                               "",
                                               "[Comments]",
                                               "Lines=0",
                                               "",
                                               "[DummyUsage]",
                                               "Dummy0001=0",
                                               "Dummy0002=0",
                                               "Dummy0003=0",
                                               "Dummy0004=0",
                                               "Dummy0005=0",
                                               "Dummy0006=0",
                                               "Dummy0007=0",
                                               "",
                                               "[MandatoryObjects]",
                                               "SupportedObjects=3",
                                               "1=0x1000",
                                               "2=0x1001",
                                               "3=0x1018",
                                               "",
                                               "[OptionalObjects]",
                                               "SupportedObjects=5",
                                               "1=0x1005",
                                               "2=0x1006",
                                               "3=0x1008",
                                               "4=0x1017",
                                               "5=0x1280",
                                               "",
                                               "[ManufacturerObjects]",
                                               "SupportedObjects=0",
                                               "",
                                               "[1000]",
                                               "ParameterName=Device Type",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=const",
                                               "DefaultValue=0x00020191",
                                               "PDOMapping=0",
                                               "",
                                               "[1001]",
                                               "ParameterName=Error Register",
                                               "ObjectType=0x07",
                                               "DataType=0x0005",
                                               "AccessType=ro",
                                               "DefaultValue=0x00",
                                               "PDOMapping=0",
                                               "",
                                               "[1005]",
                                               "ParameterName=COB-ID SYNC",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=rw",
                                               "DefaultValue=0x80000080",
                                               "PDOMapping=0",
                                               "",
                                               "[1006]",
                                               "ParameterName=Communication Cycle Period",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=rw",
                                               "DefaultValue=0x00000000",
                                               "PDOMapping=0",
                                               "",
                                               "[1008]",
                                               "ParameterName=Manufacturer Device Name",
                                               "ObjectType=0x07",
                                               "DataType=0x0009",
                                               "AccessType=const",
                                               "DefaultValue=s1",
                                               "PDOMapping=0",
                                               "",
                                               "[1017]",
                                               "ParameterName=Producer Heartbeat Time",
                                               "ObjectType=0x07",
                                               "DataType=0x0006",
                                               "AccessType=rw",
                                               "DefaultValue=0x000003E8",
                                               "PDOMapping=0",
                                               "",
                                               "[1018]",
                                               "SubNumber=5",
                                               "ParameterName=Identity Object",
                                               "ObjectType=0x09",
                                               "",
                                               "[1018sub0]",
                                               "ParameterName=number of entries",
                                               "ObjectType=0x07",
                                               "DataType=0x0005",
                                               "AccessType=ro",
                                               "DefaultValue=0x4",
                                               "PDOMapping=0",
                                               "",
                                               "[1018sub1]",
                                               "ParameterName=Vendor Id",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=ro",
                                               "PDOMapping=0",
                                               "",
                                               "[1018sub2]",
                                               "ParameterName=Product Code",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=ro",
                                               "PDOMapping=0",
                                               "",
                                               "[1018sub3]",
                                               "ParameterName=Revision number",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=ro",
                                               "PDOMapping=0",
                                               "",
                                               "[1018sub4]",
                                               "ParameterName=Serial number",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=ro",
                                               "PDOMapping=0",
                                               "",
                                               "[1280]",
                                               "SubNumber=4",
                                               "ParameterName=Client SDO Parameter 1",
                                               "ObjectType=0x09",
                                               "",
                                               "[1280sub0]",
                                               "ParameterName=Number of Entries",
                                               "ObjectType=0x07",
                                               "DataType=0x0005",
                                               "AccessType=ro",
                                               "DefaultValue=0x03",
                                               "PDOMapping=0",
                                               "",
                                               "[1280sub1]",
                                               "ParameterName=COB-ID Client -> Server",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=rw",
                                               "PDOMapping=0",
                                               "",
                                               "[1280sub2]",
                                               "ParameterName=COB-ID Server -> Client",
                                               "ObjectType=0x07",
                                               "DataType=0x0007",
                                               "AccessType=rw",
                                               "PDOMapping=0",
                                               "",
                                               "[1280sub3]",
                                               "ParameterName=Node ID of the SDO Server",
                                               "ObjectType=0x07",
                                               "DataType=0x0005",
                                               "AccessType=rw",
                                               "PDOMapping=0",
                                               ""};
    const std::string text = edsOf(project);
    EXPECT_EQ(lines(text), expected);
    EXPECT_EQ(text.substr(text.size() - 5), "0\r\n\r\n") << "the last line ends with CR LF too";
}

TEST(EdsWriter, OneReceivePdo)
{
    TempProject project;
    project.table("rpdodef.xml", "rpdodef",
                  "<row cobid=\"0x181\" id_dev_orig=\"1\" dimension=\"8\" posind=\"0\"/>");
    const std::string text = edsOf(project);
    EXPECT_EQ(section(text, "OptionalObjects"),
              (std::vector<std::string>{"SupportedObjects=8", "1=0x1005", "2=0x1006", "3=0x1008", "4=0x1017",
                                        "5=0x1280", "6=0x1400", "7=0x1600", "8=0x7000"}));
    EXPECT_EQ(section(text, "1400"),
              (std::vector<std::string>{"SubNumber=4", "ParameterName=Receive PDO Communication Parameter 1",
                                        "ObjectType=0x09"}));
    EXPECT_EQ(section(text, "1400sub1"),
              (std::vector<std::string>{"ParameterName=COB-ID", "ObjectType=0x07", "DataType=0x0007",
                                        "AccessType=rw", "DefaultValue=0x00000181", "PDOMapping=0"}));
    EXPECT_EQ(section(text, "1400sub2")[4], "DefaultValue=0xFE");
    EXPECT_EQ(section(text, "1400sub3")[2], "DataType=0x0006");
    EXPECT_EQ(section(text, "1600")[0], "SubNumber=9");
    EXPECT_EQ(section(text, "1600sub0")[4], "DefaultValue=0x08");
    EXPECT_EQ(section(text, "1600sub1"),
              (std::vector<std::string>{"ParameterName=Mapping Entry 1", "ObjectType=0x07", "DataType=0x0007",
                                        "AccessType=ro", "DefaultValue=0x70000108", "PDOMapping=0"}));
    EXPECT_EQ(section(text, "1600sub8")[4], "DefaultValue=0x70000808");
    EXPECT_EQ(section(text, "7000"),
              (std::vector<std::string>{"SubNumber=9", "ParameterName=RPDO1", "ObjectType=0x08"}));
    EXPECT_EQ(
        section(text, "7000sub0"),
        (std::vector<std::string>{"ParameterName=Number of Entries", "ObjectType=0x07", "DataType=0x0005",
                                  "AccessType=ro", "DefaultValue=0x8", "PDOMapping=0"}));
    EXPECT_EQ(section(text, "7000sub8"),
              (std::vector<std::string>{"ParameterName=b1", "ObjectType=0x07", "DataType=0x0005",
                                        "AccessType=rww", "DefaultValue=0x0", "PDOMapping=1"}));
    EXPECT_TRUE(section(text, "7000sub9").empty());
    EXPECT_TRUE(section(text, "1800").empty());
}

TEST(EdsWriter, OneTransmitPdo)
{
    TempProject project;
    project.table("Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x281\" Dimension=\"2\" SMA=\"0\"/>");
    const std::string text = edsOf(project);
    EXPECT_EQ(section(text, "DeviceInfo")[21], "NrOfTXPDO=1");
    EXPECT_EQ(section(text, "1800")[1], "ParameterName=Transmit PDO Communication Parameter 1");
    EXPECT_EQ(section(text, "1800sub1")[4], "DefaultValue=0x40000281");
    EXPECT_EQ(section(text, "1A00"),
              (std::vector<std::string>{"SubNumber=3", "ParameterName=Transmit PDO Mapping Parameter 1",
                                        "ObjectType=0x09"}));
    EXPECT_EQ(section(text, "1A00sub0")[4], "DefaultValue=0x02");
    EXPECT_EQ(section(text, "1A00sub1")[4], "DefaultValue=0x70500108");
    EXPECT_EQ(section(text, "1A00sub2")[4], "DefaultValue=0x70500208");
    EXPECT_EQ(section(text, "7050")[1], "ParameterName=TPDO1");
    EXPECT_EQ(section(text, "7050sub0")[3], "AccessType=rw");
    EXPECT_EQ(section(text, "7050sub0")[4], "DefaultValue=0x2");
    EXPECT_EQ(section(text, "7050sub1")[0], "ParameterName=l1");
    EXPECT_EQ(section(text, "7050sub1")[3], "AccessType=rwr");
    EXPECT_EQ(section(text, "7050sub2")[3], "AccessType=rwr");
}

TEST(EdsWriter, ObjectNumbersAreUpperCaseHex)
{
    TempProject project;
    std::string rows;
    for (int i = 0; i < 11; ++i)
        rows += "<row cobid=\"" + std::to_string(0x181 + i) + "\" dimension=\"1\"/>";
    project.table("rpdodef.xml", "rpdodef", rows);
    const std::string text = edsOf(project);
    for (const char* name : {"1409", "1609", "7009", "140A", "160A", "700A"})
        EXPECT_FALSE(section(text, name).empty()) << name;
    EXPECT_TRUE(section(text, "140a").empty());
    const std::vector<std::string> optional = section(text, "OptionalObjects");
    EXPECT_EQ(optional[0], "SupportedObjects=38");
    EXPECT_EQ(optional[16], "16=0x140A");
}

// A 12-hour clock: midnight and noon are 12, the afternoon counts from 1.
TEST(EdsWriter, TimeAndDate)
{
    const struct {
        int hour;
        int minute;
        const char* expected;
    } cases[] = {{0, 5, "12:05AM"},   {0, 0, "12:00AM"},  {9, 41, "09:41AM"},
                 {11, 59, "11:59AM"}, {12, 0, "12:00PM"}, {12, 30, "12:30PM"},
                 {13, 0, "01:00PM"},  {15, 7, "03:07PM"}, {23, 59, "11:59PM"}};
    for (const auto& c : cases)
        EXPECT_EQ(edsTime({2024, 3, 9, c.hour, c.minute}), c.expected) << c.hour << ":" << c.minute;
    EXPECT_EQ(edsDate({2024, 3, 9, 0, 0}), "03-09-2024");
    EXPECT_EQ(edsDate({2025, 12, 31, 0, 0}), "12-31-2025");
}

TEST(EdsWriter, BadPdoValuesStopWithoutWriting)
{
    const struct {
        const char* file;
        const char* root;
        const char* row;
        const char* message;
    } cases[] = {
        {"rpdodef.xml", "rpdodef", "<row cobid=\"abc\" dimension=\"8\"/>",
         "Invalid number \"abc\" for cobid in rpdodef.xml"},
        {"rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"\"/>",
         "Invalid number \"\" for dimension in rpdodef.xml"},
        {"rpdodef.xml", "rpdodef", "<row cobid=\"0x181\"/>",
         "Invalid number \"\" for dimension in rpdodef.xml"},
        // Nine mapping entries would point past the eight bytes of a PDO.
        {"rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"9\"/>",
         "Invalid PDO length \"9\" for dimension in rpdodef.xml: a PDO holds 0 to 8 bytes"},
        // The length is the low byte of the value: 265 is 9, -1 is 255.
        {"Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x281\" Dimension=\"265\"/>",
         "Invalid PDO length \"265\" for Dimension in Transmit_Pdo.xml: a PDO holds 0 to 8 bytes"},
        {"rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"-1\"/>",
         "Invalid PDO length \"-1\" for dimension in rpdodef.xml: a PDO holds 0 to 8 bytes"},
        {"Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x281 \" Dimension=\"2\"/>",
         "Invalid number \"0x281 \" for COB-ID in Transmit_Pdo.xml"},
    };
    for (const auto& c : cases) {
        TempProject project;
        project.table(c.file, c.root, c.row);
        const std::string out = joinPath(project.base(), "out.eds");
        const Result<void> result = writeEdsFile(project.files(), out, kClock);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error().text, c.message);
        EXPECT_FALSE(pathExists(out));
    }
}

// A COB-ID is the low 16 bits of its value and a length the low 8 bits, as the images store them.
TEST(EdsWriter, PdoValuesTakeTheirLowBits)
{
    const struct {
        const char* file;
        const char* root;
        const char* row;
        const char* object;    // communication parameter object
        const char* cobIdLine; // its sub-index 1
        const char* mapping;   // mapping parameter object
        const char* subNumber; // of the mapping object
        const char* countLine; // its sub-index 0
    } cases[] = {
        {"rpdodef.xml", "rpdodef", "<row cobid=\"0x10181\" dimension=\"264\"/>", "1400",
         "DefaultValue=0x00000181", "1600", "SubNumber=9", "DefaultValue=0x08"},
        {"rpdodef.xml", "rpdodef", "<row cobid=\"-1\" dimension=\"256\"/>", "1400", "DefaultValue=0x0000FFFF",
         "1600", "SubNumber=1", "DefaultValue=0x00"},
        {"Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x1FFFF\" Dimension=\"0x102\"/>", "1800",
         "DefaultValue=0x4000FFFF", "1A00", "SubNumber=3", "DefaultValue=0x02"},
    };
    for (const auto& c : cases) {
        TempProject project;
        project.table(c.file, c.root, c.row);
        const std::string text = edsOf(project);
        const std::vector<std::string> cobId = section(text, std::string(c.object) + "sub1");
        ASSERT_EQ(cobId.size(), 6u) << c.row;
        EXPECT_EQ(cobId[4], c.cobIdLine) << c.row;
        const std::vector<std::string> mapping = section(text, c.mapping);
        ASSERT_FALSE(mapping.empty()) << c.row;
        EXPECT_EQ(mapping[0], c.subNumber) << c.row;
        const std::vector<std::string> count = section(text, std::string(c.mapping) + "sub0");
        ASSERT_EQ(count.size(), 6u) << c.row;
        EXPECT_EQ(count[4], c.countLine) << c.row;
    }
}

TEST(EdsWriter, TooManyPdosAreRefused)
{
    TempProject project;
    std::string rows;
    for (int i = 0; i < 33; ++i)
        rows += "<row COB-ID=\"0x281\" Dimension=\"8\"/>";
    project.table("Transmit_Pdo.xml", "Trasmit_PDO", rows);
    const Result<std::string> result = buildEds(project.files(), kClock);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().text, "Too many transmit PDOs in Transmit_Pdo.xml: 33 (at most 32)");
}

TEST(EdsWriter, ReplacesAnExistingFileAndReportsAnUnwritableOne)
{
    TempProject project;
    const std::string out = joinPath(project.base(), "device.eds");
    ASSERT_TRUE(writeFileAtomic(out, "old content"));
    ASSERT_TRUE(writeEdsFile(project.files(), out, kClock));
    const std::vector<std::uint8_t> written = fileBytes(out);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written[0], '[') << "no byte-order mark";

    const std::string directory = joinPath(project.base(), "taken.eds");
    std::filesystem::create_directories(pathFromUtf8(directory));
    const Result<void> failed = writeEdsFile(project.files(), directory, kClock);
    EXPECT_FALSE(failed);
    EXPECT_NE(failed.error().text.find(directory), std::string::npos) << failed.error().text;
}

} // namespace

} // namespace setforge
