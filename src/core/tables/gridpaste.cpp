#include "core/tables/gridpaste.h"

#include <algorithm>
#include <optional>

#include "core/lang/textid.h"
#include "core/lang/uitexts.h"
#include "core/tables/grid.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

PasteOutcome pasteIntoGrid(const TableDefinition& table, Grid& grid, int firstRow,
                           const std::vector<int>& columns, const CellBlock& block)
{
    PasteOutcome outcome;
    for (std::size_t r = 0; r < block.size(); ++r) {
        const int row = firstRow + static_cast<int>(r);
        if (row > grid.rowCount()) {
            outcome.rowsPastEnd = static_cast<int>(block.size() - r);
            break;
        }
        if (row < 1)
            break;
        const std::size_t width = std::min(block[r].size(), columns.size());
        for (std::size_t c = 0; c < width; ++c) {
            const int column = columns[c];
            if (column < 1 || column >= grid.columnCount() || column >= table.columnCount())
                continue;
            if (std::optional<std::string> text = table.columns[column].pastedText(block[r][c])) {
                grid.setCell(row, column, std::move(*text));
                ++outcome.written;
            } else {
                outcome.refused.push_back({row, column});
            }
        }
    }
    return outcome;
}

std::string refusedPasteMessage(const std::vector<CellPosition>& refused,
                                const std::vector<std::string>& titles, const UiTexts& texts)
{
    if (refused.empty())
        return {};
    // A whole column pasted from elsewhere may refuse hundreds of cells; the box stays readable.
    constexpr std::size_t kListed = 20;
    std::string message = texts[TextId::PasteRefusedHeading];
    for (std::size_t k = 0; k < refused.size() && k < kListed; ++k) {
        const CellPosition& cell = refused[k];
        message += '\n';
        message += texts[TextId::PasteRefusedRow] + std::to_string(cell.row);
        if (cell.column >= 0 && cell.column < static_cast<int>(titles.size()))
            message += ", " + titles[cell.column];
    }
    if (refused.size() > kListed)
        message += '\n' + texts[TextId::PasteRefusedMore] + std::to_string(refused.size() - kListed);
    return message;
}

std::string pasteOutcomeMessage(const PasteOutcome& outcome, const std::vector<std::string>& titles,
                                const UiTexts& texts)
{
    std::string message = refusedPasteMessage(outcome.refused, titles, texts);
    if (outcome.rowsPastEnd > 0) {
        if (!message.empty())
            message += "\n\n";
        message += texts[TextId::PasteRowsDidNotFit] + std::to_string(outcome.rowsPastEnd);
    }
    return message;
}

} // namespace setforge
