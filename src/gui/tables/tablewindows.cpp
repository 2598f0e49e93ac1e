#include "gui/app/windowfactory.h"

// The table dialogs arrive with their own change.
SetforgeDialog* createSdoClientWindow(AppState&, QWidget*) { return nullptr; }
SetforgeDialog* createEmcyAccessWindow(AppState&, QWidget*) { return nullptr; }
SetforgeDialog* createNodeGuardWindow(AppState&, QWidget*) { return nullptr; }
SetforgeDialog* createPdoReceiveWindow(AppState&, QWidget*) { return nullptr; }
SetforgeDialog* createPdoTransmitWindow(AppState&, QWidget*) { return nullptr; }
