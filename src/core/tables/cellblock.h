#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setforge {

// A rectangular block of cell texts, row by row, as spreadsheets put on the clipboard.
using CellBlock = std::vector<std::vector<std::string>>;

// Reads tab-separated text: cells split at tabs, rows at "\n" or "\r\n"; a final line end
// does not make an empty row. A cell that starts with a double quote runs to the closing
// quote and may hold tabs, line ends and doubled quotes (""), as spreadsheets write them.
CellBlock parseCellBlock(std::string_view text);

// Writes a block as tab-separated text, each row ended by "\n". A cell holding a tab or a
// line end, or starting with a double quote, is quoted with inner quotes doubled.
std::string formatCellBlock(const CellBlock& block);

} // namespace setforge
