#include "gui/app/windowfactory.h"

// The software options window arrives with its own change.
SetforgeDialog* createSoftOptionsWindow(AppState&, QWidget*)
{
    return nullptr;
}

bool checkForNewerVersion(AppState&)
{
    return false;
}
