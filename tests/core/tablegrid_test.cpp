#include <gtest/gtest.h>

#include "core/tables/cellblock.h"
#include "core/tables/grid.h"
#include "core/tables/rowoperations.h"

namespace {

TEST(Grid, UsedRowsEndAtTheFirstBlankColumnOne)
{
    struct Case {
        const char* row2;
        int used;
    };
    // Blank is empty or only characters up to U+0020.
    const Case kCases[] = {{"", 1},  {" ", 1},  {"   ", 1},      {"\t", 1}, {" \x01\x1f ", 1},
                           {"x", 3}, {" x", 3}, {"\xc3\xa9", 3}, {"0", 3}};
    for (const Case& c : kCases) {
        Grid grid(5, 3);
        grid.setCell(1, 1, "a");
        grid.setCell(2, 1, c.row2);
        grid.setCell(2, 2, "other cells do not count");
        grid.setCell(3, 1, "c");
        EXPECT_EQ(grid.usedRowCount(), c.used) << "row 2 column 1 \"" << c.row2 << "\"";
    }
    Grid full(3, 2);
    for (int r = 1; r <= 3; ++r)
        full.setCell(r, 1, "v");
    EXPECT_EQ(full.usedRowCount(), 3);
    EXPECT_EQ(Grid(3, 2).usedRowCount(), 0);
}

TEST(Grid, ColumnZeroHoldsRowNumbersAndCannotBeWritten)
{
    Grid grid(12, 3);
    EXPECT_EQ(grid.cell(1, 0), "1");
    EXPECT_EQ(grid.cell(12, 0), "12");
    grid.setCell(3, 0, "x");
    EXPECT_EQ(grid.cell(3, 0), "3");
    // Outside the grid: nothing is read or written.
    grid.setCell(13, 1, "x");
    grid.setCell(0, 1, "x");
    grid.setCell(1, 3, "x");
    EXPECT_EQ(grid.cell(13, 1), "");
    EXPECT_EQ(grid.cell(0, 1), "");
    EXPECT_EQ(grid.cell(1, 3), "");
}

// Rows 1..4 of a 4-row grid hold "a".."d" in column 1 and "A".."D" in column 2.
Grid lettered()
{
    Grid grid(4, 3);
    const char* lower[] = {"a", "b", "c", "d"};
    const char* upper[] = {"A", "B", "C", "D"};
    for (int r = 1; r <= 4; ++r) {
        grid.setCell(r, 1, lower[r - 1]);
        grid.setCell(r, 2, upper[r - 1]);
    }
    return grid;
}

TEST(RowOperations, DeleteAndInsertAtEveryPlace)
{
    enum class Op { Delete, Insert };
    struct Case {
        Op op;
        int row;
        std::vector<std::string> column1;
        std::vector<std::string> column2;
    };
    const Case kCases[] = {
        {Op::Delete, 1, {"b", "c", "d", ""}, {"B", "C", "D", ""}},
        {Op::Delete, 2, {"a", "c", "d", ""}, {"A", "C", "D", ""}},
        {Op::Delete, 4, {"a", "b", "c", ""}, {"A", "B", "C", ""}},
        {Op::Insert, 1, {"", "a", "b", "c"}, {"", "A", "B", "C"}},
        {Op::Insert, 3, {"a", "b", "", "c"}, {"A", "B", "", "C"}},
        {Op::Insert, 4, {"a", "b", "c", ""}, {"A", "B", "C", ""}},
        // Outside 1..N nothing changes.
        {Op::Delete, 0, {"a", "b", "c", "d"}, {"A", "B", "C", "D"}},
        {Op::Insert, 5, {"a", "b", "c", "d"}, {"A", "B", "C", "D"}},
    };
    for (const Case& c : kCases) {
        Grid grid = lettered();
        if (c.op == Op::Delete)
            deleteGridRow(c.row, grid);
        else
            insertGridRow(c.row, grid);
        for (int r = 1; r <= 4; ++r) {
            const std::string where = (c.op == Op::Delete ? "delete " : "insert ") + std::to_string(c.row) +
                                      ", row " + std::to_string(r);
            EXPECT_EQ(grid.cell(r, 0), std::to_string(r)) << where;
            EXPECT_EQ(grid.cell(r, 1), c.column1[static_cast<std::size_t>(r) - 1]) << where;
            EXPECT_EQ(grid.cell(r, 2), c.column2[static_cast<std::size_t>(r) - 1]) << where;
        }
    }
}

TEST(CellBlock, ReadsSpreadsheetText)
{
    struct Case {
        const char* text;
        CellBlock expected;
    };
    const Case kCases[] = {
        {"", {}},
        {"a", {{"a"}}},
        {"a\tb\n", {{"a", "b"}}},
        {"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
        {"a\t\tc\n", {{"a", "", "c"}}},
        {"\n", {{""}}},
        {"a\n\nb", {{"a"}, {""}, {"b"}}},
        {"\"x\ty\"\tz\n", {{"x\ty", "z"}}},
        {"\"line\nbreak\"\n", {{"line\nbreak"}}},
        {"\"say \"\"hi\"\"\"\n", {{"say \"hi\""}}},
        {"in\"side\n", {{"in\"side"}}},
        {"\"open\n", {{"\"open"}}},
        {" 5 \t0x10\n", {{" 5 ", "0x10"}}},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(parseCellBlock(c.text), c.expected) << "text \"" << c.text << "\"";
}

TEST(CellBlock, WritesWhatItReads)
{
    const CellBlock block = {
        {"100", "", "ReadWrite"}, {"tab\there", "line\nend", "\"quoted\""}, {" 5 ", "a\"b", ""}};
    const std::string text = formatCellBlock(block);
    EXPECT_EQ(text.substr(0, 19), "100\t\tReadWrite\n\"tab");
    EXPECT_EQ(parseCellBlock(text), block);
}

} // namespace
