#pragma once

namespace setforge {

class TableDialog;
struct AppState;

// Adds "Pick Object from EDS…" (Ctrl+E, the context menu and a button) to the SDO access
// dialog: the row of the current cell is filled from the objects the engineer picks in a
// catalogue node's EDS, each further object in a row inserted below. One undo step.
void installSdoObjectPicker(TableDialog& dialog, AppState& state);

// Adds "Fill from a Node's Transmit PDO…" to the receive PDO dialog (`receiveTable` true) or
// "Fill from a Node's Receive PDO…" to the transmit PDO dialog (Ctrl+E, the context menu and a
// button): the current row takes Cob-ID, Dimension, Mnemonic and, with the Ethernet port, the
// time-out or the triggers from a catalogue node's default PDO, and a message says what was
// chosen for the latter. One undo step.
void installPdoPresets(TableDialog& dialog, AppState& state, bool receiveTable);

} // namespace setforge
