#pragma once

#include <vector>

#include <QTableView>

class TableModel;

// The grid ASG of a table dialog. Beyond a plain table view it copies and pastes blocks of
// cells as tab-separated text, empties the selected cells with Delete, moves to the next cell
// on Enter when asked to, and sizes a column on a double-click on its border when asked to.
class TableGrid : public QTableView {
    Q_OBJECT
public:
    explicit TableGrid(QWidget* parent = nullptr);

    // Enter moves to the next cell (and ends an edit there) when on.
    void setJumpOnEnter(bool on) { m_jumpOnEnter = on; }
    // A double-click on a column border sizes the column to its contents when on.
    void setAutoSizeOnDoubleClick(bool on) { m_autoSize = on; }

    // The visible data columns, left to right (never column 0).
    std::vector<int> visibleDataColumns() const;
    // The cell after `index` in reading order over the visible data columns; the last cell of
    // the last row stays where it is.
    QModelIndex nextCell(const QModelIndex& index) const;

    // Puts the selected block of visible cells on the clipboard as tab-separated text.
    void copySelection();
    // Writes the clipboard's tab-separated block from the selected or current cell on,
    // over the visible data columns, within the grid.
    void pasteClipboard();
    // Empties the selected data cells.
    void clearSelectedCells();
    // Hands the text of an open editor to the grid and closes the editor.
    void commitOpenEditor();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    TableModel* tableModel() const;
    void handleBorderDoubleClick(int column);

    bool m_jumpOnEnter = false;
    bool m_autoSize = false;
};
