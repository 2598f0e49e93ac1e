#pragma once

#include "core/nodes/remotepdo.h"

namespace setforge {

class Grid;

// The two PDO tables a node's default PDO can fill a row of.
enum class PdoTableKind {
    Receive, // the converter's receive PDOs: filled from a node's transmit PDO
    Transmit // the converter's transmit PDOs: filled from a node's receive PDO
};

// Fills grid row `row` (1..N) of the `table` PDO grid from `pdo` of node `nodeId`: Cob-ID as
// "0x285", Dimension := the PDO's length in bytes, Mnemonic := "Node 5 TPDO2" followed by
// ": " and the mapped objects' names when it maps any. Every other cell stays as it was; a
// row outside the grid changes nothing. The row is validated later, as a typed row is.
void fillPdoRow(Grid& grid, int row, PdoTableKind table, const RemotePdo& pdo, int nodeId);

} // namespace setforge
