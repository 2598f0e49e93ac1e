#include "gui/app/windowfactory.h"

#include "gui/mapping/tfemcydefine.h"
#include "gui/mapping/tfrpdodefine.h"
#include "gui/mapping/tftpdodefine.h"

SetforgeDialog* createEmcyDefineWindow(AppState& state, QWidget* parent)
{
    return new TFEMCYDefine(state, parent);
}

SetforgeDialog* createRpdoDefineWindow(AppState& state, QWidget* parent)
{
    return new TFRPDODefine(state, parent);
}

SetforgeDialog* createTpdoDefineWindow(AppState& state, QWidget* parent)
{
    return new TFTPDODefine(state, parent);
}
