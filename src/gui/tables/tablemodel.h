#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QStringList>

#include "core/tables/cellblock.h"

class Grid;
struct TableDefinition;

// The grid of a table dialog as a Qt model over the core Grid: model row i is grid row i+1,
// model column c is grid column c. Column 0 shows the row number and cannot be edited;
// check-box columns show "Y" as ticked and write "Y" or "N".
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TableModel(const TableDefinition& table, Grid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The column titles, column 0 first.
    void setTitles(const QStringList& titles);
    // Tells the views that every cell may have changed (after a load).
    void reload();
    // Tells the views that the data cells of grid rows `firstRow`..N may have changed.
    void rowsChangedFrom(int firstRow);

    // Writes `block` into the data cells from model row `firstRow` down, its k-th column going to
    // columns[k]. Rows past the grid and cells past the listed columns are dropped. Returns the
    // number of cells written.
    int pasteBlock(int firstRow, const std::vector<int>& columns, const CellBlock& block);
    // Empties the data cells among `indexes`; column 0 is left alone.
    void clearCells(const QModelIndexList& indexes);

    const TableDefinition& table() const { return m_table; }
    const Grid& grid() const { return m_grid; }

private:
    bool isDataCell(const QModelIndex& index) const;
    bool isCheckColumn(int column) const;

    const TableDefinition& m_table;
    Grid& m_grid;
    QStringList m_titles;
};
