#include "gui/nodes/nodeactions.h"

#include <QKeySequence>
#include <QStringList>

#include "core/app/appstate.h"
#include "core/lang/textid.h"
#include "core/nodes/pdorowfill.h"
#include "core/nodes/sdoobjectpick.h"
#include "core/tables/grid.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/nodes/objectbrowser.h"
#include "gui/nodes/pdopresetdialog.h"
#include "gui/tables/tabledialog.h"
#include "gui/tables/tablegrid.h"
#include "gui/tables/tablemodel.h"

namespace setforge {

namespace {

// Each table dialog has one row action of the nodes, on the same key.
constexpr QKeyCombination kRowActionKey = Qt::CTRL | Qt::Key_E;

// Writes every data cell of rows `firstRow`..N that differs in `wanted` through the model,
// so the views, and whatever watches the model, see each change as an edit. The whole fill is
// one undo step: Ctrl+Z puts back exactly the rows it changed, shifted rows included.
void applyRows(TableDialog& dialog, const Grid& wanted, int firstRow)
{
    TableModel* model = dialog.model();
    const Grid& grid = dialog.grid();
    model->beginChange();
    for (int r = firstRow; r <= grid.rowCount(); ++r)
        for (int c = 1; c < grid.columnCount(); ++c)
            if (grid.cell(r, c) != wanted.cell(r, c))
                model->setData(model->index(r - 1, c), qs(wanted.cell(r, c)), Qt::EditRole);
    model->endChange();
}

void pickSdoObject(TableDialog& dialog, AppState& state)
{
    if (!state.hasProject())
        return;
    dialog.view()->commitOpenEditor();
    const int row = dialog.currentGridRow();
    ObjectBrowser browser(state, &dialog);
    if (browser.exec() != QDialog::Accepted)
        return;
    const std::vector<EdsEntry> entries = browser.chosenEntries();
    if (entries.empty())
        return;
    Grid filled = dialog.grid();
    switch (fillSdoRows(filled, row, entries, browser.nodeId(), browser.alsoHighWord(),
                        state.texts.at(TextId::NodeHighWordSuffix))) {
    case SdoPickOutcome::Filled:
        applyRows(dialog, filled, row);
        break;
    case SdoPickOutcome::NoRoomBelow:
        messages().error(&dialog, qs(state.texts.at(TextId::NodeNoRoomBelow)));
        break;
    case SdoPickOutcome::NoFreeAddress:
        messages().error(&dialog, qs(state.texts.at(TextId::NodeNoFreeAddress)));
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
    const int row = dialog.currentGridRow();
    PdoPresetDialog presets(state, receiveTable, &dialog);
    if (presets.exec() != QDialog::Accepted)
        return;
    const std::optional<RemotePdo> pdo = presets.chosenPdo();
    if (!pdo)
        return;
    Grid filled = dialog.grid();
    const Result<std::vector<std::string>> choices =
        fillPdoRow(filled, row, receiveTable ? PdoTableKind::Receive : PdoTableKind::Transmit, *pdo,
                   presets.nodeId(), dialog.variant(), state.texts);
    if (!choices) {
        messages().error(&dialog, qs(choices.error().text));
        return;
    }
    applyRows(dialog, filled, row);
    if (!choices->empty()) {
        QStringList lines{qs(state.texts.at(TextId::NodeFillChosen))};
        for (const std::string& line : *choices)
            lines << qs(line);
        messages().information(&dialog, lines.join('\n'));
    }
}

} // namespace

void installSdoObjectPicker(TableDialog& dialog, AppState& state)
{
    dialog.addRowAction(
        TextId::NodePickObject, "A_PickObject", QKeySequence(kRowActionKey),
        [&dialog, &state] { pickSdoObject(dialog, state); }, "Btn_PickObject");
}

void installPdoPresets(TableDialog& dialog, AppState& state, bool receiveTable)
{
    dialog.addRowAction(
        receiveTable ? TextId::NodeFillFromTransmit : TextId::NodeFillFromReceive, "A_FillFromPdo",
        QKeySequence(kRowActionKey),
        [&dialog, &state, receiveTable] { fillFromPdo(dialog, state, receiveTable); }, "Btn_FillFromPdo");
}

} // namespace setforge
