#include "gui/app/windowfactory.h"

// The mapping editors arrive with their own change.
SetforgeDialog* createEmcyDefineWindow(AppState&, QWidget*) { return nullptr; }
SetforgeDialog* createRpdoDefineWindow(AppState&, QWidget*) { return nullptr; }
SetforgeDialog* createTpdoDefineWindow(AppState&, QWidget*) { return nullptr; }
