#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "core/lang/textid.h"
#include "core/lang/uitexts.h"
#include "core/nodes/edsreader.h"
#include "core/nodes/pdorowfill.h"
#include "core/tables/grid.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

RemotePdo pdo(bool transmit, int number, std::uint32_t cobId, int bits, std::vector<RemotePdoObject> mapped,
              int eventTimer = -1, int transmissionType = 255)
{
    RemotePdo p;
    p.eventTimer = eventTimer;
    p.transmissionType = transmissionType;
    p.transmit = transmit;
    p.number = number;
    p.cobId = cobId;
    p.bits = bits;
    p.mapped = std::move(mapped);
    return p;
}

std::string hexCob(std::uint32_t cobId)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", cobId);
    return text;
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
        {"a length but no object named: no colon, no names", PdoTableKind::Transmit,
         pdo(false, 4, 0x57F, 8, {}), 127, 32, "0x57F", "1", "Node 127 RPDO4"},
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

        // Without the Ethernet port the time-out and trigger columns are hidden: nothing else moves.
        const Result<std::vector<std::string>> choices =
            fillPdoRow(grid, c.row, c.table, c.pdo, c.nodeId, DeviceVariant::WithoutEthernet, UiTexts());
        ASSERT_TRUE(choices);
        EXPECT_TRUE(choices->empty());

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
        EXPECT_TRUE(fillPdoRow(grid, row, PdoTableKind::Transmit, pdo(true, 1, 0x181, 8, {}, 100), 1,
                               DeviceVariant::WithEthernet, UiTexts()));
        for (int r = 1; r <= grid.rowCount(); ++r)
            for (int c = 1; c < grid.columnCount(); ++c)
                EXPECT_EQ(grid.cell(r, c), before.cell(r, c));
    }
}

// With the Ethernet port a preset fills what that variant's OK needs, from the event timer,
// and says so; Address Start (hidden there) and the other rows stay.
TEST(PdoRowFill, EthernetVariantFillsTimeOutAndTriggersFromTheEventTimer)
{
    struct Case {
        const char* what;
        PdoTableKind table;
        RemotePdo pdo;
        std::vector<std::pair<int, std::string>> cells; // column, text beyond Cob-ID/Dimension/Mnemonic
        std::vector<int> said;                          // the texts of the lines, in order
        std::string firstLineHas;
    };
    const Case kCases[] = {
        {"node TPDO with an event timer: three periods",
         PdoTableKind::Receive,
         pdo(true, 1, 0x185, 16, {}, 100),
         {{RpdoColumn::Timeout, "300"}},
         {TextId::NodeFillTimeout},
         "300"},
        {"node TPDO sent on SYNC, no timer: no time-out",
         PdoTableKind::Receive,
         pdo(true, 2, 0x285, 16, {}, -1, 1),
         {{RpdoColumn::Timeout, "0"}},
         {TextId::NodeFillNoTimeout},
         "0"},
        {"an event timer of 0 is no timer",
         PdoTableKind::Receive,
         pdo(true, 2, 0x285, 16, {}, 0),
         {{RpdoColumn::Timeout, "0"}},
         {TextId::NodeFillNoTimeout},
         "TimeOut 0"},
        {"node RPDO watched every 500 ms: sent every 250 ms and on change",
         PdoTableKind::Transmit,
         pdo(false, 1, 0x205, 16, {}, 500, 254),
         {{TpdoColumn::OnChange, "Y"}, {TpdoColumn::OnTimer, "Y"}, {TpdoColumn::Timer, "250"}},
         {TextId::NodeFillOnChange, TextId::NodeFillOnTimer},
         "254"},
        {"node RPDO without a timer: on change only, Timer untouched",
         PdoTableKind::Transmit,
         pdo(false, 1, 0x205, 16, {}, -1, 255),
         {{TpdoColumn::OnChange, "Y"}, {TpdoColumn::OnTimer, "N"}},
         {TextId::NodeFillOnChange, TextId::NodeFillNoTimer},
         "255"},
        {"a 1 ms timer still gives a Timer the table takes",
         PdoTableKind::Transmit,
         pdo(false, 1, 0x205, 16, {}, 1, 255),
         {{TpdoColumn::OnChange, "Y"}, {TpdoColumn::OnTimer, "Y"}, {TpdoColumn::Timer, "1"}},
         {TextId::NodeFillOnChange, TextId::NodeFillOnTimer},
         "255"},
    };
    const UiTexts texts;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const bool receive = c.table == PdoTableKind::Receive;
        Grid grid = markedGrid(receive ? pdoReceiveTable() : pdoTransmitTable());
        Grid expected = grid;
        const int row = 2;
        expected.setCell(row, receive ? RpdoColumn::CobId : TpdoColumn::CobId, hexCob(c.pdo.cobId));
        expected.setCell(row, receive ? RpdoColumn::Dimension : TpdoColumn::Dimension, "2");
        expected.setCell(row, receive ? RpdoColumn::Mnemonic : TpdoColumn::Mnemonic,
                         std::string("Node 5 ") + (receive ? "TPDO" : "RPDO") + std::to_string(c.pdo.number));
        for (const auto& [column, text] : c.cells)
            expected.setCell(row, column, text);

        const Result<std::vector<std::string>> choices =
            fillPdoRow(grid, row, c.table, c.pdo, 5, DeviceVariant::WithEthernet, texts);

        ASSERT_TRUE(choices);
        for (int r = 1; r <= grid.rowCount(); ++r)
            for (int col = 1; col < grid.columnCount(); ++col)
                EXPECT_EQ(grid.cell(r, col), expected.cell(r, col)) << "row " << r << " column " << col;
        ASSERT_EQ(choices->size(), c.said.size());
        for (std::size_t k = 0; k < c.said.size(); ++k) {
            const std::string& pattern = texts.at(c.said[k]);
            // Each line is its text with the values put in: the part before "%1" leads it.
            EXPECT_EQ((*choices)[k].substr(0, pattern.find('%')), pattern.substr(0, pattern.find('%')));
            EXPECT_EQ((*choices)[k].find('%'), std::string::npos) << (*choices)[k];
        }
        EXPECT_NE(choices->front().find(c.firstLineHas), std::string::npos) << choices->front();
    }
}

