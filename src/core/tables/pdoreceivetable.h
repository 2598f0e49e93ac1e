#pragma once

namespace setforge {

struct TableDefinition;

// The columns of the grid; column 0 holds the row numbers.
namespace RpdoColumn {
inline constexpr int CobId = 1, Dimension = 2, Timeout = 3, Mnemonic = 4;
}

// The receive PDO table (TFPDOReceive, rpdodef.xml): 64 PDOs; the TimeOut column is shown and
// checked only on the device with Ethernet port.
const TableDefinition& pdoReceiveTable();

} // namespace setforge
