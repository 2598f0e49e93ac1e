#pragma once

#include <string>
#include <vector>

#include <QTableView>

#include "core/tables/gridpaste.h"

namespace setforge {

class TableModel;
class UiTexts;

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
    // The texts of the grid's own messages; without them no message is shown.
    void setTexts(const UiTexts* texts) { m_texts = texts; }

    // The visible data columns, left to right (never column 0).
    std::vector<int> visibleDataColumns() const;
    // The cell after `index` in reading order over the visible data columns; the last cell of
    // the last row stays where it is.
    QModelIndex nextCell(const QModelIndex& index) const;
    // The cell before `index` in the same order; the first cell of the first row stays.
    QModelIndex previousCell(const QModelIndex& index) const;

    // Typing never searches for a row: every key is for the cell.
    void keyboardSearch(const QString& search) override;

    // Puts the selected block of visible cells on the clipboard as tab-separated text.
    void copySelection();
    // Writes the clipboard's tab-separated block from the selected or current cell on,
    // over the visible data columns, within the grid; a single value onto a selection of
    // several cells fills every selected cell. Cells that refuse their text are named in one
    // warning after the paste.
    void pasteClipboard();
    // Empties the selected data cells.
    void clearSelectedCells();
    // Copies the selection, then empties it (one undo step).
    void cutSelection();
    // Undoes or redoes the last change of this showing and makes its first cell current.
    void undo();
    void redo();
    // Hands the text of an open editor to the grid and closes the editor.
    void commitOpenEditor();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    TableModel* tableModel() const;
    void pasteFill(const std::string& value, const QModelIndexList& selected);
    void reportRefused(const PasteOutcome& outcome);
    void goToChangedCell(const QModelIndex& index);
    void handleBorderDoubleClick(int column);

    bool m_jumpOnEnter = false;
    bool m_autoSize = false;
    const UiTexts* m_texts = nullptr;
};

} // namespace setforge
