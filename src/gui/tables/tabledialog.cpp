#include "gui/tables/tabledialog.h"

#include <utility>

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/appstate.h"
#include "core/lang/textid.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pargenfile.h"
#include "core/tables/rowoperations.h"
#include "core/tables/tablefile.h"
#include "core/tables/tablevalidator.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/app/savecheck.h"
#include "gui/tables/tabledelegate.h"
#include "gui/tables/tablegrid.h"
#include "gui/tables/tablemodel.h"

namespace setforge {

namespace {

constexpr int kRowHeight = 20;

} // namespace

TableDialog::TableDialog(const TableDefinition& table, AppState& state, QWidget* parent)
    : SetforgeDialog(state, parent), m_table(table), m_grid(table.rowCount, table.columnCount()),
      m_loaded(table.rowCount, table.columnCount())
{
    setObjectName(table.objectName);
    buildLayout();
}

void TableDialog::buildLayout()
{
    m_title = new QFrame(this);
    m_title->setObjectName("P_Title");
    m_title->setFrameShape(QFrame::StyledPanel);
    m_swCode = new QLabel(m_title);
    m_swCode->setObjectName("L_SW_Code");
    m_swCode->setText(kSoftwareCode);
    QFont codeFont = m_swCode->font();
    codeFont.setBold(true);
    m_swCode->setFont(codeFont);
    m_swDesc = new QLabel(m_title);
    m_swDesc->setObjectName("L_SW_Desc");
    auto* titleLayout = new QHBoxLayout(m_title);
    titleLayout->setContentsMargins(8, 4, 8, 4);
    titleLayout->addWidget(m_swCode);
    titleLayout->addSpacing(16);
    titleLayout->addWidget(m_swDesc, 1);

    m_note = new QLabel(this);
    m_note->setObjectName("L_Table_Note");
    m_note->setWordWrap(true);
    m_note->setContentsMargins(8, 4, 8, 4);
    m_note->setStyleSheet("color: #c00000; font-weight: bold;");
    m_note->hide();

    m_model = new TableModel(m_table, m_grid, this);
    m_view = new TableGrid(this);
    m_view->setObjectName("ASG");
    m_view->setModel(m_model);
    m_view->setTexts(&m_state.texts);
    m_view->setItemDelegate(new TableDelegate(m_table, m_view));
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_view->setWordWrap(false);

    m_buttons = new QFrame(this);
    m_buttons->setObjectName("P_Button");
    auto* buttonLayout = new QHBoxLayout(m_buttons);
    buttonLayout->setContentsMargins(8, 6, 8, 6);
    auto addButton = [&](const char* name) {
        auto* button = new QPushButton(m_buttons);
        button->setObjectName(name);
        // No button reacts to Enter: Enter belongs to the grid.
        button->setAutoDefault(false);
        button->setDefault(false);
        buttonLayout->addWidget(button);
        return button;
    };
    m_ok = addButton("Btn_OK");
    m_cancel = addButton("Btn_Cancel");
    m_delRow = addButton("Btn_DelRow");
    m_insRow = addButton("Btn_InsRow");
    buttonLayout->addStretch(1);
    connect(m_ok, &QPushButton::clicked, this, &TableDialog::onOkClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_delRow, &QPushButton::clicked, this, &TableDialog::onDeleteRowClicked);
    connect(m_insRow, &QPushButton::clicked, this, &TableDialog::onInsertRowClicked);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_title);
    layout->addWidget(m_note);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_buttons);

    for (int column = 0; column < m_table.columnCount(); ++column)
        m_view->setColumnWidth(column, m_table.columns[column].width);
    resize(m_table.clientWidth, m_table.clientHeight);
    applyTexts();
}

void TableDialog::applyTexts()
{
    setWindowTitle(text(m_table.captionText()));
    m_swDesc->setText(text(m_table.descriptionText()));
    m_ok->setText(text(m_table.buttonText(0)));
    m_cancel->setText(text(m_table.buttonText(1)));
    m_delRow->setText(text(m_table.buttonText(2)));
    m_insRow->setText(text(m_table.buttonText(3)));
    QStringList titles;
    QStringList tips;
    for (int column = 0; column < m_table.columnCount(); ++column) {
        titles << text(m_table.columnTitleText(column));
        const int tip = m_table.columnTipText(column);
        tips << (tip >= 0 ? text(tip) : QString());
    }
    m_model->setTitles(titles, tips);
    for (const auto& [action, textIndex] : m_rowActions)
        action->setText(text(textIndex));
    for (const auto& [button, textIndex] : m_rowButtons)
        button->setText(text(textIndex));
}

QAction* TableDialog::addRowAction(int textIndex, const char* objectName, const QKeySequence& shortcut,
                                   std::function<void()> run, const char* buttonName)
{
    auto* action = new QAction(text(textIndex), m_view);
    action->setObjectName(objectName);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    m_view->addAction(action);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_rowActions.emplace_back(action, textIndex);
    if (buttonName != nullptr) {
        auto* button = new QPushButton(text(textIndex), m_buttons);
        button->setObjectName(buttonName);
        button->setAutoDefault(false);
        button->setDefault(false);
        // After Insert Row, before the stretch that keeps the buttons to the left.
        auto* layout = static_cast<QHBoxLayout*>(m_buttons->layout());
        layout->insertWidget(layout->count() - 1, button);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        m_rowButtons.emplace_back(button, textIndex);
    }
    return action;
}

