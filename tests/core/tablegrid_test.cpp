#include <gtest/gtest.h>

#include "core/lang/uitexts.h"
#include "core/tables/cellblock.h"
#include "core/tables/grid.h"
#include "core/tables/gridhistory.h"
#include "core/tables/gridpaste.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/rowoperations.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

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

TEST(GridPaste, CheckBoxAndDropDownCellsTakeOnlyTheirOwnTexts)
{
    const TableColumn& onChange = pdoTransmitTable().columns[4];
    const TableColumn& readWrite = sdoClientTable().columns[SdoColumn::ReadWrite];
    const TableColumn& mnemonic = sdoClientTable().columns[SdoColumn::Mnemonic];
    struct Case {
        const TableColumn* column;
        const char* pasted;
        const char* stored; // nullptr: refused
    };
    const Case kCases[] = {
        {&onChange, "Y", "Y"},
        {&onChange, "y", "Y"},
        {&onChange, "n", "N"},
        {&onChange, "", ""},
        {&onChange, "yes", nullptr},
        {&onChange, "1", nullptr},
        {&onChange, "TRUE", nullptr},
        {&onChange, " Y", nullptr},
        {&readWrite, "ReadWrite", "ReadWrite"},
        {&readWrite, "readonly", "ReadOnly"},
        {&readWrite, "READWRITE", "ReadWrite"},
        {&readWrite, "RW", nullptr},
        {&readWrite, "", nullptr},
        {&readWrite, "ReadOnly ", nullptr},
        {&mnemonic, "any text ", "any text "},
        {&mnemonic, "", ""},
    };
    for (const Case& c : kCases) {
        const std::optional<std::string> stored = c.column->pastedText(c.pasted);
        if (c.stored) {
            ASSERT_TRUE(stored.has_value()) << "\"" << c.pasted << "\"";
            EXPECT_EQ(*stored, c.stored) << "\"" << c.pasted << "\"";
        } else {
            EXPECT_FALSE(stored.has_value()) << "\"" << c.pasted << "\" -> \"" << stored.value_or("") << "\"";
        }
    }
}

TEST(GridPaste, RefusedCellsKeepTheirTextAndTheRestIsPasted)
{
    const TableDefinition& sdo = sdoClientTable();
    Grid grid(sdo.rowCount, sdo.columnCount());
    grid.setCell(2, SdoColumn::ReadWrite, "ReadOnly");
    grid.setCell(3, SdoColumn::ReadWrite, "ReadWrite");
    const std::vector<int> columns = {SdoColumn::LoByte, SdoColumn::ReadWrite, SdoColumn::DeviceId};
    const CellBlock block = {{"1", "rw", "5"}, {"2", "readwrite", "6"}, {"3", "x", "7"}};

    const PasteOutcome outcome = pasteIntoGrid(sdo, grid, 1, columns, block);
    EXPECT_EQ(outcome.written, 7);
    const std::vector<CellPosition> refused = {{1, SdoColumn::ReadWrite}, {3, SdoColumn::ReadWrite}};
    EXPECT_EQ(outcome.refused, refused);
    EXPECT_EQ(grid.cell(1, SdoColumn::ReadWrite), "");
    EXPECT_EQ(grid.cell(2, SdoColumn::ReadWrite), "ReadWrite");
    EXPECT_EQ(grid.cell(3, SdoColumn::ReadWrite), "ReadWrite");
    EXPECT_EQ(grid.cell(3, SdoColumn::LoByte), "3");
    EXPECT_EQ(grid.cell(3, SdoColumn::DeviceId), "7");

    EXPECT_EQ(outcome.rowsPastEnd, 0);
    // Rows past the grid are dropped, not refused, and counted.
    const PasteOutcome atEnd = pasteIntoGrid(sdo, grid, sdo.rowCount, columns, block);
    EXPECT_EQ(atEnd.written, 2);
    const std::vector<CellPosition> lastRow = {{sdo.rowCount, SdoColumn::ReadWrite}};
    EXPECT_EQ(atEnd.refused, lastRow);
    EXPECT_EQ(atEnd.rowsPastEnd, 2);
    EXPECT_EQ(pasteIntoGrid(sdo, grid, sdo.rowCount - 2, columns, block).rowsPastEnd, 0);
    EXPECT_EQ(pasteIntoGrid(sdo, grid, sdo.rowCount - 1, columns, block).rowsPastEnd, 1);

    UiTexts texts;
    const std::vector<std::string> titles = {"N", "Address", "Hi", "Lo", "R/W"};
    EXPECT_EQ(refusedPasteMessage(refused, titles, texts), texts[1340] + "\nRow 1, R/W\nRow 3, R/W");
    EXPECT_EQ(refusedPasteMessage({}, titles, texts), "");
    // A long list names the first twenty cells and counts the rest.
    const std::vector<CellPosition> many(25, CellPosition{7, 4});
    const std::string message = refusedPasteMessage(many, titles, texts);
    EXPECT_NE(message.find("\nOther cells not pasted: 5"), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 21);

    // After the paste: the refused cells, the rows that did not fit, or both.
    const std::string past = "Rows that did not fit below the last row and were not pasted: ";
    EXPECT_EQ(pasteOutcomeMessage({3, {}, 0}, titles, texts), "");
    EXPECT_EQ(pasteOutcomeMessage({3, {}, 498}, titles, texts), past + "498");
    EXPECT_EQ(pasteOutcomeMessage({3, refused, 2}, titles, texts),
              texts[1340] + "\nRow 1, R/W\nRow 3, R/W\n\n" + past + "2");
}

TEST(GridHistory, UndoesAndRedoesWholeChanges)
{
    Grid grid = lettered();
    GridHistory history;
    EXPECT_FALSE(history.undo(grid).has_value());

    // Typing one cell, then a row deletion that moves every row below.
    history.begin(grid);
    grid.setCell(2, 2, "typed");
    EXPECT_TRUE(history.commit(grid));
    history.begin(grid);
    deleteGridRow(1, grid);
    EXPECT_TRUE(history.commit(grid));
    EXPECT_EQ(grid.cell(1, 2), "typed");

    // A change that changes nothing is no step, and an unmatched commit does nothing.
    history.begin(grid);
    EXPECT_FALSE(history.commit(grid));
    EXPECT_FALSE(history.commit(grid));

    const std::optional<CellPosition> undone = history.undo(grid);
    ASSERT_TRUE(undone.has_value());
    EXPECT_EQ(*undone, (CellPosition{1, 1}));
    EXPECT_EQ(grid.cell(1, 1), "a");
    EXPECT_EQ(grid.cell(2, 2), "typed");
    EXPECT_EQ(grid.cell(4, 1), "d");
    EXPECT_EQ(history.undo(grid), (CellPosition{2, 2}));
    EXPECT_EQ(grid.cell(2, 2), "B");
    EXPECT_FALSE(history.canUndo());

    EXPECT_EQ(history.redo(grid), (CellPosition{2, 2}));
    EXPECT_EQ(grid.cell(2, 2), "typed");
    // A new change drops what could still be redone.
    history.begin(grid);
    history.begin(grid); // nested: one step
    grid.setCell(3, 1, "x");
    EXPECT_FALSE(history.commit(grid));
    grid.setCell(3, 2, "y");
    EXPECT_TRUE(history.commit(grid));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undo(grid), (CellPosition{3, 1}));
    EXPECT_EQ(grid.cell(3, 1), "c");
    EXPECT_EQ(grid.cell(3, 2), "C");

    history.clear();
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

} // namespace setforge