// A PDO the node switched off, or one without data, fills nothing and says why.
TEST(PdoRowFill, SwitchedOffOrEmptyPdoIsRefused)
{
    RemotePdo off = pdo(true, 3, 0x385, 16, {});
    off.valid = false;
    const RemotePdo empty = pdo(true, 4, 0x485, 0, {});
    const UiTexts texts;
    for (const auto& [what, refused, reason] :
         {std::tuple<const char*, RemotePdo, int>{"COB-ID bit 31", off, TextId::NodePdoSwitchedOff},
          {"length 0", empty, TextId::NodePdoMapsNothing}}) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(refused.usable());
        EXPECT_EQ(pdoUnusableReason(refused, texts), texts.at(reason));
        for (const DeviceVariant variant : {DeviceVariant::WithoutEthernet, DeviceVariant::WithEthernet}) {
            Grid grid = markedGrid(pdoReceiveTable());
            const Grid before = grid;
            const Result<std::vector<std::string>> filled =
                fillPdoRow(grid, 1, PdoTableKind::Receive, refused, 5, variant, texts);
            ASSERT_FALSE(filled);
            EXPECT_EQ(filled.error().text, texts.at(reason));
            for (int c = 1; c < grid.columnCount(); ++c)
                EXPECT_EQ(grid.cell(1, c), before.cell(1, c));
        }
    }
    EXPECT_EQ(pdoUnusableReason(pdo(true, 1, 0x185, 8, {}), texts), "");
}

// The event timer is read from sub-index 5 of the communication object, $NODEID-free.
TEST(PdoRowFill, EventTimerComesFromSubIndexFive)
{
    const std::string eds =
        "[FileInfo]\nFileName=t.eds\n[DeviceInfo]\nVendorName=V\nProductName=P\n"
        "[1800]\nParameterName=TPDO1\nObjectType=0x9\nSubNumber=3\n"
        "[1800sub1]\nParameterName=COB-ID\nDataType=0x0007\nAccessType=rw\n"
        "DefaultValue=$NODEID+0x180\n"
        "[1800sub2]\nParameterName=Type\nDataType=0x0005\nAccessType=rw\nDefaultValue=254\n"
        "[1800sub5]\nParameterName=Event timer\nDataType=0x0006\nAccessType=rw\n"
        "DefaultValue=0x64\n"
        "[1801]\nParameterName=TPDO2\nObjectType=0x9\nSubNumber=1\n"
        "[1801sub1]\nParameterName=COB-ID\nDataType=0x0007\nAccessType=rw\n"
        "DefaultValue=0x80000280\n";
    const Result<EdsRead> read = readEdsText(eds, 5);
    ASSERT_TRUE(read) << edsErrorMessage(read.error());
    const std::vector<RemotePdo> pdos = listDefaultPdos(read->device, true, 5);
    ASSERT_EQ(pdos.size(), 2u);
    EXPECT_EQ(pdos[0].eventTimer, 100);
    EXPECT_EQ(pdos[0].transmissionType, 254);
    EXPECT_EQ(pdos[1].eventTimer, -1);
    EXPECT_FALSE(pdos[1].valid);
    EXPECT_FALSE(pdos[1].usable());
}

} // namespace

} // namespace setforge
