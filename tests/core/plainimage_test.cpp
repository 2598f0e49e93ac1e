#include <gtest/gtest.h>

#include "core/image/compileimages.h"
#include "core/image/imagetext.h"
#include "imagetestproject.h"

namespace setforge {

namespace {

using Bytes = std::vector<std::uint8_t>;

struct CompileRun {
    CompiledImages images;
    std::vector<std::string> messages;
};

CompileRun compile(const TempProject& project)
{
    CompileRun run;
    run.images =
        compileImages(project.files(), [&run](const CompileMessage& m) { run.messages.push_back(m.text); });
    return run;
}

// The section bytes between two header offsets.
Bytes section(const Bytes& image, std::size_t headerField)
{
    const auto offset = [&image](std::size_t field) {
        return static_cast<std::size_t>(image[4 * field] | image[4 * field + 1] << 8 |
                                        image[4 * field + 2] << 16 | image[4 * field + 3] << 24);
    };
    const std::size_t begin = offset(headerField);
    const std::size_t end = headerField == 7 ? image.size() : offset(headerField + 1);
    return {image.begin() + static_cast<std::ptrdiff_t>(begin),
            image.begin() + static_cast<std::ptrdiff_t>(end)};
}

struct WordCase {
    const char* text;
    std::uint16_t expected;
    bool message;
};

// Empty texts are silent; a text that trims to nothing is an error. Both give all bits set.
const WordCase kWordCases[] = {
    {"", 0xFFFF, false},   {"0x181", 0x181, false}, {" 385 ", 385, false}, {"\t5\r\n", 5, false},
    {"   ", 0xFFFF, true}, {"abc", 0xFFFF, true},   {"5 x", 0xFFFF, true}, {"0x12345", 0x2345, false},
    {"-1", 0xFFFF, false}, {"$FF", 0xFF, false},    {"65536", 0, false},   {"1e2", 0xFFFF, true},
};

TEST(TextToWord, TableOfCases)
{
    for (const WordCase& c : kWordCases) {
        std::vector<CompileMessage> messages;
        const std::uint16_t value =
            textToWord(c.text, [&messages](const CompileMessage& m) { messages.push_back(m); });
        EXPECT_EQ(value, c.expected) << '"' << c.text << '"';
        ASSERT_EQ(messages.size(), c.message ? 1u : 0u) << '"' << c.text << '"';
        if (c.message) {
            EXPECT_EQ(messages[0].text, "Error in conversion string");
        }
    }
}

TEST(PlainImage, EmptyProjectIsThe32ByteHeaderAndAnnouncesEveryMissingFile)
{
    TempProject project;
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    // Every section is empty, so all eight offsets are 32.
    Bytes expected;
    for (int i = 0; i < 8; ++i)
        expected.insert(expected.end(), {0x20, 0x00, 0x00, 0x00});
    EXPECT_EQ(run.images.plain.bytes, expected);
    const std::vector<std::string> order = {
        "File EMCY xml not found",      "File definition RPDO xml not found",
        "File RPDO xml not found",      "File Transmit PDO xml not found",
        "File NodeGuard xml not found", "File Parametres xml not found"};
    EXPECT_EQ(run.messages, order);
}

// The plain image is big-endian where the banked image is little-endian: one SDO row, both ways.
TEST(PlainImage, SdoRecordIsBigEndianWhereTheBankIsLittleEndian)
{
    TempProject project;
    project.table(
        "sdo.xml", "sdo",
        "<row conf=\"65\" IndexA=\"100\" SubindexA=\"0\" devIDB=\"5\" IndexB=\"0x6041\" SubindexB=\"0\" "
        "nbyteB=\"2\" mnemonico=\"\"/>");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    EXPECT_EQ(section(run.images.plain.bytes, 0), (Bytes{0x41, 0x00, 0x64, 0x05, 0x60, 0x41, 0x00, 0x02}));
    const auto& bank = run.images.banked.tables.bytes();
    EXPECT_EQ(Bytes(bank.begin(), bank.begin() + 8), (Bytes{0x64, 0x00, 0x41, 0x05, 0x41, 0x60, 0x00, 0x02}));
}

TEST(PlainImage, EmptyConfEndsTheSdoSection)
{
    TempProject project;
    project.table("sdo.xml", "sdo",
                  "<row conf=\"0\" IndexA=\"1\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>"
                  "<row IndexA=\"2\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>"
                  "<row conf=\"\" IndexA=\"3\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>"
                  "<row conf=\"0\" IndexA=\"4\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>");
    project.write("ParGen.xml", "<Par_Gen/>");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    // A row without conf does not end the section; its conf reads as empty text: 0xFF.
    EXPECT_EQ(section(run.images.plain.bytes, 0), (Bytes{0x00, 0x00, 0x01, 0x01, 0x10, 0x00, 0x00, 0x01, 0xFF,
                                                         0x00, 0x02, 0x01, 0x10, 0x00, 0x00, 0x01}));
    EXPECT_EQ(run.images.plain.counts[0], 2u);
    const Bytes parameters = section(run.images.plain.bytes, 7);
    ASSERT_EQ(parameters.size(), 40u);
    EXPECT_EQ(parameters[21], 2);
    EXPECT_EQ(parameters[22], 0);
}

TEST(PlainImage, RpdoCobIdReadings)
{
    TempProject project;
    project.table("rpdodef.xml", "rpdodef",
                  "<row cobid=\"0x181\" dimension=\"8\"/><row cobid=\"abc\" dimension=\"8\"/>"
                  "<row cobid=\" 385 \" dimension=\"8\"/><row cobid=\"  \" dimension=\"8\"/>");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    EXPECT_EQ(section(run.images.plain.bytes, 3),
              (Bytes{0x01, 0x81, 0x08, 0xFF, 0xFF, 0x08, 0x01, 0x81, 0x08, 0xFF, 0xFF, 0x08}));
    // Two conversion errors, where the compile reached them: after the EMCY notice.
    ASSERT_GE(run.messages.size(), 3u);
    EXPECT_EQ(run.messages[0], "File EMCY xml not found");
    EXPECT_EQ(run.messages[1], "Error in conversion string");
    EXPECT_EQ(run.messages[2], "Error in conversion string");
    EXPECT_EQ(run.messages[3], "File RPDO xml not found");
}

TEST(PlainImage, RecordsOfTheOtherSections)
{
    TempProject project;
    project.table("rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"8\"/>");
    project.table("sdopdo.xml", "sdopdo", "<row index=\"300\" subindex=\"0\" nrpdo=\"7\" poscomp=\"33\"/>");
    project.table("Transmit_Pdo.xml", "Trasmit_PDO",
                  "<row COB-ID=\"0x281\" Dimension=\"3\" SMA=\"0x1234\"/>");
    project.table("NodeGuard.xml", "Node_Guarding",
                  "<row NodeID=\"2\" GuardTime=\"1000\" LifeTimeFactor=\"3\"/>");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    // nrpdo is kept as written, even when it names no PDO.
    EXPECT_EQ(section(run.images.plain.bytes, 4), (Bytes{0x01, 0x2C, 0x07, 0x21}));
    EXPECT_EQ(section(run.images.plain.bytes, 5), (Bytes{0x02, 0x81, 0x03, 0x12, 0x34}));
    EXPECT_EQ(section(run.images.plain.bytes, 6), (Bytes{0x02, 0x03, 0xE8, 0x03}));
}

// The whole parameter section of a typical file, byte by byte: big-endian values, the seven
// counts little-endian, flags by their own rules.
TEST(PlainImage, ParameterSectionGolden)
{
    TempProject project;
    std::string sdoRows;
    for (int i = 0; i < 3; ++i)
        sdoRows += "<row conf=\"0\" IndexA=\"" + std::to_string(i) +
                   "\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>";
    project.table("sdo.xml", "sdo", sdoRows);
    project.write(
        "ParGen.xml",
        "<Par_Gen><Select_Device_Type>1</Select_Device_Type><CAN_id>1</CAN_id><CAN_Baud>125</CAN_Baud>"
        "<operational_at_start start=\"TRUE\"/><network_start start=\"false\"/>"
        "<delay_network_start delay=\"5\"/><network_start_modbus start=\"TRUE\"/>"
        "<network_start_modbus address=\"40\"/><CAN_timeoutsdo>10000</CAN_timeoutsdo>"
        "<sync_producer enable_sync=\"true\" sync_time=\"20\"/>"
        "<send_frame_nodeguard enable=\"true\" add_word_1=\"12\" add_word_2=\"13\"/>"
        "<M_ser>1</M_ser><M_baud>7</M_baud><M_parity>1</M_parity><M_devid>3</M_devid>"
        "<Ser_Prot>2</Ser_Prot></Par_Gen><!--SW_VERSION = 2.001-->");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    const Bytes expected = {0x01, 0x00, 0x7D, 0x27, 0x10, 0x07, 0x01, 0x00, 0x03, 0x01,
                            0x00, 0x00, 0x00, 0x28, 0x05, 0x01, 0x00, 0x0C, 0x00, 0x0D,
                            0x02, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x14};
    EXPECT_EQ(section(run.images.plain.bytes, 7), expected);
    EXPECT_EQ(run.images.deviceType, 1);
}

TEST(PlainImage, ParameterSectionDefaultsForMissingElements)
{
    TempProject project;
    // One network_start_modbus followed by CAN_timeoutsdo: the register reads as empty text.
    project.write(
        "ParGen.xml",
        "<Par_Gen><CAN_id>1</CAN_id><CAN_Baud>1000</CAN_Baud><network_start_modbus start=\"true\"/>"
        "<CAN_timeoutsdo>100</CAN_timeoutsdo><M_ser></M_ser><M_baud>0</M_baud><M_parity>0</M_parity>"
        "<M_devid>1</M_devid></Par_Gen>");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    for (const std::string& m : run.messages)
        EXPECT_NE(m, "Error in conversion string");
    const Bytes p = section(run.images.plain.bytes, 7);
    ASSERT_EQ(p.size(), 40u);
    EXPECT_EQ(p[7], 1) << "empty M_ser is not RS485";
    EXPECT_EQ(p[11], 1);
    EXPECT_EQ(p[12], 0xFF);
    EXPECT_EQ(p[13], 0xFF);
    EXPECT_EQ(p[14], 0) << "no delay element";
    EXPECT_EQ(p[16], 0) << "no node guarding element";
    EXPECT_EQ(p[19], 0);
    EXPECT_EQ(p[20], 0) << "no Ser_Prot";
    EXPECT_EQ(Bytes(p.begin() + 35, p.end()), (Bytes{0x00, 0x00, 0x00, 0x03, 0xE8}))
        << "no sync_producer: 1000 ms";
}

TEST(PlainImage, ImageLongerThanTheDeviceBufferIsRefused)
{
    TempProject project;
    std::string rows;
    for (int i = 0; i < 25000; ++i)
        rows += "<row index=\"1\" nrpdo=\"1\" poscomp=\"1\"/>";
    project.table("sdopdo.xml", "sdopdo", rows);
    std::vector<std::string> messages;
    EXPECT_FALSE(compileAndWriteImages(project.dir(),
                                       [&messages](const CompileMessage& m) { messages.push_back(m.text); }));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "The configuration image bank.bin is too long: 100032 bytes (at most 100001)");
    EXPECT_FALSE(pathExists(joinPath(joinPath(project.dir(), "bin"), "bank.bin")));
}

TEST(PlainImage, MalformedFileStopsWithTheParserTextAndWritesNothing)
{
    TempProject project;
    ASSERT_TRUE(compileAndWriteImages(project.dir(), nullptr));
    const std::string bin = joinPath(project.dir(), "bin");
    const Bytes before = fileBytes(joinPath(bin, "bank.bin"));
    project.write("NodeGuard.xml", "<Node_Guarding><row NodeID=\"2\"></Node_Guarding>");
    project.table("sdo.xml", "sdo",
                  "<row conf=\"0\" IndexA=\"1\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>");
    std::vector<CompileMessage> messages;
    EXPECT_FALSE(compileAndWriteImages(project.dir(),
                                       [&messages](const CompileMessage& m) { messages.push_back(m); }));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().kind, CompileMessage::Kind::Error);
    EXPECT_NE(messages.back().text.find("NodeGuard.xml"), std::string::npos) << messages.back().text;
    // The messages before the bad file still came, in order.
    EXPECT_EQ(messages.front().text, "File EMCY xml not found");
    EXPECT_EQ(fileBytes(joinPath(bin, "bank.bin")), before);
}

TEST(PlainImage, UnwritableImageIsReportedWithItsPath)
{
    TempProject project;
    const std::string bin = joinPath(project.dir(), "bin");
    std::filesystem::create_directories(pathFromUtf8(joinPath(bin, "bank1_ESP32.bin")));
    std::vector<std::string> messages;
    EXPECT_FALSE(compileAndWriteImages(project.dir(),
                                       [&messages](const CompileMessage& m) { messages.push_back(m.text); }));
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find(joinPath(bin, "bank1_ESP32.bin")), std::string::npos) << messages.back();
}

} // namespace

} // namespace setforge
