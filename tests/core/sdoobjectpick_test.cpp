#include <gtest/gtest.h>

#include "core/nodes/sdoobjectpick.h"
#include "core/tables/grid.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

EdsEntry entry(std::uint16_t index, std::uint8_t sub, std::uint16_t dataType, const char* access,
               const char* name)
{
    EdsEntry e;
    e.index = index;
    e.subIndex = sub;
    e.dataType = dataType;
    e.access = access;
    e.name = name;
    return e;
}

Grid sdoGrid()
{
    const TableDefinition& table = sdoClientTable();
    Grid grid(table.rowCount, table.columnCount());
    grid.clear();
    return grid;
}

std::vector<std::string> rowCells(const Grid& grid, int row)
{
    std::vector<std::string> cells;
    for (int c = 1; c < grid.columnCount(); ++c)
        cells.push_back(grid.cell(row, c));
    return cells;
}

TEST(SdoObjectPick, FitByTypeAndSize)
{
    struct Case {
        std::uint16_t dataType;
        SdoFit fit;
    };
    const Case kCases[] = {
        {0x0001, SdoFit::Fits}, {0x0005, SdoFit::Fits}, {0x0006, SdoFit::Fits}, {0x0007, SdoFit::Fits},
        {0x0008, SdoFit::Fits}, {0x0010, SdoFit::Size}, {0x001B, SdoFit::Size}, {0x0011, SdoFit::Size},
        {0x0009, SdoFit::Text}, {0x000A, SdoFit::Text}, {0x000B, SdoFit::Text}, {0x000F, SdoFit::Domain},
        {0x0042, SdoFit::Size},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(sdoFit(entry(0x2000, 0, c.dataType, "rw", "x")), c.fit) << c.dataType;
}

// Hi and Lo Byte follow the size; R/W follows the access.
TEST(SdoObjectPick, FillsOneRow)
{
    struct Case {
        EdsEntry entry;
        std::vector<std::string> cells; // Address .. Mnemonic
    };
    const Case kCases[] = {
        {entry(0x6041, 0, 0x0006, "ro", "Statusword"),
         {"100", "2", "1", "ReadOnly", "5", "0x6041", "0", "2", "Statusword"}},
        {entry(0x6060, 0, 0x0002, "rw", "Modes"),
         {"100", "0", "1", "ReadWrite", "5", "0x6060", "0", "1", "Modes"}},
        {entry(0x1000, 0, 0x0007, "const", "Device type"),
         {"100", "2", "1", "ReadOnly", "5", "0x1000", "0", "4", "Device type"}},
        {entry(0x2000, 17, 0x0003, "rww", "Speed"),
         {"100", "2", "1", "ReadWrite", "5", "0x2000", "17", "2", "Speed"}},
        {entry(0x6040, 0, 0x0006, "wo", "Controlword"),
         {"100", "2", "1", "ReadWrite", "5", "0x6040", "0", "2", "Controlword"}},
    };
    for (const Case& c : kCases) {
        Grid grid = sdoGrid();
        grid.setCell(1, SdoColumn::Address, "100");
        grid.setCell(1, SdoColumn::Mnemonic, "old");
        ASSERT_EQ(fillSdoRows(grid, 1, c.entry, 5, true, " H"), SdoPickOutcome::Filled);
        EXPECT_EQ(rowCells(grid, 1), c.cells) << c.entry.name;
        if (c.entry.bytes() != 4) {
            EXPECT_EQ(grid.usedRowCount(), 1) << "the high word only for four bytes";
        }
    }
}

TEST(SdoObjectPick, HighWordGoesToTheNextFreeAddressBelow)
{
    Grid grid = sdoGrid();
    const char* addresses[] = {"10", "11", "0xC", "20"};
    for (int r = 1; r <= 4; ++r)
        grid.setCell(r, SdoColumn::Address, addresses[r - 1]);
    ASSERT_EQ(fillSdoRows(grid, 1, entry(0x6064, 0, 0x0004, "ro", "Position"), 7, true, " (high word)"),
              SdoPickOutcome::Filled);
    EXPECT_EQ(rowCells(grid, 1),
              (std::vector<std::string>{"10", "2", "1", "ReadOnly", "7", "0x6064", "0", "4", "Position"}));
    // 11 and 0xC (12) are taken, so the high word lands on 13, in a row inserted below.
    EXPECT_EQ(rowCells(grid, 2), (std::vector<std::string>{"13", "4", "3", "ReadOnly", "7", "0x6064", "0",
                                                           "4", "Position (high word)"}));
    EXPECT_EQ(grid.cell(3, SdoColumn::Address), "11");
    EXPECT_EQ(grid.usedRowCount(), 5);

    // Without the tick, one row only.
    Grid single = sdoGrid();
    single.setCell(1, SdoColumn::Address, "10");
    ASSERT_EQ(fillSdoRows(single, 1, entry(0x6064, 0, 0x0004, "ro", "Position"), 7, false, " H"),
              SdoPickOutcome::Filled);
    EXPECT_EQ(single.usedRowCount(), 1);
}

TEST(SdoObjectPick, RowWithoutAddressTakesOneAboveEveryOther)
{
    Grid grid = sdoGrid();
    grid.setCell(1, SdoColumn::Address, "40");
    grid.setCell(2, SdoColumn::Address, "7");
    ASSERT_EQ(fillSdoRows(grid, 3, entry(0x6064, 0, 0x0004, "ro", "Position"), 7, true, " H"),
              SdoPickOutcome::Filled);
    EXPECT_EQ(grid.cell(3, SdoColumn::Address), "41");
    EXPECT_EQ(grid.cell(4, SdoColumn::Address), "42");
}

TEST(SdoObjectPick, RefusalsChangeNothing)
{
    Grid full = sdoGrid();
    for (int r = 1; r <= full.rowCount(); ++r)
        full.setCell(r, SdoColumn::Address, std::to_string(r));
    const Grid before = full;
    EXPECT_EQ(fillSdoRows(full, 3, entry(0x6064, 0, 0x0004, "ro", "Position"), 7, true, " H"),
              SdoPickOutcome::NoRoomBelow);
    EXPECT_EQ(fillSdoRows(full, 3, entry(0x1008, 0, 0x0009, "ro", "Name"), 7, false, " H"),
              SdoPickOutcome::DoesNotFit);
    for (int r = 1; r <= full.rowCount(); ++r)
        ASSERT_EQ(rowCells(full, r), rowCells(before, r)) << r;

    Grid last = sdoGrid();
    EXPECT_EQ(fillSdoRows(last, last.rowCount(), entry(0x6064, 0, 0x0004, "ro", "P"), 7, true, " H"),
              SdoPickOutcome::NoRoomBelow);

    Grid top = sdoGrid();
    top.setCell(1, SdoColumn::Address, "65535");
    EXPECT_EQ(fillSdoRows(top, 2, entry(0x6041, 0, 0x0006, "ro", "S"), 7, false, " H"),
              SdoPickOutcome::NoFreeAddress);
    EXPECT_EQ(top.cell(2, SdoColumn::Index), "");
}

} // namespace

} // namespace setforge
