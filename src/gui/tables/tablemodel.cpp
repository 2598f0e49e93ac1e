#include "gui/tables/tablemodel.h"

#include <algorithm>

#include <QApplication>
#include <QPalette>

#include "core/tables/grid.h"
#include "core/tables/tabledefinition.h"
#include "gui/app/qtext.h"

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
        m_grid.setCell(index.row() + 1, index.column(), ticked ? "Y" : "N");
    } else if (role == Qt::EditRole) {
        m_grid.setCell(index.row() + 1, index.column(), us(value.toString()));
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
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return (section >= 0 && section < m_grid.rowCount()) ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= m_titles.size())
        return {};
    return m_titles.at(section);
}

void TableModel::setTitles(const QStringList& titles)
{
    m_titles = titles;
    if (m_grid.columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_grid.columnCount() - 1);
}

void TableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void TableModel::rowsChangedFrom(int firstRow)
{
    if (firstRow < 1 || firstRow > m_grid.rowCount() || m_grid.columnCount() < 2)
        return;
    emit dataChanged(index(firstRow - 1, 1), index(m_grid.rowCount() - 1, m_grid.columnCount() - 1));
}

int TableModel::pasteBlock(int firstRow, const std::vector<int>& columns, const CellBlock& block)
{
    int written = 0;
    int lastRow = -1;
    int minColumn = m_grid.columnCount();
    int maxColumn = 0;
    for (std::size_t r = 0; r < block.size(); ++r) {
        const int row = firstRow + static_cast<int>(r);
        if (row < 0 || row >= m_grid.rowCount())
            break;
        const std::size_t width = std::min(block[r].size(), columns.size());
        for (std::size_t c = 0; c < width; ++c) {
            const int column = columns[c];
            if (column < 1 || column >= m_grid.columnCount())
                continue;
            m_grid.setCell(row + 1, column, block[r][c]);
            ++written;
            lastRow = row;
            minColumn = std::min(minColumn, column);
            maxColumn = std::max(maxColumn, column);
        }
    }
    if (written > 0)
        emit dataChanged(index(firstRow, minColumn), index(lastRow, maxColumn));
    return written;
}

void TableModel::clearCells(const QModelIndexList& indexes)
{
    int top = m_grid.rowCount(), bottom = -1, left = m_grid.columnCount(), right = -1;
    for (const QModelIndex& index : indexes) {
        if (!isDataCell(index))
            continue;
        m_grid.setCell(index.row() + 1, index.column(), std::string());
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    // One notice for the whole block keeps a large selection quick.
    if (bottom >= 0)
        emit dataChanged(index(top, left), index(bottom, right));
}
