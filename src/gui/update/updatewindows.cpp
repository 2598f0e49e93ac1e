#include "gui/app/windowfactory.h"

// The update dialog arrives with its own change.
SetforgeDialog* createBootWindow(AppState&, QWidget*)
{
    return nullptr;
}

void showBootWindow(SetforgeDialog*, int) {}
