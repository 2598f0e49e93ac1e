#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QStringList>

#include "core/tables/cellblock.h"
#include "core/tables/gridhistory.h"
#include "core/tables/gridpaste.h"

namespace setforge {

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

    // The column titles and their tooltips, column 0 first.
    void setTitles(const QStringList& titles, const QStringList& tips = {});
    // Tells the views that every cell may have changed (after a load).
    void reload(); // also forgets the undo history: undo works within one showing
    // Tells the views that the data cells of grid rows `firstRow`..N may have changed.
    void rowsChangedFrom(int firstRow);

    // Writes `block` into the data cells from model row `firstRow` down, its k-th column going to
    // columns[k], through the core's paste rules: check-box and drop-down cells refuse texts
    // that are not theirs and keep their value. Rows past the grid and cells past the listed
    // columns are dropped.
    PasteOutcome pasteBlock(int firstRow, const std::vector<int>& columns, const CellBlock& block);
    // Empties the data cells among `indexes`; column 0 is left alone.
    void clearCells(const QModelIndexList& indexes);

    // Frame a change made to the grid outside the model (the row operations) so that it is
    // one undo step. Typing, paste and clearing frame themselves.
    void beginChange() { m_history.begin(m_grid); }
    void endChange() { m_history.commit(m_grid); }
    // Undoes or redoes one step: the first cell it touched, or an invalid index when there
    // was nothing to undo or redo.
    QModelIndex undo();
    QModelIndex redo();

    const TableDefinition& table() const { return m_table; }
    const Grid& grid() const { return m_grid; }

private:
    bool isDataCell(const QModelIndex& index) const;
    bool isCheckColumn(int column) const;
    QModelIndex afterHistoryStep(const std::optional<CellPosition>& cell);

    const TableDefinition& m_table;
    GridHistory m_history;
    Grid& m_grid;
    QStringList m_titles;
    QStringList m_tips;
};

} // namespace setforge
