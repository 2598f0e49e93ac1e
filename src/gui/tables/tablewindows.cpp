#include "gui/app/windowfactory.h"

#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "gui/tables/tabledialog.h"

SetforgeDialog* createSdoClientWindow(AppState& state, QWidget* parent)
{
    return new TableDialog(sdoClientTable(), state, parent);
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
    return new TableDialog(pdoReceiveTable(), state, parent);
}

SetforgeDialog* createPdoTransmitWindow(AppState& state, QWidget* parent)
{
    return new TableDialog(pdoTransmitTable(), state, parent);
}
