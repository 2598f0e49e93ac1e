#pragma once

#include <string>
#include <vector>

#include "core/tables/cellblock.h"

namespace setforge {

class Grid;
class UiTexts;
struct TableDefinition;

// A data cell of a grid: row 1..N, column 1..C-1.
struct CellPosition {
    int row = 0;
    int column = 0;
    bool operator==(const CellPosition&) const = default;
};

// What a paste did: how many cells took their text, the cells that refused theirs (in block
// order) and kept their old text, and how many rows of the block lay past the grid's last row.
struct PasteOutcome {
    int written = 0;
    std::vector<CellPosition> refused;
    int rowsPastEnd = 0;
};

// Writes `block` into `grid` from data row `firstRow` down, its k-th column going to
// columns[k]. Each cell takes its text only when its column accepts it
// (TableColumn::pastedText), in the column's spelling; a refused cell keeps its text and the
// rest of the block is still written. Rows past the grid (counted in rowsPastEnd), cells past
// the listed columns and columns outside 1..C-1 are dropped without counting as refused.
PasteOutcome pasteIntoGrid(const TableDefinition& table, Grid& grid, int firstRow,
                           const std::vector<int>& columns, const CellBlock& block);

// The one message that names the refused cells, one per line as "Row 3, On Change" under a
// heading; `titles` are the column titles as shown, column 0 first. Empty when none refused.
std::string refusedPasteMessage(const std::vector<CellPosition>& refused,
                                const std::vector<std::string>& titles, const UiTexts& texts);

// The message after a paste: the refused cells (refusedPasteMessage) and the number of rows
// that did not fit below the last row, separated by a blank line. Empty when neither happened.
std::string pasteOutcomeMessage(const PasteOutcome& outcome, const std::vector<std::string>& titles,
                                const UiTexts& texts);

} // namespace setforge
