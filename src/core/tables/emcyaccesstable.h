#pragma once

namespace setforge {

struct TableDefinition;

// The columns of the grid; column 0 holds the row numbers.
namespace EmcyColumn {
inline constexpr int DeviceId = 1, ErrorCode = 2, ErrorRegister = 3, Mnemonic = 4;
}

// The emergency access table (TFEMCYAccess, emcydef.xml): 100 rows of emergency messages.
const TableDefinition& emcyAccessTable();

} // namespace setforge
