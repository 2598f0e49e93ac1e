#include "gui/tables/tablemodel.h"

#include <algorithm>

#include <QApplication>
#include <QPalette>

#include "core/tables/grid.h"
#include "core/tables/tabledefinition.h"
#include "gui/app/qtext.h"
#include "gui/app/tooltipwrapper.h"

namespace setforge {

TableModel::TableModel(const TableDefinition& table, Grid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_grid(grid)
{
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.rowCount();
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.columnCount();
}

bool TableModel::isDataCell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && index.column() >= 1 &&
           index.column() < m_grid.columnCount() && index.row() >= 0 && index.row() < m_grid.rowCount();
}

bool TableModel::isCheckColumn(int column) const
{
    return column >= 1 && column < m_table.columnCount() &&
           m_table.columns[column].editor == ColumnEditor::CheckBox;
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_grid.rowCount() || index.column() >= m_grid.columnCount())
        return {};
    const std::string& text = m_grid.cell(index.row() + 1, index.column());
    if (isCheckColumn(index.column())) {
        if (role == Qt::CheckStateRole) {
            const bool ticked = text == "Y" || text == "y";
            return static_cast<int>(ticked ? Qt::Checked : Qt::Unchecked);
        }
        if (role == Qt::EditRole)
            return qs(text);
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return qs(text);
    case Qt::BackgroundRole:
        if (index.column() == 0)
            return QApplication::palette().brush(QPalette::Button);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == 0)
            return static_cast<int>(Qt::AlignCenter);
        return {};
    default:
        return {};
    }
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!isDataCell(index))
        return false;
    if (isCheckColumn(index.column()) && role == Qt::CheckStateRole) {
        const bool ticked = value.toInt() == static_cast<int>(Qt::Checked);
        m_history.begin(m_grid);
        m_grid.setCell(index.row() + 1, index.column(), ticked ? "Y" : "N");
        m_history.commit(m_grid);
    } else if (role == Qt::EditRole) {
        m_history.begin(m_grid);
        m_grid.setCell(index.row() + 1, index.column(), us(value.toString()));
        m_history.commit(m_grid);
    } else {
        return false;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == 0)
        return Qt::ItemIsEnabled;
    if (isCheckColumn(index.column()))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal)
        return (section >= 0 && section < m_tips.size()) ? QVariant(wrappedTip(m_tips.at(section)))
                                                         : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return (section >= 0 && section < m_grid.rowCount()) ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= m_titles.size())
        return {};
    return m_titles.at(section);
}

void TableModel::setTitles(const QStringList& titles, const QStringList& tips)
{
    m_titles = titles;
    m_tips = tips;
    if (m_grid.columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_grid.columnCount() - 1);
}

void TableModel::reload()
{
    beginResetModel();
    m_history.clear();
    endResetModel();
}

QModelIndex TableModel::afterHistoryStep(const std::optional<CellPosition>& cell)
{
    if (!cell)
        return {};
    // A row operation touches many rows; one notice for every data cell is simplest and quick.
    if (m_grid.rowCount() > 0 && m_grid.columnCount() > 1)
        emit dataChanged(index(0, 1), index(m_grid.rowCount() - 1, m_grid.columnCount() - 1));
    return index(cell->row - 1, cell->column);
}

QModelIndex TableModel::undo()
{
    return afterHistoryStep(m_history.undo(m_grid));
}

QModelIndex TableModel::redo()
{
    return afterHistoryStep(m_history.redo(m_grid));
}

void TableModel::rowsChangedFrom(int firstRow)
{
    if (firstRow < 1 || firstRow > m_grid.rowCount() || m_grid.columnCount() < 2)
        return;
    emit dataChanged(index(firstRow - 1, 1), index(m_grid.rowCount() - 1, m_grid.columnCount() - 1));
}

PasteOutcome TableModel::pasteBlock(int firstRow, const std::vector<int>& columns, const CellBlock& block)
{
    m_history.begin(m_grid);
    const PasteOutcome outcome = pasteIntoGrid(m_table, m_grid, firstRow + 1, columns, block);
    m_history.commit(m_grid);
    // One notice for the block's bounds; refused cells in it are unchanged, which views allow.
    const int rows = std::min<int>(static_cast<int>(block.size()), m_grid.rowCount() - firstRow);
    if (rows > 0 && !columns.empty()) {
        const auto [low, high] = std::minmax_element(columns.begin(), columns.end());
        if (*low >= 1 && *high < m_grid.columnCount())
            emit dataChanged(index(firstRow, *low), index(firstRow + rows - 1, *high));
        else
            emit dataChanged(index(firstRow, 1), index(firstRow + rows - 1, m_grid.columnCount() - 1));
    }
    return outcome;
}

void TableModel::clearCells(const QModelIndexList& indexes)
{
    int top = m_grid.rowCount(), bottom = -1, left = m_grid.columnCount(), right = -1;
    m_history.begin(m_grid);
    for (const QModelIndex& index : indexes) {
        if (!isDataCell(index))
            continue;
        m_grid.setCell(index.row() + 1, index.column(), std::string());
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    m_history.commit(m_grid);
    // One notice for the whole block keeps a large selection quick.
    if (bottom >= 0)
        emit dataChanged(index(top, left), index(bottom, right));
}

} // namespace setforge
