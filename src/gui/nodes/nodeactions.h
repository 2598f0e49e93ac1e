#pragma once

namespace setforge {

class TableDialog;
struct AppState;

// Adds "Pick Object from EDS…" (Ctrl+E) to the rows of the SDO access dialog: the row of the
// current cell is filled from an object the engineer picks in a catalogue node's EDS.
void installSdoObjectPicker(TableDialog& dialog, AppState& state);

// Adds "Fill from a Node's Transmit PDO…" to the receive PDO dialog (`receiveTable` true) or
// "Fill from a Node's Receive PDO…" to the transmit PDO dialog (Ctrl+E): the current row takes
// Cob-ID, Dimension and Mnemonic from a catalogue node's default PDO.
void installPdoPresets(TableDialog& dialog, AppState& state, bool receiveTable);

} // namespace setforge
