#pragma once

#include <string>
#include <vector>

#include "core/base/devicevariant.h"
#include "core/base/result.h"
#include "core/nodes/remotepdo.h"

namespace setforge {

class Grid;
class UiTexts;

// The two PDO tables a node's default PDO can fill a row of.
enum class PdoTableKind {
    Receive, // the converter's receive PDOs: filled from a node's transmit PDO
    Transmit // the converter's transmit PDOs: filled from a node's receive PDO
};

// Why no row can be filled from `pdo`: the texts of `texts` for a PDO the node has switched
// off (COB-ID bit 31) or one that maps no data; "" for a usable PDO.
std::string pdoUnusableReason(const RemotePdo& pdo, const UiTexts& texts);

// Fills grid row `row` (1..N) of the `table` PDO grid from `pdo` of node `nodeId`: Cob-ID as
// "0x285", Dimension := the PDO's length in bytes, Mnemonic := "Node 5 TPDO2" followed by
// ": " and the mapped objects' names when it maps any. With the Ethernet port (`variant`) the
// columns that variant shows are filled too:
// - receive table: TimeOut := three event-timer periods when the node's PDO has an event
//   timer (a frame may be missed twice before the converter reports it), else 0, no time-out;
// - transmit table: On Change ticked, since the node takes each new value as it comes;
//   On Timer ticked with Timer := half the node's event timer when the node watches the PDO
//   with one (so a frame arrives twice per watched period), else On Timer not ticked.
// Returns one line per value chosen beyond Cob-ID, Dimension and Mnemonic, saying why, in
// the texts of `texts`. Every other cell stays as it was; a row outside the grid changes
// nothing. A PDO that is not usable() gives the Error with pdoUnusableReason and changes
// nothing. The row is validated later, as a typed row is.
Result<std::vector<std::string>> fillPdoRow(Grid& grid, int row, PdoTableKind table, const RemotePdo& pdo,
                                            int nodeId, DeviceVariant variant, const UiTexts& texts);

} // namespace setforge
