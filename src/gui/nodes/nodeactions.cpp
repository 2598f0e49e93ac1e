#include "gui/nodes/nodeactions.h"

#include <functional>

#include <QAction>
#include <QEvent>

#include "core/app/appstate.h"
#include "core/nodes/edsvalue.h"
#include "core/nodes/sdoobjectpick.h"
#include "core/tables/grid.h"
#include "core/tables/pdotransmittable.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/nodes/nodetexts.h"
#include "gui/nodes/objectbrowser.h"
#include "gui/nodes/pdopresetdialog.h"
#include "gui/tables/tabledialog.h"
#include "gui/tables/tablegrid.h"
#include "gui/tables/tablemodel.h"

namespace setforge {

namespace {

// Receive PDO grid columns.
constexpr int kRpdoCobId = 1, kRpdoDimension = 2, kRpdoMnemonic = 4;

// Keeps an action's text in the current language: the dialog is hidden while the language
// changes, so taking the text each time the dialog is shown is enough.
class ActionTextKeeper : public QObject {
public:
    ActionTextKeeper(QAction* action, AppState& state, int textIndex, QObject* parent)
        : QObject(parent), m_action(action), m_state(state), m_textIndex(textIndex)
    {
        refresh();
    }
    void refresh() { m_action->setText(qs(m_state.texts.at(m_textIndex))); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            refresh();
        return QObject::eventFilter(watched, event);
    }

private:
    QAction* m_action;
    AppState& m_state;
    int m_textIndex;
};

// The row action on the grid: in its context menu and on Ctrl+E while the grid has focus.
void addRowAction(TableDialog& dialog, AppState& state, int textIndex, const char* name,
                  std::function<void()> run)
{
    TableGrid* view = dialog.view();
    auto* action = new QAction(view);
    action->setObjectName(name);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    auto* keeper = new ActionTextKeeper(action, state, textIndex, action);
    dialog.installEventFilter(keeper);
    QObject::connect(action, &QAction::triggered, &dialog, std::move(run));
    view->addAction(action);
    if (view->contextMenuPolicy() == Qt::DefaultContextMenu)
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

int currentRow(const TableDialog& dialog)
{
    const QModelIndex current = dialog.view()->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

// Writes every data cell of rows `firstRow`..N that differs in `wanted` through the model,
// so the views, and whatever watches the model, see each change as an edit.
void applyRows(TableDialog& dialog, const Grid& wanted, int firstRow)
{
    TableModel* model = dialog.model();
    const Grid& grid = dialog.grid();
    for (int r = firstRow; r <= grid.rowCount(); ++r)
        for (int c = 1; c < grid.columnCount(); ++c)
            if (grid.cell(r, c) != wanted.cell(r, c))
                model->setData(model->index(r - 1, c), qs(wanted.cell(r, c)), Qt::EditRole);
}

void pickSdoObject(TableDialog& dialog, AppState& state)
{
    if (!state.hasProject())
        return;
    dialog.view()->commitOpenEditor();
    const int row = currentRow(dialog);
    ObjectBrowser browser(state, &dialog);
    if (browser.exec() != QDialog::Accepted)
        return;
    const std::optional<EdsEntry> entry = browser.chosenEntry();
    if (!entry)
        return;
    Grid filled = dialog.grid();
    switch (fillSdoRows(filled, row, *entry, browser.nodeId(), browser.alsoHighWord(),
                        state.texts.at(NodeText::HighWordSuffix))) {
    case SdoPickOutcome::Filled:
        applyRows(dialog, filled, row);
        break;
    case SdoPickOutcome::NoRoomBelow:
        messages().error(&dialog, qs(state.texts.at(NodeText::NoRoomBelow)));
        break;
    case SdoPickOutcome::NoFreeAddress:
        messages().error(&dialog, qs(state.texts.at(NodeText::NoFreeAddress)));
        break;
    case SdoPickOutcome::DoesNotFit:
        break;
    }
}

void fillFromPdo(TableDialog& dialog, AppState& state, bool receiveTable)
{
    if (!state.hasProject())
        return;
    dialog.view()->commitOpenEditor();
    const int row = currentRow(dialog);
    PdoPresetDialog presets(state, receiveTable, &dialog);
    if (presets.exec() != QDialog::Accepted)
        return;
    const std::optional<RemotePdo> pdo = presets.chosenPdo();
    if (!pdo)
        return;
    Grid filled = dialog.grid();
    const int cobColumn = receiveTable ? kRpdoCobId : TpdoColumn::CobId;
    const int dimensionColumn = receiveTable ? kRpdoDimension : TpdoColumn::Dimension;
    const int mnemonicColumn = receiveTable ? kRpdoMnemonic : TpdoColumn::Mnemonic;
    filled.setCell(row, cobColumn, hexText(pdo->cobId));
    filled.setCell(row, dimensionColumn, std::to_string(pdo->bytes()));
    const std::string name = (pdo->transmit ? "TPDO" : "RPDO") + std::to_string(pdo->number);
    std::string mnemonic = "Node " + std::to_string(presets.nodeId()) + " " + name;
    if (!pdo->mapped.empty())
        mnemonic += ": " + pdo->mappedNames();
    filled.setCell(row, mnemonicColumn, mnemonic);
    applyRows(dialog, filled, row);
}

} // namespace

void installSdoObjectPicker(TableDialog& dialog, AppState& state)
{
    addRowAction(dialog, state, NodeText::PickObject, "A_PickObject",
                 [&dialog, &state] { pickSdoObject(dialog, state); });
}

void installPdoPresets(TableDialog& dialog, AppState& state, bool receiveTable)
{
    addRowAction(dialog, state, receiveTable ? NodeText::FillFromTransmit : NodeText::FillFromReceive,
                 "A_FillFromPdo",
                 [&dialog, &state, receiveTable] { fillFromPdo(dialog, state, receiveTable); });
}

} // namespace setforge
