#include "gui/app/windowfactory.h"

// The communication parameters window arrives with its own change.
SetforgeDialog* createParGenWindow(AppState&, QWidget*)
{
    return nullptr;
}
