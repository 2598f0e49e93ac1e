#include <gtest/gtest.h>

#include <filesystem>

#include "core/lang/uitexts.h"
#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/rowoperations.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tablecatalog.h"
#include "core/tables/tablecheck.h"
#include "core/tables/tablefile.h"
#include "core/tables/tablevalidator.h"
#include "tabletestsupport.h"

namespace setforge {

using namespace tabletest;

namespace {

using Cells = std::vector<std::string>;

Grid loadText(const TableDefinition& table, const std::string& text)
{
    TempDir dir;
    writeText(dir.file("table.xml"), text);
    Grid grid(table.rowCount, table.columnCount());
    const Result<void> loaded = loadTableFile(table, dir.file("table.xml"), grid);
    EXPECT_TRUE(loaded) << loaded.error().text;
    return grid;
}

const char* kNodeGuardExample =
    "<Node_Guarding><row NodeID=\"2\" GuardTime=\"1000\" LifeTimeFactor=\"3\" Mnemonic=\"Drive\"/>"
    "<row NodeID=\"5\" GuardTime=\"500\" LifeTimeFactor=\"2\" Mnemonic=\"\"/></Node_Guarding>"
    "<!--SW_VERSION = 2.001-->";

TEST(TableFile, SavesTheShapeOfTheExampleByteForByte)
{
    TempDir dir;
    const Grid grid = gridOf(nodeGuardTable(), {{"2", "1000", "3", "Drive"}, {"5", "500", "2", ""}});
    ASSERT_TRUE(saveTableFile(nodeGuardTable(), grid, dir.file("NodeGuard.xml")));
    EXPECT_EQ(readText(dir.file("NodeGuard.xml")), kNodeGuardExample);

    // Loading the example and saving it again gives the same bytes.
    const Grid loaded = loadText(nodeGuardTable(), kNodeGuardExample);
    EXPECT_EQ(tableFileText(nodeGuardTable(), loaded), kNodeGuardExample);
}

TEST(TableFile, EmptyGridSavesTheRootAndTheComment)
{
    struct Case {
        const TableDefinition* table;
        const char* expected;
    };
    const Case kCases[] = {
        {&sdoClientTable(), "<sdo/><!--SW_VERSION = 2.001-->"},
        {&emcyAccessTable(), "<EMCY/><!--SW_VERSION = 2.001-->"},
        {&nodeGuardTable(), "<Node_Guarding/><!--SW_VERSION = 2.001-->"},
        {&pdoReceiveTable(), "<rpdodef/><!--SW_VERSION = 2.001-->"},
        {&pdoTransmitTable(), "<Trasmit_PDO/><!--SW_VERSION = 2.001-->"},
    };
    for (const Case& c : kCases) {
        const Grid grid(c.table->rowCount, c.table->columnCount());
        EXPECT_EQ(tableFileText(*c.table, grid), c.expected) << c.table->objectName;
    }
}

TEST(TableFile, AttributesInEachTablesOrder)
{
    struct Case {
        const TableDefinition* table;
        Cells row;
        const char* expected;
    };
    const Case kCases[] = {
        {&sdoClientTable(),
         {"100", "2", "1", "ReadOnly", "5", "0x6041", "0", "2", ""},
         "<sdo><row conf=\"65\" IndexA=\"100\" SubindexA=\"0\" devIDB=\"5\" IndexB=\"0x6041\" "
         "SubindexB=\"0\" "
         "nbyteB=\"2\" mnemonico=\"\"/></sdo><!--SW_VERSION = 2.001-->"},
        {&emcyAccessTable(),
         {"0x05", "0x8130", "0x11", "Guard"},
         "<EMCY><row ID_EMCY=\"0x05\" EMCY_Error_Code=\"0x8130\" Error_Register=\"0x11\" Mnemonic=\"Guard\"/>"
         "</EMCY><!--SW_VERSION = 2.001-->"},
        {&pdoReceiveTable(),
         {"0x181", "8", "", " x "},
         "<rpdodef><row cobid=\"0x181\" id_dev_orig=\"1\" dimension=\"8\" posind=\"0\" n_tpdo=\"0\" "
         "TimeOut=\"\" "
         "Mnemonic=\" x \"/></rpdodef><!--SW_VERSION = 2.001-->"},
        {&pdoTransmitTable(),
         {"0x181", "8", "10", "Y", "N", "100", "m"},
         "<Trasmit_PDO><row COB-ID=\"0x181\" Dimension=\"8\" SMA=\"10\" OnChange=\"Y\" OnTimer=\"N\" "
         "Timer=\"100\" "
         "Mnemonic=\"m\"/></Trasmit_PDO><!--SW_VERSION = 2.001-->"},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(tableFileText(*c.table, gridOf(*c.table, {c.row})), c.expected) << c.table->objectName;
}

TEST(TableFile, SdoConfByteBothWays)
{
    struct Case {
        Cells hiLoRw; // Hi Byte, Lo Byte, R/W as typed
        const char* conf;
        Cells reloaded;
    };
    const Case kCases[] = {
        {{"4", "4", "ReadWrite"}, "148", {"4", "4", "ReadWrite"}},
        {{"0", "0", "ReadOnly"}, "0", {"0", "0", "ReadOnly"}},
        {{"2", "1", "ReadOnly"}, "65", {"2", "1", "ReadOnly"}},
        {{"0x3", "$2", "readwrite"}, "114", {"3", "2", "ReadWrite"}},
        {{"1", "0", "anything"}, "32", {"1", "0", "ReadOnly"}},
        // Out-of-range cells never pass the checks; the byte still keeps only its low 8 bits.
        {{"9", "0", "ReadOnly"}, "32", {"1", "0", "ReadOnly"}},
        {{"abc", "", "ReadWrite"}, "16", {"0", "0", "ReadWrite"}},
    };
    for (const Case& c : kCases) {
        const Grid grid =
            gridOf(sdoClientTable(), {{"1", c.hiLoRw[0], c.hiLoRw[1], c.hiLoRw[2], "1", "4096", "0", "1"}});
        const std::string text = tableFileText(sdoClientTable(), grid);
        EXPECT_NE(text.find(std::string("conf=\"") + c.conf + "\""), std::string::npos) << text;
        const Grid back = loadText(sdoClientTable(), text);
        EXPECT_EQ((Cells{back.cell(1, SdoColumn::HiByte), back.cell(1, SdoColumn::LoByte),
                         back.cell(1, SdoColumn::ReadWrite)}),
                  c.reloaded)
            << "conf " << c.conf;
    }
}

TEST(TableFile, SdoConfOnLoad)
{
    struct Case {
        const char* row;
        Cells hiLoRw;
    };
    const Case kCases[] = {
        {"<row IndexA=\"1\"/>", {"0", "0", "ReadOnly"}},
        {"<row conf=\"255\" IndexA=\"1\"/>", {"7", "7", "ReadWrite"}},
        {"<row conf=\"0x1FF\" IndexA=\"1\"/>", {"7", "7", "ReadWrite"}},
        {"<row conf=\"abc\" IndexA=\"1\"/>", {"0", "0", "ReadOnly"}},
        {"<row conf=\"-1\" IndexA=\"1\"/>", {"7", "7", "ReadWrite"}},
        {"<row conf=\"8\" IndexA=\"1\"/>", {"0", "0", "ReadOnly"}},
    };
    for (const Case& c : kCases) {
        const Grid grid = loadText(sdoClientTable(), std::string("<sdo>") + c.row + "</sdo>");
        EXPECT_EQ((Cells{grid.cell(1, SdoColumn::HiByte), grid.cell(1, SdoColumn::LoByte),
                         grid.cell(1, SdoColumn::ReadWrite)}),
                  c.hiLoRw)
            << c.row;
    }
    // A conf of 255 loads as Hi 7, which the checks refuse.
    const Grid grid = loadText(
        sdoClientTable(), "<sdo><row conf=\"255\" IndexA=\"1\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" "
                          "nbyteB=\"1\"/></sdo>");
    EXPECT_EQ(validateTable(sdoClientTable(), grid, DeviceVariant::WithoutEthernet, UiTexts()).value_or(""),
              "Error row 1!! Hi Byte must be between 0 and 4");
}

TEST(TableFile, ReadsWhatHandEditedFilesHold)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<Cells> rows; // rows 1.. expected; the next row must be empty
    };
    const Case kCases[] = {
        {"a root of another name",
         "<Something><row NodeID=\"1\" GuardTime=\"2\" LifeTimeFactor=\"3\" Mnemonic=\"m\"/></Something>",
         {{"1", "2", "3", "m"}}},
        {"a missing attribute",
         "<Node_Guarding><row NodeID=\"1\" LifeTimeFactor=\"3\"/></Node_Guarding>",
         {{"1", "", "3", ""}}},
        {"a comment before the root",
         "<!-- hand made --><Node_Guarding><row NodeID=\"4\"/></Node_Guarding>",
         {{"4", "", "", ""}}},
        {"a declaration before the root",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Node_Guarding><row NodeID=\"4\"/></Node_Guarding>",
         {{"4", "", "", ""}}},
        {"comments and text among the rows",
         "<Node_Guarding>\n  <!--first--><row NodeID=\"1\"/>\n  text<!--second-->\n  <row NodeID=\"2\"/>\n"
         "<?pi x?></Node_Guarding><!--SW_VERSION = 2.001-->",
         {{"1", "", "", ""}, {"2", "", "", ""}}},
        {"elements of any name are rows",
         "<Node_Guarding><line NodeID=\"7\"/><row NodeID=\"8\"/></Node_Guarding>",
         {{"7", "", "", ""}, {"8", "", "", ""}}},
        {"values are not trimmed",
         "<Node_Guarding><row NodeID=\" 1 \" Mnemonic=\"a&amp;b &lt;c&gt;\"/></Node_Guarding>",
         {{" 1 ", "", "", "a&b <c>"}}},
        {"the empty-table file", "<Node_Guarding/><!--SW_VERSION = 2.001-->", {}},
        {"rows after a blank column 1 are loaded too",
         "<Node_Guarding><row NodeID=\"1\"/><row NodeID=\"\"/><row NodeID=\"3\"/></Node_Guarding>",
         {{"1", "", "", ""}, {"", "", "", ""}, {"3", "", "", ""}}},
    };
    for (const Case& c : kCases) {
        const Grid grid = loadText(nodeGuardTable(), c.text);
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(rowOf(grid, static_cast<int>(r) + 1), c.rows[r]) << c.what << ", row " << r + 1;
        EXPECT_EQ(rowOf(grid, static_cast<int>(c.rows.size()) + 1), (Cells{"", "", "", ""})) << c.what;
        EXPECT_EQ(grid.cell(1, 0), "1") << c.what;
    }
}

TEST(TableFile, MoreChildrenThanRows)
{
    std::string text = "<Node_Guarding>";
    for (int i = 1; i <= 40; ++i)
        text +=
            "<row NodeID=\"" + std::to_string(i) + "\" GuardTime=\"1\" LifeTimeFactor=\"1\" Mnemonic=\"\"/>";
    text += "</Node_Guarding>";
    const Grid grid = loadText(nodeGuardTable(), text);
    EXPECT_EQ(grid.rowCount(), 32);
    EXPECT_EQ(grid.usedRowCount(), 32);
    EXPECT_EQ(grid.cell(32, 1), "32");
    const std::string saved = tableFileText(nodeGuardTable(), grid);
    std::size_t rows = 0;
    for (std::size_t at = saved.find("<row "); at != std::string::npos; at = saved.find("<row ", at + 1))
        ++rows;
    EXPECT_EQ(rows, 32u);
    EXPECT_EQ(saved.find("NodeID=\"33\""), std::string::npos);
}

TEST(TableFile, OnlyUsedRowsAreSaved)
{
    const Grid grid = gridOf(nodeGuardTable(), {{"1", "1", "1"}, {" ", "2", "2"}, {"3", "3", "3"}});
    EXPECT_EQ(tableFileText(nodeGuardTable(), grid), "<Node_Guarding><row NodeID=\"1\" GuardTime=\"1\" "
                                                     "LifeTimeFactor=\"1\" Mnemonic=\"\"/></Node_Guarding>"
                                                     "<!--SW_VERSION = 2.001-->");
}

TEST(TableFile, LoadingClearsTheGridFirst)
{
    TempDir dir;
    Grid grid = gridOf(nodeGuardTable(), {{"9", "9", "9", "old"}, {"8"}});
    writeText(dir.file("NodeGuard.xml"), "<Node_Guarding><row NodeID=\"1\"/></Node_Guarding>");
    ASSERT_TRUE(loadTableFile(nodeGuardTable(), dir.file("NodeGuard.xml"), grid));
    EXPECT_EQ(rowOf(grid, 1), (Cells{"1", "", "", ""}));
    EXPECT_EQ(rowOf(grid, 2), (Cells{"", "", "", ""}));

    grid = gridOf(nodeGuardTable(), {{"9"}});
    const Result<void> missing = loadTableFile(nodeGuardTable(), dir.file("none.xml"), grid);
    EXPECT_TRUE(missing);
    EXPECT_EQ(grid.usedRowCount(), 0);

    grid = gridOf(nodeGuardTable(), {{"9"}});
    writeText(dir.file("bad.xml"), "<Node_Guarding><row NodeID=\"1\"></Node_Guarding>");
    const Result<void> bad = loadTableFile(nodeGuardTable(), dir.file("bad.xml"), grid);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().text.rfind(dir.file("bad.xml") + ": ", 0), 0u) << bad.error().text;
    EXPECT_EQ(grid.usedRowCount(), 0);
}

