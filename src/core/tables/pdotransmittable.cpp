#include "core/tables/pdotransmittable.h"

#include "core/lang/textid.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

TableDefinition makeTable()
{
    using namespace TpdoColumn;
    TableDefinition t;
    t.objectName = "TFPDOTransmit";
    t.fileName = "Transmit_Pdo.xml";
    t.projectFile = &ProjectFiles::transmitPdo;
    t.rootName = "Trasmit_PDO";
    t.rowCount = 32;
    t.firstText = TextId::TpdoFirst;
    t.lastText = TextId::TpdoLast;
    t.readsDeviceVariant = true;
    using C = TableColumn;
    t.columns = {
        C::text(40),
        C::text(80),
        C::text(85),
        C::text(85, ColumnShown::WithoutEthernet),
        // Wide enough for the "On Change" title; the Cob-ID column gives up the room.
        C::checkBox(75, ColumnShown::WithEthernet),
        C::checkBox(70, ColumnShown::WithEthernet),
        C::text(80, ColumnShown::WithEthernet),
        C::text(385, ColumnShown::Always, 250),
    };
    using A = TableAttribute;
    t.attributes = {
        A::cell("COB-ID", CobId, 513), A::cell("Dimension", Dimension, 8), A::cell("SMA", AddressStart),
        A::cell("OnChange", OnChange), A::cell("OnTimer", OnTimer),        A::cell("Timer", Timer),
        A::cell("Mnemonic", Mnemonic),
    };
    using K = TableCheck;
    t.checks = {
        K::range(CobId, TextId::TpdoCobIdRange, 0x181, 0x57F),
        K::range(Dimension, TextId::TpdoDimensionRange, 1, 8),
        K::range(AddressStart, TextId::TpdoAddressRange, 0, 65535),
        K::blockEnd(AddressStart, TextId::TpdoAddressBlockEnd, 65535, Dimension),
        K::blockUnique(AddressStart, TextId::TpdoAddressUsed, Dimension),
        K::rangeWhenTicked(Timer, TextId::TpdoTimerRange, 0, 100000000, OnTimer),
    };
    t.columnTips = {TextId::TipRowNumber,   TextId::TipPdoCobId,     TextId::TipPdoDimension,
                    TextId::TipTpdoAddress, TextId::TipTpdoOnChange, TextId::TipTpdoOnTimer,
                    TextId::TipTpdoTimer,   TextId::TipMnemonic};
    return t;
}

} // namespace

const TableDefinition& pdoTransmitTable()
{
    static const TableDefinition table = makeTable();
    return table;
}

} // namespace setforge
