#pragma once

namespace setforge {

struct TableDefinition;

// The transmit PDO table (TFPDOTransmit, Transmit_Pdo.xml): 32 PDOs. Without Ethernet port a
// PDO carries a block of registers from Address Start; with it, On Change / On Timer / Timer.
const TableDefinition& pdoTransmitTable();

// Column numbers of the transmit PDO grid.
namespace TpdoColumn {
inline constexpr int CobId = 1, Dimension = 2, AddressStart = 3, OnChange = 4, OnTimer = 5, Timer = 6,
                     Mnemonic = 7;
}

} // namespace setforge
