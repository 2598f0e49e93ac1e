#include "gui/app/windowfactory.h"

#include "gui/mapping/tfemcydefine.h"
#include "gui/mapping/tfrpdodefine.h"
#include "gui/mapping/tftpdodefine.h"
#include "gui/nodes/pdobytehints.h"

SetforgeDialog* createEmcyDefineWindow(AppState& state, QWidget* parent)
{
    return new TFEMCYDefine(state, parent);
}

SetforgeDialog* createRpdoDefineWindow(AppState& state, QWidget* parent)
{
    auto* editor = new TFRPDODefine(state, parent);
    installPdoByteHints(*editor, state, true);
    return editor;
}

SetforgeDialog* createTpdoDefineWindow(AppState& state, QWidget* parent)
{
    auto* editor = new TFTPDODefine(state, parent);
    installPdoByteHints(*editor, state, false);
    return editor;
}
