#include "gui/tables/tablegrid.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/tables/tablemodel.h"

namespace setforge {

TableGrid::TableGrid(QWidget* parent) : QTableView(parent)
{
    // The view sizes a column on every border double-click by itself; here that depends on
    // the user's option, read when the dialog is shown.
    disconnect(horizontalHeader(), SIGNAL(sectionHandleDoubleClicked(int)), this,
               SLOT(resizeColumnToContents(int)));
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this,
            &TableGrid::handleBorderDoubleClick);
}

TableModel* TableGrid::tableModel() const
{
    return qobject_cast<TableModel*>(model());
}

void TableGrid::handleBorderDoubleClick(int column)
{
    if (m_autoSize)
        resizeColumnToContents(column);
}

std::vector<int> TableGrid::visibleDataColumns() const
{
    std::vector<int> columns;
    if (!model())
        return columns;
    const QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 1 && !isColumnHidden(logical))
            columns.push_back(logical);
    }
    return columns;
}

QModelIndex TableGrid::nextCell(const QModelIndex& index) const
{
    const std::vector<int> columns = visibleDataColumns();
    if (!model() || columns.empty())
        return index;
    if (!index.isValid())
        return model()->index(0, columns.front());
    const auto at = std::find(columns.begin(), columns.end(), index.column());
    if (at != columns.end() && at + 1 != columns.end())
        return model()->index(index.row(), *(at + 1));
    if (at == columns.end() && index.column() < columns.front())
        return model()->index(index.row(), columns.front());
    if (index.row() + 1 < model()->rowCount())
        return model()->index(index.row() + 1, columns.front());
    return index;
}

QModelIndex TableGrid::previousCell(const QModelIndex& index) const
{
    const std::vector<int> columns = visibleDataColumns();
    if (!model() || columns.empty())
        return index;
    if (!index.isValid())
        return model()->index(0, columns.front());
    const auto at = std::find(columns.begin(), columns.end(), index.column());
    if (at != columns.end() && at != columns.begin())
        return model()->index(index.row(), *(at - 1));
    if (at == columns.end() && index.column() > columns.back())
        return model()->index(index.row(), columns.back());
    if (index.row() > 0)
        return model()->index(index.row() - 1, columns.back());
    return model()->index(index.row(), columns.front());
}

void TableGrid::keyboardSearch(const QString&) {}

QModelIndex TableGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Tab and Shift+Tab run over the visible data cells row after row; column "N" is never
    // a stop.
    if (action == MoveNext)
        return nextCell(currentIndex());
    if (action == MovePrevious)
        return previousCell(currentIndex());
    QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (target.isValid() && target.column() == 0) {
        const std::vector<int> columns = visibleDataColumns();
        if (!columns.empty())
            target = model()->index(target.row(), columns.front());
    }
    return target;
}

void TableGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // A click on the row number lands on the row's first data cell.
    if (current.isValid() && current.column() == 0 && selectionModel()) {
        const std::vector<int> columns = visibleDataColumns();
        if (!columns.empty()) {
            selectionModel()->setCurrentIndex(model()->index(current.row(), columns.front()),
                                              QItemSelectionModel::NoUpdate);
            return;
        }
    }
    QTableView::currentChanged(current, previous);
}

