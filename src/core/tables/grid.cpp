#include "core/tables/grid.h"

namespace setforge {

namespace {

const std::string kEmpty;

} // namespace

bool isBlankCell(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 0x20)
            return false;
    return true;
}

Grid::Grid(int rows, int columns)
    : m_rows(rows > 0 ? rows : 0), m_columns(columns > 0 ? columns : 0),
      m_cells(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_columns))
{
    clear();
}

std::size_t Grid::offset(int row, int column) const
{
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(m_columns) +
           static_cast<std::size_t>(column);
}

const std::string& Grid::cell(int row, int column) const
{
    if (row < 1 || row > m_rows || column < 0 || column >= m_columns)
        return kEmpty;
    return m_cells[offset(row, column)];
}

void Grid::setCell(int row, int column, std::string text)
{
    if (row < 1 || row > m_rows || column < 1 || column >= m_columns)
        return;
    m_cells[offset(row, column)] = std::move(text);
}

void Grid::clear()
{
    for (int row = 1; row <= m_rows; ++row) {
        if (m_columns > 0)
            m_cells[offset(row, 0)] = std::to_string(row);
        clearRow(row);
    }
}

void Grid::clearRow(int row)
{
    if (row < 1 || row > m_rows)
        return;
    for (int column = 1; column < m_columns; ++column)
        m_cells[offset(row, column)].clear();
}

void Grid::copyRow(int from, int to)
{
    if (from < 1 || from > m_rows || to < 1 || to > m_rows || from == to)
        return;
    for (int column = 1; column < m_columns; ++column)
        m_cells[offset(to, column)] = m_cells[offset(from, column)];
}

int Grid::usedRowCount() const
{
    int row = 1;
    while (row <= m_rows && !isBlankCell(cell(row, 1)))
        ++row;
    return row - 1;
}

} // namespace setforge
