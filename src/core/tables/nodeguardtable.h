#pragma once

struct TableDefinition;

// The node guarding table (TFNodeGuard, NodeGuard.xml): 32 guarded nodes.
const TableDefinition& nodeGuardTable();