TEST(TableFile, FailedWriteKeepsTheOldFile)
{
    TempDir dir;
    const Grid grid = gridOf(nodeGuardTable(), {{"1", "1", "1"}});
    const Result<void> noFolder = saveTableFile(nodeGuardTable(), grid, dir.file("missing/NodeGuard.xml"));
    EXPECT_FALSE(noFolder);
    EXPECT_FALSE(noFolder.error().text.empty());

    writeText(dir.file("NodeGuard.xml"), kNodeGuardExample);
    std::filesystem::permissions(dir.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const Result<void> readOnly = saveTableFile(nodeGuardTable(), grid, dir.file("NodeGuard.xml"));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    if (!readOnly) { // root may write anyway
        EXPECT_FALSE(readOnly.error().text.empty());
        EXPECT_EQ(readText(dir.file("NodeGuard.xml")), kNodeGuardExample);
    }
}

TEST(TableFile, HiddenColumnsRoundTrip)
{
    struct Case {
        const TableDefinition* table;
        DeviceVariant variant;
        std::vector<Cells> rows; // every column, hidden ones with values the checks would refuse
    };
    const Case kCases[] = {
        {&pdoReceiveTable(),
         DeviceVariant::WithoutEthernet,
         {{"0x181", "8", "abc", "one"}, {"0x182", "1", "", "two"}}},
        {&pdoTransmitTable(),
         DeviceVariant::WithoutEthernet,
         {{"0x181", "8", "10", "Y", "Y", "abc", "one"}, {"0x182", "2", "14", "", "y", "", "two"}}},
        {&pdoTransmitTable(),
         DeviceVariant::WithEthernet,
         {{"0x181", "8", "abc", "Y", "N", "100", "one"}, {"0x182", "2", "", "N", "Y", "5", "two"}}},
    };
    for (const Case& c : kCases) {
        const std::string where =
            std::string(c.table->objectName) +
            (c.variant == DeviceVariant::WithEthernet ? " with Ethernet" : " without Ethernet");
        TempDir dir;
        const std::string path = dir.file(c.table->fileName);
        ASSERT_TRUE(saveTableFile(*c.table, gridOf(*c.table, c.rows), path));
        const std::string original = readText(path);

        // Shown, checked, saved back unchanged.
        Grid grid(c.table->rowCount, c.table->columnCount());
        ASSERT_TRUE(loadTableFile(*c.table, path, grid));
        EXPECT_FALSE(validateTable(*c.table, grid, c.variant, UiTexts()).has_value()) << where;
        ASSERT_TRUE(saveTableFile(*c.table, grid, path));
        EXPECT_EQ(readText(path), original) << where;

        // Row operations move hidden cells with their rows.
        insertGridRow(1, grid);
        EXPECT_EQ(rowOf(grid, 2), c.rows[0]) << where;
        EXPECT_EQ(rowOf(grid, 3), c.rows[1]) << where;
        deleteGridRow(1, grid);
        deleteGridRow(1, grid);
        EXPECT_EQ(rowOf(grid, 1), c.rows[1]) << where;
    }
}

TEST(TableFile, FullTablesSaveAndLoadBack)
{
    for (const TableDefinition* table : tableDefinitions()) {
        Grid grid(table->rowCount, table->columnCount());
        for (int r = 1; r <= table->rowCount; ++r)
            for (int c = 1; c < table->columnCount(); ++c)
                grid.setCell(r, c, std::to_string(r * 100 + c));
        // The SDO table keeps Hi, Lo and R/W in one byte: give them values it can hold.
        if (table == &sdoClientTable())
            for (int r = 1; r <= table->rowCount; ++r) {
                grid.setCell(r, SdoColumn::HiByte, std::to_string(r % 5));
                grid.setCell(r, SdoColumn::LoByte, std::to_string((r / 5) % 5));
                grid.setCell(r, SdoColumn::ReadWrite, r % 2 ? "ReadWrite" : "ReadOnly");
            }
        TempDir dir;
        ASSERT_TRUE(saveTableFile(*table, grid, dir.file(table->fileName)));
        Grid back(table->rowCount, table->columnCount());
        ASSERT_TRUE(loadTableFile(*table, dir.file(table->fileName), back));
        EXPECT_EQ(back.usedRowCount(), table->rowCount) << table->objectName;
        for (int r = 1; r <= table->rowCount; ++r)
            ASSERT_EQ(rowOf(back, r), rowOf(grid, r)) << table->objectName << " row " << r;
    }
}

TEST(TableCheckFile, GivesTheDialogsMessages)
{
    TempDir dir;
    const UiTexts texts;
    const std::string path = dir.file("Transmit_Pdo.xml");
    EXPECT_TRUE(checkTableFile(pdoTransmitTable(), path, DeviceVariant::WithoutEthernet, texts).empty());

    writeText(path,
              "<Trasmit_PDO><row COB-ID=\"0x181\" Dimension=\"8\" SMA=\"10\" OnTimer=\"Y\" Timer=\"abc\"/>"
              "<row COB-ID=\"0x182\" Dimension=\"2\" SMA=\"12\"/></Trasmit_PDO>");
    EXPECT_EQ(checkTableFile(pdoTransmitTable(), path, DeviceVariant::WithoutEthernet, texts),
              std::vector<std::string>{"Error row 2!! Address is already used "});
    EXPECT_EQ(checkTableFile(pdoTransmitTable(), path, DeviceVariant::WithEthernet, texts),
              std::vector<std::string>{"Error row 1!! Timer must be between 0 and 100000000 ms"});

    writeText(path, "<Trasmit_PDO><row COB-ID=\"0x181\" Dimension=\"8\"></Trasmit_PDO>");
    const std::vector<std::string> bad =
        checkTableFile(pdoTransmitTable(), path, DeviceVariant::WithEthernet, texts);
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_NE(bad[0].find("Transmit_Pdo.xml"), std::string::npos) << bad[0];
}

TEST(TableDefinitions, TextBlocksAndVariant)
{
    const UiTexts texts;
    for (const TableDefinition* table : tableDefinitions()) {
        EXPECT_EQ(texts[table->rowErrorText()], "Error row ") << table->objectName;
        EXPECT_EQ(texts[table->deleteText()], "Are you sure to delete the Row number ") << table->objectName;
        EXPECT_EQ(texts[table->columnTitleText(0)], "N") << table->objectName;
        EXPECT_EQ(texts[table->buttonText(0)], "OK") << table->objectName;
        EXPECT_EQ(texts[table->buttonText(3)], "Insert Row") << table->objectName;
        EXPECT_EQ(texts[table->columnTitleText(table->columnCount() - 1)], "Mnemonic") << table->objectName;
        EXPECT_EQ(findTableDefinition(table->objectName), table);
        EXPECT_EQ(findTableDefinition(table->fileName), table);
    }
    EXPECT_EQ(findTableDefinition("nodeguard.XML"), &nodeGuardTable());
    EXPECT_EQ(findTableDefinition("ParGen.xml"), nullptr);

    // brokenXml: the dialogs must not guess a variant, so the strict reading gives the error.
    struct Case {
        const char* content; // nullptr: no file
        DeviceVariant expected;
        bool brokenXml;
    };
    const Case kCases[] = {
        {nullptr, DeviceVariant::WithoutEthernet, false},
        {"<ParGen><Select_Device_Type>1</Select_Device_Type></ParGen>", DeviceVariant::WithEthernet, false},
        {"<ParGen><Select_Device_Type>0x1</Select_Device_Type></ParGen>", DeviceVariant::WithEthernet, false},
        {"<ParGen><Select_Device_Type>0</Select_Device_Type></ParGen>", DeviceVariant::WithoutEthernet,
         false},
        {"<ParGen><Select_Device_Type>2</Select_Device_Type></ParGen>", DeviceVariant::WithoutEthernet,
         false},
        {"<ParGen><Select_Device_Type>abc</Select_Device_Type></ParGen>", DeviceVariant::WithoutEthernet,
         false},
        {"<ParGen></ParGen>", DeviceVariant::WithoutEthernet, false},
        {"<ParGen><Select_Device_Type>1", DeviceVariant::WithoutEthernet, true},
        {"", DeviceVariant::WithoutEthernet, true},
    };
    for (const Case& c : kCases) {
        TempDir dir;
        if (c.content)
            writeText(dir.file("ParGen.xml"), c.content);
        const char* label = c.content ? c.content : "no file";
        EXPECT_EQ(readTableVariant(dir.file("ParGen.xml")), c.expected) << label;
        const Result<DeviceVariant> reading = readTableVariantOrError(dir.file("ParGen.xml"));
        EXPECT_EQ(static_cast<bool>(reading), !c.brokenXml) << label;
        if (c.brokenXml)
            EXPECT_EQ(reading.error().text.rfind(dir.file("ParGen.xml") + ": ", 0), 0u)
                << reading.error().text;
        else
            EXPECT_EQ(*reading, c.expected) << label;
    }
}

TEST(TableDefinitions, ColumnsOfTheDeviceVariants)
{
    struct Case {
        const TableDefinition* table;
        DeviceVariant variant;
        std::vector<bool> shown;
        int mnemonicWidth;
    };
    const Case kCases[] = {
        {&pdoReceiveTable(), DeviceVariant::WithEthernet, {true, true, true, true, true}, 330},
        {&pdoReceiveTable(), DeviceVariant::WithoutEthernet, {true, true, true, false, true}, 430},
        {&pdoTransmitTable(),
         DeviceVariant::WithEthernet,
         {true, true, true, false, true, true, true, true},
         250},
        {&pdoTransmitTable(),
         DeviceVariant::WithoutEthernet,
         {true, true, true, true, false, false, false, true},
         385},
        {&sdoClientTable(), DeviceVariant::WithEthernet, std::vector<bool>(10, true), 148},
        {&nodeGuardTable(), DeviceVariant::WithEthernet, std::vector<bool>(5, true), 275},
        {&emcyAccessTable(), DeviceVariant::WithoutEthernet, std::vector<bool>(5, true), 300},
    };
    for (const Case& c : kCases) {
        std::vector<bool> shown;
        for (const TableColumn& column : c.table->columns)
            shown.push_back(column.isShown(c.variant));
        EXPECT_EQ(shown, c.shown) << c.table->objectName;
        EXPECT_EQ(c.table->columns.back().widthFor(c.variant), c.mnemonicWidth) << c.table->objectName;
    }
}

} // namespace

} // namespace setforge
