#pragma once

namespace setforge {

struct TableDefinition;

// The columns of the grid; column 0 holds the row numbers.
namespace NodeGuardColumn {
inline constexpr int NodeId = 1, GuardTime = 2, LifeTimeFactor = 3, Mnemonic = 4;
}

// The node guarding table (TFNodeGuard, NodeGuard.xml): 32 guarded nodes.
const TableDefinition& nodeGuardTable();

} // namespace setforge
