#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setforge {

// True when `text` is empty or made only of characters up to U+0020 (spaces and control
// characters). A blank column 1 ends a table's content.
bool isBlankCell(std::string_view text);

// The texts of a table: data rows 1..N and columns 0..C-1, column 0 holding the row number.
// Row 0 (the header) is not part of it. Sizes never change after construction. A cell holds
// exactly the text that was typed or loaded: no type, no trimming.
class Grid {
public:
    // A grid of `rows` data rows and `columns` columns counting column 0; every data cell empty.
    Grid(int rows, int columns);

    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }

    // The text of the cell; a position outside rows 1..N or columns 0..C-1 gives "".
    const std::string& cell(int row, int column) const;
    // Replaces the text of a data cell. Column 0 and positions outside the grid are ignored.
    void setCell(int row, int column, std::string text);

    // Column 0 := the row number in decimal, every data cell := "".
    void clear();
    // Empties columns 1..C-1 of `row` (ignored outside 1..N).
    void clearRow(int row);
    // Copies columns 1..C-1 of row `from` into row `to` (both within 1..N).
    void copyRow(int from, int to);

    // The number of used rows: rows 1..k where row k+1 is the first with a blank column 1.
    int usedRowCount() const;

private:
    std::size_t offset(int row, int column) const;

    int m_rows;
    int m_columns;
    std::vector<std::string> m_cells;
};

} // namespace setforge
