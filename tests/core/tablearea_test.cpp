#include <gtest/gtest.h>

#include <optional>

#include "core/image/compileimages.h"
#include "imagetestproject.h"
#include "maximalproject.h"

namespace setforge {

namespace {

// The bytes of entry `n` of `table` in the compiled second bank.
std::vector<std::uint8_t> entry(const CompiledImages& images, BankTable table, std::size_t n)
{
    const TableLayout& layout = tableLayout(table);
    const auto& bytes = images.banked.tables.bytes();
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(layout.offset + n * layout.entry.size);
    return {begin, begin + static_cast<std::ptrdiff_t>(layout.entry.size)};
}

CompiledImages compile(const TempProject& project, std::vector<std::string>* messages = nullptr)
{
    return compileImages(project.files(), [messages](const CompileMessage& m) {
        if (messages)
            messages->push_back(m.text);
    });
}

using Bytes = std::vector<std::uint8_t>;

TEST(TableArea, OnlyParGenLeavesEveryTableEmpty)
{
    TempProject project;
    project.write("ParGen.xml", "<Par_Gen><CAN_id>3</CAN_id></Par_Gen>");
    const CompiledImages images = compile(project);
    ASSERT_TRUE(images.ok);
    for (const TableLayout& layout : tableLayouts())
        EXPECT_EQ(images.banked.tables.count(layout.table), 0u) << layout.name;
    EXPECT_EQ(Bytes(images.banked.tables.bytes().begin(), images.banked.tables.bytes().end()),
              Bytes(30720, 0));
}

// Golden entries, little-endian as the device reads them.
TEST(TableArea, EntriesAreLittleEndianRecords)
{
    TempProject project;
    project.table(
        "sdo.xml", "sdo",
        "<row conf=\"65\" IndexA=\"100\" SubindexA=\"0\" devIDB=\"5\" IndexB=\"0x6041\" SubindexB=\"0\" "
        "nbyteB=\"2\" mnemonico=\"\"/>"
        "<row conf=\"148\" IndexA=\"0x1234\" devIDB=\"127\" IndexB=\"abc\" SubindexB=\"255\" nbyteB=\"4\"/>");
    project.table(
        "rpdodef.xml", "rpdodef",
        "<row cobid=\"0x181\" dimension=\"2\" TimeOut=\"100000000\"/><row cobid=\"\" dimension=\"\"/>");
    project.table(
        "sdopdo.xml", "sdopdo",
        "<row index=\"200\" nrpdo=\"2\" poscomp=\"35\"/><row index=\"201\" nrpdo=\"3\" poscomp=\"1\"/>"
        "<row index=\"202\" nrpdo=\"x\" poscomp=\"1\"/><row index=\"203\" nrpdo=\"1\" poscomp=\"0\"/>");
    project.table("Transmit_Pdo.xml", "Trasmit_PDO",
                  "<row COB-ID=\"0x281\" Dimension=\"4\" OnChange=\"Y\" OnTimer=\"y\" Timer=\"500\"/>"
                  "<row COB-ID=\"0x282\" Dimension=\"8\" OnChange=\"N\" OnTimer=\"N\" Timer=\"500\"/>");
    project.table("Transmit_PDO_Define.xml", "Transmit_PDO_Define",
                  "<row Index=\"300\" NrPdo=\"2\" PosComp=\"18\" Send_on_Write=\"1\"/>");
    project.table("NodeGuard.xml", "Node_Guarding",
                  "<row NodeID=\"2\" GuardTime=\"1000\" LifeTimeFactor=\"3\"/>");
    project.table("emcydef.xml", "EMCY",
                  "<row ID_EMCY=\"5\" EMCY_Error_Code=\"0x8130\" Error_Register=\"0x11\"/>");
    project.table("emcyword.xml", "EMCY_Word",
                  "<EMCY_ROW><Dati Dati_Word=\"400\" Dati_Byte=\"84\"/></EMCY_ROW>");
    const CompiledImages images = compile(project);
    ASSERT_TRUE(images.ok);

    EXPECT_EQ(entry(images, BankTable::Sdo, 0), (Bytes{0x64, 0x00, 0x41, 0x05, 0x41, 0x60, 0x00, 0x02}));
    // An index that is not a number reads 0.
    EXPECT_EQ(entry(images, BankTable::Sdo, 1), (Bytes{0x34, 0x12, 0x94, 0x7F, 0x00, 0x00, 0xFF, 0x04}));
    // 100,000,000 ms fills all four timeout bytes.
    EXPECT_EQ(entry(images, BankTable::Rpdo, 0), (Bytes{0x00, 0xE1, 0xF5, 0x05, 0x81, 0x01, 0x02, 0x00}));
    // Empty cobid and dimension take 385 and 8.
    EXPECT_EQ(entry(images, BankTable::Rpdo, 1), (Bytes{0, 0, 0, 0, 0x81, 0x01, 0x08, 0x00}));
    // nrpdo 2 is RPDO index 1; poscomp 0x23 is byte 2 high, byte 3 low. nrpdo 3 (of two) and
    // "x" are skipped and not counted, so the next entry follows directly.
    EXPECT_EQ(images.banked.tables.count(BankTable::RpdoMapping), 2u);
    EXPECT_EQ(entry(images, BankTable::RpdoMapping, 0), (Bytes{0xC8, 0x00, 0x02, 0x03, 0x01, 0, 0, 0}));
    EXPECT_EQ(entry(images, BankTable::RpdoMapping, 1), (Bytes{0xCB, 0x00, 0x00, 0x00, 0x00, 0, 0, 0}));
    EXPECT_EQ(entry(images, BankTable::Tpdo, 0), (Bytes{0xF4, 0x01, 0, 0, 0x81, 0x02, 0x04, 0x01}));
    // Not on timer: the timer is 0 whatever Timer holds.
    EXPECT_EQ(entry(images, BankTable::Tpdo, 1), (Bytes{0, 0, 0, 0, 0x82, 0x02, 0x08, 0x00}));
    EXPECT_EQ(entry(images, BankTable::TpdoMapping, 0), (Bytes{0x2C, 0x01, 0x01, 0x02, 0x01, 0x01, 0, 0}));
    EXPECT_EQ(entry(images, BankTable::NodeGuarding, 0), (Bytes{0xE8, 0x03, 0x02, 0x03}));
    EXPECT_EQ(entry(images, BankTable::Emcy, 0), (Bytes{0x30, 0x81, 0x05, 0x11, 0, 0, 0, 0}));
    EXPECT_EQ(entry(images, BankTable::EmcyWord, 0), (Bytes{0x90, 0x01, 0x05, 0x04, 0x00, 0, 0, 0}));

    const ParameterBlock& block = images.banked.parameters;
    const std::uint32_t expectedCounts[10] = {2, 0, 0, 2, 2, 2, 1, 1, 1, 1};
    for (std::size_t k = 0; k < 10; ++k)
        EXPECT_EQ(block.get(ParameterField::kTableCount[k]), expectedCounts[k]) << "directory entry " << k;
}

TEST(TableArea, MappingWithoutItsPdoTableStaysEmpty)
{
    TempProject project;
    project.table("sdopdo.xml", "sdopdo", "<row index=\"200\" nrpdo=\"1\" poscomp=\"35\"/>");
    project.table("Transmit_PDO_Define.xml", "Transmit_PDO_Define",
                  "<row Index=\"300\" NrPdo=\"1\" PosComp=\"18\"/>");
    project.table("emcyword.xml", "EMCY_Word",
                  "<EMCY_ROW><Dati Dati_Word=\"400\" Dati_Byte=\"84\"/></EMCY_ROW>");
    const CompiledImages images = compile(project);
    ASSERT_TRUE(images.ok);
    EXPECT_EQ(images.banked.tables.count(BankTable::RpdoMapping), 0u);
    EXPECT_EQ(images.banked.tables.count(BankTable::TpdoMapping), 0u);
    EXPECT_EQ(images.banked.tables.count(BankTable::EmcyWord), 0u);
}

TEST(TableArea, EmergencyWordsFollowTheirMessagesByPosition)
{
    TempProject project;
    project.table("emcydef.xml", "EMCY",
                  "<row ID_EMCY=\"1\" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>"
                  "<row ID_EMCY=\"2\" EMCY_Error_Code=\"2\" Error_Register=\"2\"/>");
    // The first message has no words; the third EMCY_ROW has no message and is not compiled.
    project.table("emcyword.xml", "EMCY_Word",
                  "<EMCY_ROW/><!--between--><EMCY_ROW><Dati Dati_Word=\"500\" Dati_Byte=\"1\"/></EMCY_ROW>"
                  "<EMCY_ROW><Dati Dati_Word=\"600\" Dati_Byte=\"1\"/></EMCY_ROW>");
    const CompiledImages images = compile(project);
    ASSERT_TRUE(images.ok);
    EXPECT_EQ(images.banked.tables.count(BankTable::EmcyWord), 1u);
    EXPECT_EQ(entry(images, BankTable::EmcyWord, 0), (Bytes{0xF4, 0x01, 0x00, 0x01, 0x01, 0, 0, 0}));
    EXPECT_EQ(entry(images, BankTable::EmcyWord, 1), Bytes(8, 0));
}

TEST(TableArea, MaximalProjectCompiles)
{
    TempProject project;
    ASSERT_TRUE(maximal::writeMaximalProject(project.dir()));
    std::vector<std::string> messages;
    const CompiledImages images = compile(project, &messages);
    ASSERT_TRUE(images.ok) << (messages.empty() ? "" : messages.back());
    EXPECT_TRUE(messages.empty());
    for (const TableLayout& layout : tableLayouts())
        EXPECT_EQ(images.banked.tables.count(layout.table), layout.capacity) << layout.name;
    EXPECT_EQ(images.plain.bytes.size(), 24872u);
    // The last entry of the last table ends exactly at the end of the bank.
    EXPECT_EQ(entry(images, BankTable::EmcyWord, 1023)[4], 127);
}

// One entry over any capacity refuses the whole update and names the table; nothing is dropped.
TEST(TableArea, OneEntryOverCapacityRefusesTheUpdate)
{
    const struct {
        BankTable table;
        const char* message;
    } cases[] = {
        {BankTable::Sdo, "Too many entries in the SDO table: 1537 (at most 1536)"},
        {BankTable::Rpdo, "Too many entries in the RPDO table: 65 (at most 64)"},
        {BankTable::RpdoMapping, "Too many entries in the RPDO mapping table: 513 (at most 512)"},
        {BankTable::Tpdo, "Too many entries in the TPDO table: 33 (at most 32)"},
        {BankTable::TpdoMapping, "Too many entries in the TPDO mapping table: 513 (at most 512)"},
        {BankTable::NodeGuarding, "Too many entries in the node guarding table: 65 (at most 64)"},
        {BankTable::Emcy, "Too many entries in the EMCY table: 129 (at most 128)"},
        {BankTable::EmcyWord, "Too many entries in the EMCY word table: 1025 (at most 1024)"},
    };
    for (const auto& c : cases) {
        TempProject project;
        ASSERT_TRUE(maximal::writeMaximalProject(project.dir(), c.table));
        std::vector<std::string> messages;
        EXPECT_FALSE(compileAndWriteImages(
            project.dir(), [&messages](const CompileMessage& m) { messages.push_back(m.text); }));
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back(), c.message);
        EXPECT_FALSE(pathExists(joinPath(project.dir(), "bin"))) << c.message;
    }
}

TEST(TableArea, ALaterSmallerCompileLeavesNoOldEntries)
{
    TempProject project;
    std::string rows;
    for (int i = 0; i < 20; ++i)
        rows += "<row conf=\"0\" IndexA=\"" + std::to_string(i) +
                "\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>";
    project.table("sdo.xml", "sdo", rows);
    ASSERT_TRUE(compileAndWriteImages(project.dir(), nullptr));
    rows.clear();
    for (int i = 0; i < 5; ++i)
        rows += "<row conf=\"0\" IndexA=\"" + std::to_string(i) +
                "\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>";
    project.table("sdo.xml", "sdo", rows);
    ASSERT_TRUE(compileAndWriteImages(project.dir(), nullptr));
    const Bytes bank2 = fileBytes(joinPath(joinPath(project.dir(), "bin"), "bank2_ESP32.bin"));
    ASSERT_EQ(bank2.size(), 30720u);
    EXPECT_EQ(bank2[4 * 8], 4);
    EXPECT_EQ(Bytes(bank2.begin() + 5 * 8, bank2.begin() + 20 * 8), Bytes(15 * 8, 0));
}

} // namespace

} // namespace setforge
