#include "core/nodes/pdorowfill.h"

#include <string>

#include "core/nodes/edsvalue.h"
#include "core/tables/grid.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"

namespace setforge {

namespace {

struct PdoColumns {
    int cobId;
    int dimension;
    int mnemonic;
};

constexpr PdoColumns kReceiveColumns{RpdoColumn::CobId, RpdoColumn::Dimension, RpdoColumn::Mnemonic};
constexpr PdoColumns kTransmitColumns{TpdoColumn::CobId, TpdoColumn::Dimension, TpdoColumn::Mnemonic};

} // namespace

void fillPdoRow(Grid& grid, int row, PdoTableKind table, const RemotePdo& pdo, int nodeId)
{
    const PdoColumns& columns = table == PdoTableKind::Receive ? kReceiveColumns : kTransmitColumns;
    std::string mnemonic =
        "Node " + std::to_string(nodeId) + (pdo.transmit ? " TPDO" : " RPDO") + std::to_string(pdo.number);
    if (!pdo.mapped.empty())
        mnemonic += ": " + pdo.mappedNames();
    grid.setCell(row, columns.cobId, hexText(pdo.cobId));
    grid.setCell(row, columns.dimension, std::to_string(pdo.bytes()));
    grid.setCell(row, columns.mnemonic, mnemonic);
}

} // namespace setforge
