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

// Every SDO row reads its object, so a write-only one never becomes a row, ReadWrite or not;
// the other accesses keep their fit.
TEST(SdoObjectPick, WriteOnlyObjectIsNotTaken)
{
    for (const char* access : {"ro", "rw", "rwr", "rww", "const"})
        EXPECT_EQ(sdoFit(entry(0x6040, 0, 0x0006, access, "x")), SdoFit::Fits) << access;
    EXPECT_EQ(sdoFit(entry(0x6040, 0, 0x0006, "wo", "Controlword")), SdoFit::WriteOnly);
    // A size that does not fit says so first: that is the fault to mend in the EDS.
    EXPECT_EQ(sdoFit(entry(0x6040, 0, 0x0009, "wo", "Name")), SdoFit::Text);

    Grid grid = sdoGrid();
    grid.setCell(1, SdoColumn::Address, "100");
    const Grid before = grid;
    EXPECT_EQ(fillSdoRows(grid, 1, entry(0x6040, 0, 0x0006, "wo", "Controlword"), 5, true, " H"),
              SdoPickOutcome::DoesNotFit);
    EXPECT_EQ(rowCells(grid, 1), rowCells(before, 1));
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

// Several objects at once: the first fills the row, each further row is inserted below and
// takes the next free address after the one above; rows below move down intact.
TEST(SdoObjectPick, SeveralObjectsTakeConsecutiveFreeAddresses)
{
    Grid grid = sdoGrid();
    grid.setCell(1, SdoColumn::Address, "10");
    grid.setCell(2, SdoColumn::Address, "12");
    grid.setCell(2, SdoColumn::Mnemonic, "kept");
    const std::vector<EdsEntry> entries = {entry(0x6041, 0, 0x0006, "ro", "Statusword"),
                                           entry(0x6064, 0, 0x0004, "ro", "Position"),
                                           entry(0x6060, 0, 0x0002, "rw", "Modes")};
    ASSERT_EQ(fillSdoRows(grid, 1, entries, 7, true, " H"), SdoPickOutcome::Filled);
    const std::vector<std::vector<std::string>> expected = {
        {"10", "2", "1", "ReadOnly", "7", "0x6041", "0", "2", "Statusword"},
        {"11", "2", "1", "ReadOnly", "7", "0x6064", "0", "4", "Position"},
        {"13", "4", "3", "ReadOnly", "7", "0x6064", "0", "4", "Position H"}, // 12 is row 2's
        {"14", "0", "1", "ReadWrite", "7", "0x6060", "0", "1", "Modes"},
    };
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(rowCells(grid, r), expected[r - 1]) << r;
    EXPECT_EQ(grid.cell(5, SdoColumn::Address), "12");
    EXPECT_EQ(grid.cell(5, SdoColumn::Mnemonic), "kept");
    EXPECT_EQ(grid.usedRowCount(), 5);

    // Without the high word, and into a row without an address: above every address.
    Grid plain = sdoGrid();
    plain.setCell(1, SdoColumn::Address, "40");
    ASSERT_EQ(fillSdoRows(plain, 2, entries, 7, false, " H"), SdoPickOutcome::Filled);
    EXPECT_EQ(plain.cell(2, SdoColumn::Address), "41");
    EXPECT_EQ(plain.cell(3, SdoColumn::Address), "42");
    EXPECT_EQ(plain.cell(4, SdoColumn::Address), "43");
    EXPECT_EQ(plain.usedRowCount(), 4);
}

TEST(SdoObjectPick, SeveralObjectsAreAllOrNothing)
{
    const std::vector<EdsEntry> two = {entry(0x6041, 0, 0x0006, "ro", "A"),
                                       entry(0x6042, 0, 0x0006, "ro", "B")};
    // One object that does not fit refuses them all.
    Grid grid = sdoGrid();
    grid.setCell(1, SdoColumn::Address, "1");
    const Grid before = grid;
    EXPECT_EQ(fillSdoRows(grid, 1, {two[0], entry(0x6040, 0, 0x0006, "wo", "W")}, 7, false, " H"),
              SdoPickOutcome::DoesNotFit);
    EXPECT_EQ(fillSdoRows(grid, 1, std::vector<EdsEntry>{}, 7, false, " H"), SdoPickOutcome::DoesNotFit);
    EXPECT_EQ(rowCells(grid, 1), rowCells(before, 1));
    EXPECT_EQ(rowCells(grid, 2), rowCells(before, 2));
    // The second object needs the last row free: here it holds an address.
    grid.setCell(grid.rowCount(), SdoColumn::Address, "999");
    const Grid withLast = grid;
    EXPECT_EQ(fillSdoRows(grid, 1, two, 7, false, " H"), SdoPickOutcome::NoRoomBelow);
    for (int r = 1; r <= grid.rowCount(); ++r)
        ASSERT_EQ(rowCells(grid, r), rowCells(withLast, r)) << r;
    // Two rows from the second-last row: one row is inserted, so the last row must be free.
    Grid nearEnd = sdoGrid();
    EXPECT_EQ(fillSdoRows(nearEnd, nearEnd.rowCount(), two, 7, false, " H"), SdoPickOutcome::NoRoomBelow);
    ASSERT_EQ(fillSdoRows(nearEnd, nearEnd.rowCount() - 1, two, 7, false, " H"), SdoPickOutcome::Filled);
    EXPECT_EQ(nearEnd.cell(nearEnd.rowCount(), SdoColumn::Mnemonic), "B");
}

} // namespace

} // namespace setforge