void TableGrid::copySelection()
{
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    const std::vector<int> columns = visibleDataColumns();
    if (selected.isEmpty() || columns.empty())
        return;
    int top = model()->rowCount(), bottom = -1, left = model()->columnCount(), right = -1;
    for (const QModelIndex& index : selected) {
        if (index.column() < 1 || isColumnHidden(index.column()))
            continue;
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    if (bottom < 0)
        return;
    CellBlock block;
    for (int row = top; row <= bottom; ++row) {
        std::vector<std::string> cells;
        for (const int column : columns)
            if (column >= left && column <= right)
                cells.push_back(us(model()->index(row, column).data(Qt::EditRole).toString()));
        block.push_back(std::move(cells));
    }
    QApplication::clipboard()->setText(qs(formatCellBlock(block)));
}

void TableGrid::pasteClipboard()
{
    TableModel* table = tableModel();
    if (!table)
        return;
    const CellBlock block = parseCellBlock(us(QApplication::clipboard()->text()));
    if (block.empty())
        return;
    QModelIndex start = currentIndex();
    if (selectionModel()) {
        const QModelIndexList selected = selectionModel()->selectedIndexes();
        for (const QModelIndex& index : selected)
            if (!start.isValid() || index.row() < start.row() ||
                (index.row() == start.row() && index.column() < start.column()))
                start = index;
    }
    if (!start.isValid())
        start = table->index(0, 1);
    std::vector<int> columns = visibleDataColumns();
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (block.size() == 1 && block.front().size() == 1 && selected.size() > 1) {
        pasteFill(block.front().front(), selected);
        return;
    }
    // The block goes into the columns from the start column rightwards; a start in column "N"
    // begins at the first data column.
    columns.erase(columns.begin(), std::find_if(columns.begin(), columns.end(),
                                                [&](int column) { return column >= start.column(); }));
    reportRefused(table->pasteBlock(start.row(), columns, block));
}

void TableGrid::pasteFill(const std::string& value, const QModelIndexList& selected)
{
    int top = model()->rowCount(), bottom = -1, left = model()->columnCount(), right = -1;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    std::vector<int> columns;
    for (const int column : visibleDataColumns())
        if (column >= left && column <= right)
            columns.push_back(column);
    if (bottom < 0 || columns.empty())
        return;
    const CellBlock block(static_cast<std::size_t>(bottom - top + 1),
                          std::vector<std::string>(columns.size(), value));
    reportRefused(tableModel()->pasteBlock(top, columns, block));
}

void TableGrid::reportRefused(const PasteOutcome& outcome)
{
    TableModel* table = tableModel();
    if (!table || (outcome.refused.empty() && outcome.rowsPastEnd == 0) || !m_texts)
        return;
    std::vector<std::string> titles;
    for (int column = 0; column < table->columnCount(); ++column)
        titles.push_back(us(table->headerData(column, Qt::Horizontal).toString()));
    messages().warning(this, qs(pasteOutcomeMessage(outcome, titles, *m_texts)));
}

void TableGrid::clearSelectedCells()
{
    if (TableModel* table = tableModel(); table && selectionModel())
        table->clearCells(selectionModel()->selectedIndexes());
}

void TableGrid::cutSelection()
{
    copySelection();
    clearSelectedCells();
}

void TableGrid::undo()
{
    if (TableModel* table = tableModel())
        goToChangedCell(table->undo());
}

void TableGrid::redo()
{
    if (TableModel* table = tableModel())
        goToChangedCell(table->redo());
}

void TableGrid::goToChangedCell(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

void TableGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    QWidget* editor = QApplication::focusWidget();
    while (editor && editor->parentWidget() != viewport())
        editor = editor->parentWidget();
    if (!editor)
        return;
    commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TableGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        undo();
        event->accept();
        return;
    }
    // Ctrl+Y and Ctrl+Shift+Z on every platform, whatever the platform's own redo key is.
    const QKeyCombination combination = event->keyCombination();
    if (event->matches(QKeySequence::Redo) ||
        combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
        combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)) {
        redo();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        clearSelectedCells();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter never reaches the dialog, so it can never press OK by accident. An Enter that
        // an editor let through is the delegate's: it ends the edit (see closeEditor).
        if (state() != QAbstractItemView::EditingState) {
            if (m_jumpOnEnter)
                setCurrentIndex(nextCell(currentIndex()));
            else
                edit(currentIndex(), QAbstractItemView::EditKeyPressed, event);
        }
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TableGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Enter ends an edit with SubmitModelCache: with the option on it goes to the next cell.
    if (m_jumpOnEnter && hint == QAbstractItemDelegate::SubmitModelCache) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        setCurrentIndex(nextCell(currentIndex()));
        return;
    }
    QTableView::closeEditor(editor, hint);
}

} // namespace setforge
