#pragma once

#include <QStyledItemDelegate>

namespace setforge {

struct TableDefinition;

// Editors of a table grid: a fixed drop-down list where the table has one, a line edit
// elsewhere. Check-box cells need no editor.
class TableDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TableDelegate(const TableDefinition& table, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // Marks the grid's current cell as current whether or not the grid has the focus, so it
    // is visible from the moment the dialog opens.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    bool isDropDown(const QModelIndex& index) const;

    const TableDefinition& m_table;
};

} // namespace setforge