std::string TableDialog::filePath() const
{
    return m_table.projectFile ? m_state.files.*m_table.projectFile : std::string();
}

bool TableDialog::reload()
{
    m_variant = DeviceVariant::WithoutEthernet;
    if (m_table.readsDeviceVariant) {
        // A broken communication file would silently give the variant without Ethernet port,
        // hiding and skipping the columns of the other.
        const Result<DeviceVariant> reading = readTableVariantOrError(m_state.files.parGen);
        if (!reading) {
            messages().error(this, qs(reading.error().text));
            return false;
        }
        m_variant = *reading;
    }
    for (int column = 0; column < m_table.columnCount(); ++column) {
        const TableColumn& def = m_table.columns[column];
        m_view->setColumnHidden(column, !def.isShown(m_variant));
        m_view->setColumnWidth(column, def.widthFor(m_variant));
    }
    // Node guarding rows are saved while node guarding is off, but the device guards nothing.
    bool guardingOff = false;
    if (&m_table == &nodeGuardTable()) {
        const Result<ParGenValues> parGen = loadParGen(m_state.files.parGen);
        guardingOff = parGen && !parGen->nodeguardEnable;
    }
    m_note->setText(guardingOff ? text(TextId::NodeGuardingOff) : QString());
    m_note->setVisible(guardingOff);
    m_view->setJumpOnEnter(m_state.enableJumpFieldTables);
    m_view->setAutoSizeOnDoubleClick(m_state.doubleClickAutoSize);

    const Result<void> loaded = loadTableFile(m_table, filePath(), m_grid);
    m_loaded = m_grid;
    m_model->reload();
    m_view->scrollToTop();
    m_view->setCurrentIndex(m_model->index(0, 1));
    if (!loaded) {
        messages().error(this, qs(loaded.error().text));
        return false;
    }
    return true;
}

void TableDialog::startAt(const FindingLocation& location)
{
    m_startRow = location.row >= 1 && location.row <= m_grid.rowCount() ? location.row : 0;
    m_startColumn = location.column;
}

int TableDialog::exec()
{
    const int startRow = std::exchange(m_startRow, 0);
    if (!reload())
        return QDialog::Rejected;
    m_view->setFocus();
    if (startRow > 0)
        focusCell(startRow, m_startColumn);
    return SetforgeDialog::exec();
}

bool TableDialog::validate()
{
    TableValidator validator(m_table, m_variant);
    if (const std::optional<CheckFailure> failure = validator.firstFailure(m_grid)) {
        messages().error(this, qs(checkMessage(m_table, *failure, m_state.texts)));
        // "Error row 1234" must be findable in a table of 1500 rows.
        focusCell(failure->row, failure->column);
        return false;
    }
    return true;
}

void TableDialog::onOkClicked()
{
    m_view->commitOpenEditor();
    if (!validate())
        return;
    const SaveCheck check(m_state);
    const Result<void> saved = saveTableFile(m_table, m_grid, filePath());
    if (!saved) {
        messages().error(this, qs(saved.error().text));
        return;
    }
    // The file now holds the grid: Cancel after Go back has nothing to discard.
    m_loaded = m_grid;
    if (!check.reviewAfterSave(this))
        return;
    accept();
}

bool TableDialog::hasChanges() const
{
    for (int row = 1; row <= m_grid.rowCount(); ++row)
        for (int column = 1; column < m_grid.columnCount(); ++column)
            if (m_grid.cell(row, column) != m_loaded.cell(row, column))
                return true;
    return false;
}

void TableDialog::reject()
{
    // Text still in an open editor counts as typed.
    m_view->commitOpenEditor();
    if (hasChanges() && !messages().question(this, text(TextId::DiscardChanges)))
        return;
    SetforgeDialog::reject();
}

int TableDialog::currentGridRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void TableDialog::focusCell(int row, int column)
{
    if (column < 1 || column >= m_table.columnCount() || m_view->isColumnHidden(column))
        column = m_view->currentIndex().isValid() ? m_view->currentIndex().column() : 0;
    if (column < 1 || m_view->isColumnHidden(column)) {
        const std::vector<int> columns = m_view->visibleDataColumns();
        column = columns.empty() ? 1 : columns.front();
    }
    const QModelIndex index = m_model->index(row - 1, column);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_view->setFocus(Qt::OtherFocusReason);
}

void TableDialog::onDeleteRowClicked()
{
    const int row = currentGridRow();
    if (messages().question(this, text(m_table.deleteText()) + QString::number(row))) {
        m_model->beginChange();
        deleteGridRow(row, m_grid);
        m_model->endChange();
        m_model->rowsChangedFrom(row);
    }
    // The next keystrokes belong to the grid, not to the button that was clicked.
    focusCell(row, 0);
}

void TableDialog::onInsertRowClicked()
{
    const int row = currentGridRow();
    m_model->beginChange();
    insertGridRow(row, m_grid);
    m_model->endChange();
    m_model->rowsChangedFrom(row);
    focusCell(row, 0);
}

} // namespace setforge
