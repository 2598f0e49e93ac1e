#pragma once

#include <functional>

class QWidget;

namespace setforge {

class SetforgeDialog;
struct AppState;

// Each subsystem makes its own windows. A factory may return nullptr while its window does
// not exist yet; the main window then leaves that step doing nothing beyond its checks.
// Every window is parented to the main window and lives until the program ends.

// Software options (lang). `changeLanguage` applies a newly chosen language to every window;
// the main window passes its own, so the options never reach back into it.
SetforgeDialog* createOptionsWindow(AppState& state, QWidget* parent, std::function<void()> changeLanguage);
// Communication parameters (tables).
SetforgeDialog* createCommunicationWindow(AppState& state, QWidget* parent);
// The five table dialogs (tables, mapping tables).
SetforgeDialog* createSdoClientWindow(AppState& state, QWidget* parent);
SetforgeDialog* createEmcyAccessWindow(AppState& state, QWidget* parent);
SetforgeDialog* createNodeGuardWindow(AppState& state, QWidget* parent);
SetforgeDialog* createPdoReceiveWindow(AppState& state, QWidget* parent);
SetforgeDialog* createPdoTransmitWindow(AppState& state, QWidget* parent);
// The three mapping editors (mapping).
SetforgeDialog* createEmcyDefineWindow(AppState& state, QWidget* parent);
SetforgeDialog* createRpdoDefineWindow(AppState& state, QWidget* parent);
SetforgeDialog* createTpdoDefineWindow(AppState& state, QWidget* parent);
// The update dialog (update).
SetforgeDialog* createUpdateWindow(AppState& state, QWidget* parent);

// Shows the update dialog modally in the layout of `formType`, the device type the compile
// returned (0 serial, 1 Ethernet, any other value neither: variantForUpdate). Does nothing
// when `updateWindow` is null.
void showUpdateWindow(SetforgeDialog* updateWindow, int formType);

// The last two steps (image), for the open project of `state`; messages and the file chooser
// are parented to `parent`. Compile and hand over to the update dialog `updateWindow` (may be null):
void updateDevice(AppState& state, QWidget* parent, SetforgeDialog* updateWindow);
// and write the EDS file where the user chooses.
void buildEdsFile(AppState& state, QWidget* parent);
// Step 8 "Report": asks where to save the register map report (HTML or CSV), writes it and
// opens an HTML report in the system's browser. Does nothing without an open project.
void buildReport(AppState& state, QWidget* parent);

// The version check of the options (lang): true when the maker offers a newer version.
bool checkForNewerVersion(AppState& state);

} // namespace setforge
