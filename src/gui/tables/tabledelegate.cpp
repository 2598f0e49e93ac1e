#include "gui/tables/tabledelegate.h"

#include <QAbstractItemView>
#include <QComboBox>

#include "core/tables/tabledefinition.h"
#include "gui/app/qtext.h"

namespace setforge {

TableDelegate::TableDelegate(const TableDefinition& table, QObject* parent)
    : QStyledItemDelegate(parent), m_table(table)
{
}

void TableDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
    if (view && index.isValid() && index == view->currentIndex())
        option->state |= QStyle::State_HasFocus;
    else
        option->state &= ~QStyle::State_HasFocus;
}

bool TableDelegate::isDropDown(const QModelIndex& index) const
{
    return index.column() >= 0 && index.column() < m_table.columnCount() &&
           m_table.columns[index.column()].editor == ColumnEditor::DropDown;
}

QWidget* TableDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    if (!isDropDown(index))
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->setObjectName("CB_Cell");
    for (const std::string& item : m_table.columns[index.column()].items)
        combo->addItem(qs(item));
    return combo;
}

void TableDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    // A text that is not one of the items (typed into the file or pasted) selects nothing.
    combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString(), Qt::MatchExactly));
}

void TableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    // Leaving the list without a choice keeps whatever the cell held.
    if (combo->currentIndex() >= 0)
        model->setData(index, combo->currentText(), Qt::EditRole);
}

} // namespace setforge
