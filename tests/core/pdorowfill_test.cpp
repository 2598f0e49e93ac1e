#include <gtest/gtest.h>

#include "core/nodes/pdorowfill.h"
#include "core/tables/grid.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

RemotePdo pdo(bool transmit, int number, std::uint32_t cobId, int bits, std::vector<RemotePdoObject> mapped)
{
    RemotePdo p;
    p.transmit = transmit;
    p.number = number;
    p.cobId = cobId;
    p.bits = bits;
    p.mapped = std::move(mapped);
    return p;
}

// A grid of the table with every data cell holding "old r,c", to see which cells the fill touches.
Grid markedGrid(const TableDefinition& table)
{
    Grid grid(table.rowCount, table.columnCount());
    grid.clear();
    for (int r = 1; r <= grid.rowCount(); ++r)
        for (int c = 1; c < grid.columnCount(); ++c)
            grid.setCell(r, c, "old " + std::to_string(r) + "," + std::to_string(c));
    return grid;
}

TEST(PdoRowFill, FillsCobIdDimensionAndMnemonicOnly)
{
    const RemotePdoObject statusword{0x6041, 0, 16, "Statusword", 1};
    const RemotePdoObject position{0x6064, 0, 32, "Position actual value", 3};
    const RemotePdoObject unnamed{0x2001, 3, 8, "", 1};
    struct Case {
        const char* what;
        PdoTableKind table;
        RemotePdo pdo;
        int nodeId;
        int row;
        const char* cobId;
        const char* dimension;
        const char* mnemonic;
    };
    const Case kCases[] = {
        {"transmit PDO into the receive table", PdoTableKind::Receive,
         pdo(true, 2, 0x285, 48, {statusword, position}), 5, 1, "0x285", "6",
         "Node 5 TPDO2: Statusword, Position actual value"},
        {"receive PDO into the transmit table", PdoTableKind::Transmit,
         pdo(false, 1, 0x20A, 16, {statusword}), 10, 3, "0x20A", "2", "Node 10 RPDO1: Statusword"},
        {"nothing mapped: no colon, no names", PdoTableKind::Transmit, pdo(false, 4, 0x57F, 0, {}), 127, 32,
         "0x57F", "0", "Node 127 RPDO4"},
        {"an entry without a name shows its index; bits round up", PdoTableKind::Receive,
         pdo(true, 3, 0x381, 12, {unnamed}), 1, 64, "0x381", "2", "Node 1 TPDO3: 0x2001"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const bool receive = c.table == PdoTableKind::Receive;
        const TableDefinition& table = receive ? pdoReceiveTable() : pdoTransmitTable();
        const int cobColumn = receive ? RpdoColumn::CobId : TpdoColumn::CobId;
        const int dimensionColumn = receive ? RpdoColumn::Dimension : TpdoColumn::Dimension;
        const int mnemonicColumn = receive ? RpdoColumn::Mnemonic : TpdoColumn::Mnemonic;
        Grid grid = markedGrid(table);
        Grid expected = grid;
        expected.setCell(c.row, cobColumn, c.cobId);
        expected.setCell(c.row, dimensionColumn, c.dimension);
        expected.setCell(c.row, mnemonicColumn, c.mnemonic);

        fillPdoRow(grid, c.row, c.table, c.pdo, c.nodeId);

        for (int r = 1; r <= grid.rowCount(); ++r)
            for (int col = 1; col < grid.columnCount(); ++col)
                EXPECT_EQ(grid.cell(r, col), expected.cell(r, col)) << "row " << r << " column " << col;
    }
}

TEST(PdoRowFill, RowOutsideTheGridChangesNothing)
{
    for (const int row : {0, -1, 33}) {
        SCOPED_TRACE(row);
        Grid grid = markedGrid(pdoTransmitTable());
        const Grid before = grid;
        fillPdoRow(grid, row, PdoTableKind::Transmit, pdo(true, 1, 0x181, 8, {}), 1);
        for (int r = 1; r <= grid.rowCount(); ++r)
            for (int c = 1; c < grid.columnCount(); ++c)
                EXPECT_EQ(grid.cell(r, c), before.cell(r, c));
    }
}

} // namespace

} // namespace setforge
