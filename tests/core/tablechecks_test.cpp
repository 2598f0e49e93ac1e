#include <gtest/gtest.h>

#include "core/lang/uitexts.h"
#include "core/tables/acceptedvalues.h"
#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tablecatalog.h"
#include "core/tables/tablevalidator.h"
#include "tabletestsupport.h"

namespace setforge {

using tabletest::gridOf;

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct Case {
    const char* what;
    Rows rows;
    std::string expected; // "" when every used row passes
};

void runCases(const TableDefinition& table, DeviceVariant variant, const std::vector<Case>& cases)
{
    const UiTexts texts;
    for (const Case& c : cases) {
        const Grid grid = gridOf(table, c.rows);
        const std::optional<std::string> message = validateTable(table, grid, variant, texts);
        EXPECT_EQ(message.value_or(""), c.expected) << table.objectName << ": " << c.what;
    }
}

// A valid SDO row with one cell replaced.
std::vector<std::string> sdoRow(int column = 0, const std::string& text = {})
{
    std::vector<std::string> row = {"100", "2", "1", "ReadOnly", "5", "0x6041", "0", "2", ""};
    if (column >= 1)
        row[static_cast<std::size_t>(column) - 1] = text;
    return row;
}

std::vector<std::string> sdoRowAt(const std::string& address)
{
    return sdoRow(SdoColumn::Address, address);
}

TEST(TableChecks, SdoClient)
{
    using namespace SdoColumn;
    const std::string e = "Error row 1";
    runCases(
        sdoClientTable(), DeviceVariant::WithoutEthernet,
        {
            {"valid row", {sdoRow()}, ""},
            {"address 0", {sdoRowAt("0")}, ""},
            {"address 65535", {sdoRowAt("65535")}, ""},
            {"address 65536", {sdoRowAt("65536")}, e + "!! Address must be between 0 and 65535"},
            {"address -1", {sdoRowAt("-1")}, e + "!! Address must be between 0 and 65535"},
            {"address with trailing blank", {sdoRowAt("5 ")}, e + "!! Address must be between 0 and 65535"},
            {"10 then 0xA", {sdoRowAt("10"), sdoRowAt("0xA")}, "Error row 2!! Address is already used"},
            {"10 then $A", {sdoRowAt("10"), sdoRowAt("$A")}, "Error row 2!! Address is already used"},
            {"0xA then 10 in row 3",
             {sdoRowAt("0xA"), sdoRowAt("11"), sdoRowAt(" 10")},
             "Error row 3!! Address is already used"},
            {"distinct addresses", {sdoRowAt("10"), sdoRowAt("11"), sdoRowAt("0xC")}, ""},
            {"hi 4", {sdoRow(HiByte, "4")}, ""},
            {"hi 5", {sdoRow(HiByte, "5")}, e + "!! Hi Byte must be between 0 and 4"},
            {"hi empty", {sdoRow(HiByte, "")}, e + "!! Hi Byte must be between 0 and 4"},
            {"lo 0", {sdoRow(LoByte, "0")}, ""},
            {"lo 5", {sdoRow(LoByte, "5")}, e + "!! Lo Byte must be between 0 and 4"},
            {"r/w empty", {sdoRow(ReadWrite, "")}, e + "!! R/W must be or ReadOnly or ReadWrite"},
            {"r/w spaces", {sdoRow(ReadWrite, "  ")}, e + "!! R/W must be or ReadOnly or ReadWrite"},
            {"r/w other text", {sdoRow(ReadWrite, "anything")}, ""},
            {"device 1", {sdoRow(DeviceId, "1")}, ""},
            {"device 127", {sdoRow(DeviceId, "127")}, ""},
            {"device 0", {sdoRow(DeviceId, "0")}, e + "!! Device ID must be between 1 and 127"},
            {"device 128", {sdoRow(DeviceId, "128")}, e + "!! Device ID must be between 1 and 127"},
            {"index 0x0FFF", {sdoRow(Index, "0x0FFF")}, e + "!! Index must be between 0x1000 and 0xFFFF"},
            {"index 0x1000", {sdoRow(Index, "0x1000")}, ""},
            {"index $1000", {sdoRow(Index, "$1000")}, ""},
            {"index 4096", {sdoRow(Index, "4096")}, ""},
            {"index 0xFFFF", {sdoRow(Index, "0xFFFF")}, ""},
            {"index 0x10000", {sdoRow(Index, "0x10000")}, e + "!! Index must be between 0x1000 and 0xFFFF"},
            {"subindex 255", {sdoRow(SubIndex, "255")}, ""},
            {"subindex 256", {sdoRow(SubIndex, "256")}, e + "!! SubIndex must be between 0 and 255"},
            {"nbyte 1", {sdoRow(NByte, "1")}, ""},
            {"nbyte 0x4", {sdoRow(NByte, "0x4")}, ""},
            {"nbyte 3", {sdoRow(NByte, "3")}, e + "!! NByte must be 1 or 2 or 4"},
            {"nbyte 0", {sdoRow(NByte, "0")}, e + "!! NByte must be 1 or 2 or 4"},
            {"first check wins",
             {{"70000", "9", "9", "", "0", "0", "999", "3", ""}},
             e + "!! Address must be between 0 and 65535"},
            {"later row",
             {sdoRow(), sdoRowAt("101"), {"102", "2", "1", "ReadOnly", "5", "0x6041", "0", "8"}},
             "Error row 3!! NByte must be 1 or 2 or 4"},
            {"rows after a blank column 1 are not checked", {sdoRow(), sdoRowAt(""), sdoRow(NByte, "8")}, ""},
            {"a spaces-only column 1 ends the table", {sdoRow(), sdoRowAt("   "), sdoRow(NByte, "8")}, ""},
        });
}

TEST(TableChecks, EmcyAccess)
{
    const std::string e = "Error row 1";
    runCases(
        emcyAccessTable(), DeviceVariant::WithoutEthernet,
        {
            {"valid", {{"0x05", "0x8130", "0x11", "Guard"}}, ""},
            {"code 0xFFFF", {{"1", "0xFFFF", "0"}}, ""},
            {"code 65535", {{"1", "65535", "0"}}, ""},
            {"code 0x10000", {{"1", "0x10000", "0"}}, e + "!! Error Code must be between 0x0000 and 0xFFFF"},
            {"code -1", {{"1", "-1", "0"}}, e + "!! Error Code must be between 0x0000 and 0xFFFF"},
            {"register 0xFF", {{"1", "0", "0xFF"}}, ""},
            {"register 256", {{"1", "0", "256"}}, e + "!! Error Register must be between 0x00 and 0xFF"},
            {"register empty", {{"1", "0", ""}}, e + "!! Error Register must be between 0x00 and 0xFF"},
            {"device 0", {{"0", "0", "0"}}, e + "!! Device ID must be between 1 and 127"},
            {"device 128", {{"128", "0", "0"}}, e + "!! Device ID must be between 1 and 127"},
            {"same emergency twice", {{"1", "2", "3"}, {"1", "2", "3"}}, ""},
            {"second row",
             {{"1", "2", "3"}, {"1", "2", "0x100"}},
             "Error row 2!! Error Register must be between 0x00 and 0xFF"},
        });
}

TEST(TableChecks, NodeGuard)
{
    const std::string e = "Error row 1";
    runCases(nodeGuardTable(), DeviceVariant::WithoutEthernet,
             {
                 {"valid", {{"2", "1000", "3", "Drive"}}, ""},
                 {"device 127", {{"127", "1", "1"}}, ""},
                 {"device 0x80", {{"0x80", "1", "1"}}, e + "!! Device ID must be between 1 and 127"},
                 {"guard 0", {{"1", "0", "1"}}, e + "!! Guard Time must be between 1 and 65535 ms"},
                 {"guard 0xFFFF", {{"1", "0xFFFF", "1"}}, ""},
                 {"guard 65536", {{"1", "65536", "1"}}, e + "!! Guard Time must be between 1 and 65535 ms"},
                 {"life 0", {{"1", "1", "0"}}, e + "!! Life Time Factor must be between 1 and 255 ms"},
                 {"life 255", {{"1", "1", "255"}}, ""},
                 {"life 256", {{"1", "1", "256"}}, e + "!! Life Time Factor must be between 1 and 255 ms"},
                 {"same node twice", {{"5", "1", "1"}, {"5", "1", "1"}}, ""},
             });
}

TEST(TableChecks, PdoReceive)
{
    const std::string e = "Error row 1";
    const std::string cob = e + "!! Cob-ID must be between 0x181 and 0x57F";
    const std::string dim = e + "!! Dimension must be between 1 and 8";
    const std::string timeout = e + "!! TimeOut must be between 0 and 100000000 ms";
    const std::vector<Case> common = {
        {"0x181", {{"0x181", "8", "0"}}, ""},
        {"$181", {{"$181", "8", "0"}}, ""},
        {"385", {{"385", "8", "0"}}, ""},
        {"leading blank", {{" 385", "8", "0"}}, ""},
        {"trailing blank", {{"385 ", "8", "0"}}, cob},
        {"0x180", {{"0x180", "8", "0"}}, cob},
        {"0x580", {{"0x580", "8", "0"}}, cob},
        {"0x57F", {{"0x57F", "1", "0"}}, ""},
        {"dimension 0", {{"0x181", "0", "0"}}, dim},
        {"dimension 9", {{"0x181", "9", "0"}}, dim},
        {"dimension empty", {{"0x181", "", "0"}}, dim},
        {"same cob-id twice", {{"0x181", "8", "0"}, {"385", "8", "0"}}, ""},
    };
    runCases(pdoReceiveTable(), DeviceVariant::WithoutEthernet, common);
    runCases(pdoReceiveTable(), DeviceVariant::WithEthernet, common);
    runCases(pdoReceiveTable(), DeviceVariant::WithoutEthernet,
             {
                 {"hidden timeout abc", {{"0x181", "8", "abc"}}, ""},
                 {"hidden timeout empty", {{"0x181", "8", ""}}, ""},
             });
    runCases(pdoReceiveTable(), DeviceVariant::WithEthernet,
             {
                 {"timeout abc", {{"0x181", "8", "abc"}}, timeout},
                 {"timeout empty", {{"0x181", "8", ""}}, timeout},
                 {"timeout 100000000", {{"0x181", "8", "100000000"}}, ""},
                 {"timeout 100000001", {{"0x181", "8", "100000001"}}, timeout},
                 {"timeout -1", {{"0x181", "8", "-1"}}, timeout},
             });
}

// Cob-ID, Dimension, Address Start, On Change, On Timer, Timer, Mnemonic.
std::vector<std::string> tpdo(const std::string& dimension, const std::string& start,
                              const std::string& onTimer = "", const std::string& timer = "")
{
    return {"0x181", dimension, start, "", onTimer, timer, ""};
}

TEST(TableChecks, PdoTransmitWithoutEthernet)
{
    const std::string used2 = "Error row 2!! Address is already used ";
    const std::string start = "Error row 1!! Adress start must be between 0 and 65535";
    const std::string end = "Error row 1!! Adress start plus number registers must be minus of 65536";
    runCases(
        pdoTransmitTable(), DeviceVariant::WithoutEthernet,
        {
            {"blocks 10..13 and 12", {tpdo("8", "10"), tpdo("2", "12")}, used2},
            {"blocks 10..13 and 14", {tpdo("8", "10"), tpdo("2", "14")}, ""},
            {"block ending inside an earlier one", {tpdo("8", "10"), tpdo("8", "7")}, used2},
            {"block before an earlier one", {tpdo("8", "10"), tpdo("8", "6")}, ""},
            {"start 65535, one register", {tpdo("2", "65535")}, ""},
            {"start 65535, two registers", {tpdo("3", "65535")}, end},
            {"start 65532, four registers", {tpdo("8", "65532")}, ""},
            {"start 65533, four registers", {tpdo("8", "65533")}, end},
            {"start 65536", {tpdo("1", "65536")}, start},
            {"start -1", {tpdo("1", "-1")}, start},
            {"start empty", {tpdo("1", "")}, start},
            {"timer not examined", {tpdo("1", "0", "Y", "abc")}, ""},
            {"dimension before start",
             {{"0x181", "9", "abc"}},
             "Error row 1!! Dimension must be between 1 and 8"},
            {"cob-id first", {{"0x100", "9", "abc"}}, "Error row 1!! Cob-ID must be between 0x181 and 0x57F"},
            {"same cob-id twice", {tpdo("2", "0"), tpdo("2", "1")}, ""},
        });
    // Dimensions 1-2 take one register, 3-4 two, 5-6 three, 7-8 four: the next free register
    // passes and the last taken one fails.
    for (int dimension = 1; dimension <= 8; ++dimension) {
        const int registers = (dimension + 1) / 2;
        const std::string d = std::to_string(dimension);
        runCases(pdoTransmitTable(), DeviceVariant::WithoutEthernet,
                 {
                     {"next free register", {tpdo(d, "100"), tpdo("1", std::to_string(100 + registers))}, ""},
                     {"last register taken",
                      {tpdo(d, "100"), tpdo("1", std::to_string(100 + registers - 1))},
                      used2},
                 });
    }
}

TEST(TableChecks, PdoTransmitWithEthernet)
{
    const std::string timer = "Error row 1!! Timer must be between 0 and 100000000 ms";
    runCases(pdoTransmitTable(), DeviceVariant::WithEthernet,
             {
                 {"address start not examined", {tpdo("8", "abc"), tpdo("8", "abc")}, ""},
                 {"overlap not examined", {tpdo("8", "10"), tpdo("8", "10")}, ""},
                 {"ticked, timer abc", {tpdo("1", "", "Y", "abc")}, timer},
                 {"ticked lower case, timer abc", {tpdo("1", "", "y", "abc")}, timer},
                 {"ticked, timer empty", {tpdo("1", "", "Y", "")}, timer},
                 {"ticked, timer 100000000", {tpdo("1", "", "Y", "100000000")}, ""},
                 {"ticked, timer 100000001", {tpdo("1", "", "Y", "100000001")}, timer},
                 {"not ticked, timer abc", {tpdo("1", "", "N", "abc")}, ""},
                 {"never touched, timer abc", {tpdo("1", "", "", "abc")}, ""},
                 {"other text, timer abc", {tpdo("1", "", "Yes", "abc")}, ""},
             });
}

TEST(TableChecks, MessagesFollowTheTexts)
{
    UiTexts texts;
    texts.set(1311, "Fehler Zeile ");
    texts.set(1312, "!! Knoten 1 bis 127");
    const Grid grid = gridOf(nodeGuardTable(), {{"1", "1", "1"}, {"0", "1", "1"}});
    EXPECT_EQ(validateTable(nodeGuardTable(), grid, DeviceVariant::WithoutEthernet, texts).value_or(""),
              "Fehler Zeile 2!! Knoten 1 bis 127");
}

TEST(TableDefinitions, EveryColumnHeaderHasATooltip)
{
    const UiTexts texts;
    for (const TableDefinition* table : tableDefinitions()) {
        ASSERT_EQ(static_cast<int>(table->columnTips.size()), table->columnCount()) << table->objectName;
        for (int column = 0; column < table->columnCount(); ++column) {
            const int tip = table->columnTipText(column);
            EXPECT_GE(texts[tip].size(), 10u) << table->objectName << " column " << column;
            EXPECT_NE(texts[tip], texts[table->columnTitleText(column)])
                << table->objectName << " column " << column;
        }
        EXPECT_EQ(table->columnTipText(table->columnCount()), -1);
    }
    // The SDO byte columns state the byte numbering of the PDO and emergency editors.
    for (const int column : {SdoColumn::HiByte, SdoColumn::LoByte}) {
        const std::string& tip = texts[sdoClientTable().columnTipText(column)];
        for (const char* part : {"1 to NByte", "byte 1 is the object's least significant byte",
                                 "0 means none", "0 to 4", "PDO and emergency editors"})
            EXPECT_NE(tip.find(part), std::string::npos) << column << ": " << part;
    }
}

TEST(AcceptedValues, ComparesAsIntegersAndStartsEmptyEachValidation)
{
    AcceptedValues accepted;
    EXPECT_FALSE(accepted.isUsed(10));
    accepted.add(10);
    EXPECT_TRUE(accepted.isUsed(10));
    EXPECT_FALSE(accepted.isUsed(11));
    EXPECT_EQ(accepted.count(), 1);
    accepted.reset();
    EXPECT_FALSE(accepted.isUsed(10));

    // The validator fills the list with every address of a valid table, and empties it
    // before the next run, so a second validation of the same grid passes again.
    TableValidator validator(sdoClientTable(), DeviceVariant::WithoutEthernet);
    const Grid grid = gridOf(sdoClientTable(), {sdoRowAt("10"), sdoRowAt("0xB")});
    EXPECT_FALSE(validator.firstFailure(grid).has_value());
    EXPECT_EQ(validator.accepted().count(), 2);
    EXPECT_TRUE(validator.accepted().isUsed(11));
    EXPECT_FALSE(validator.firstFailure(grid).has_value());
}

TEST(AcceptedValues, HoldsEveryRowOfTheLargestTable)
{
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < 1500; ++r)
        rows.push_back(sdoRowAt(std::to_string(r * 40)));
    TableValidator validator(sdoClientTable(), DeviceVariant::WithoutEthernet);
    EXPECT_FALSE(validator.firstFailure(gridOf(sdoClientTable(), rows)).has_value());
    EXPECT_EQ(validator.accepted().count(), 1500);
    rows.back() = sdoRowAt("0");
    const std::optional<CheckFailure> failure = validator.firstFailure(gridOf(sdoClientTable(), rows));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->row, 1500);
    EXPECT_EQ(failure->message, 518);
    EXPECT_EQ(failure->column, SdoColumn::Address);
}

} // namespace

} // namespace setforge
