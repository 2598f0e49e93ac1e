#include "core/tables/gridhistory.h"

namespace setforge {

void GridHistory::begin(const Grid& grid)
{
    if (m_depth++ == 0)
        m_before = grid;
}

bool GridHistory::commit(const Grid& grid)
{
    if (m_depth == 0 || --m_depth > 0 || !m_before)
        return false;
    Step step;
    const Grid& before = *m_before;
    if (before.rowCount() == grid.rowCount() && before.columnCount() == grid.columnCount()) {
        for (int row = 1; row <= grid.rowCount(); ++row)
            for (int column = 1; column < grid.columnCount(); ++column)
                if (before.cell(row, column) != grid.cell(row, column))
                    step.push_back({{row, column}, before.cell(row, column), grid.cell(row, column)});
    }
    m_before.reset();
    if (step.empty())
        return false;
    m_undo.push_back(std::move(step));
    m_redo.clear();
    return true;
}

std::optional<CellPosition> GridHistory::apply(const Step& step, Grid& grid, bool forward)
{
    for (const Change& change : step)
        grid.setCell(change.cell.row, change.cell.column, forward ? change.after : change.before);
    if (step.empty())
        return std::nullopt;
    return step.front().cell;
}

std::optional<CellPosition> GridHistory::undo(Grid& grid)
{
    if (m_undo.empty())
        return std::nullopt;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    const std::optional<CellPosition> first = apply(step, grid, false);
    m_redo.push_back(std::move(step));
    return first;
}

std::optional<CellPosition> GridHistory::redo(Grid& grid)
{
    if (m_redo.empty())
        return std::nullopt;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    const std::optional<CellPosition> first = apply(step, grid, true);
    m_undo.push_back(std::move(step));
    return first;
}

void GridHistory::clear()
{
    m_before.reset();
    m_depth = 0;
    m_undo.clear();
    m_redo.clear();
}

} // namespace setforge
