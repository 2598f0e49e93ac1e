#include "gui/app/windowfactory.h"

#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "gui/nodes/nodeactions.h"
#include "gui/tables/tabledialog.h"

namespace setforge {

SetforgeDialog* createSdoClientWindow(AppState& state, QWidget* parent)
{
    auto* dialog = new TableDialog(sdoClientTable(), state, parent);
    installSdoObjectPicker(*dialog, state);
    return dialog;
}

SetforgeDialog* createEmcyAccessWindow(AppState& state, QWidget* parent)
{
    return new TableDialog(emcyAccessTable(), state, parent);
}

SetforgeDialog* createNodeGuardWindow(AppState& state, QWidget* parent)
{
    return new TableDialog(nodeGuardTable(), state, parent);
}

SetforgeDialog* createPdoReceiveWindow(AppState& state, QWidget* parent)
{
    auto* dialog = new TableDialog(pdoReceiveTable(), state, parent);
    installPdoPresets(*dialog, state, true);
    return dialog;
}

SetforgeDialog* createPdoTransmitWindow(AppState& state, QWidget* parent)
{
    auto* dialog = new TableDialog(pdoTransmitTable(), state, parent);
    installPdoPresets(*dialog, state, false);
    return dialog;
}

} // namespace setforge
