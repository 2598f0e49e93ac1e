#pragma once

class QWidget;
class SetforgeDialog;
class MainWindow;
struct AppState;

// Each subsystem makes its own windows. A factory may return nullptr while its window does
// not exist yet; the main window then leaves that step doing nothing beyond its checks.
// Every window is parented to the main window and lives until the program ends.

// Software options (lang).
SetforgeDialog* createSoftOptionsWindow(AppState& state, QWidget* parent);
// Communication parameters (tables).
SetforgeDialog* createParGenWindow(AppState& state, QWidget* parent);
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
SetforgeDialog* createBootWindow(AppState& state, QWidget* parent);

// Shows the update dialog modally in the layout of `formType` (0 serial, else Ethernet).
// Does nothing when `boot` is null.
void showBootWindow(SetforgeDialog* boot, int formType);

// The last two steps (image): compile and hand over to the update dialog, and the EDS file.
void updateDevice(MainWindow& main);
void buildEdsFile(MainWindow& main);

// The version check of the options (lang): true when the maker offers a newer version.
bool checkForNewerVersion(AppState& state);
