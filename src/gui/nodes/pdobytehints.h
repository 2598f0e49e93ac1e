#pragma once

namespace setforge {

class MappingEditor;
struct AppState;

// Lets the receive (`nodeTransmits` true: frames are nodes' transmit PDOs) or transmit PDO
// mapping editor say what each data byte carries when a frame's COB-ID is a default PDO of a
// node in the project's catalogue: the frame's tooltip lists "Byte 1–2: 0x6041 Statusword",
// and each byte choice's tooltip names its object. Only tooltips change; the editor stores
// what it always stores.
void installPdoByteHints(MappingEditor& editor, AppState& state, bool nodeTransmits);

} // namespace setforge
