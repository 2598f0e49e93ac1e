#include "core/tables/pdoreceivetable.h"

#include "core/lang/textid.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

TableDefinition makeTable()
{
    TableDefinition t;
    t.objectName = "TFPDOReceive";
    t.fileName = "rpdodef.xml";
    t.projectFile = &ProjectFiles::rpdoDef;
    t.rootName = "rpdodef";
    t.rowCount = 64;
    t.firstText = TextId::RpdoFirst;
    t.lastText = TextId::RpdoLast;
    t.readsDeviceVariant = true;
    using C = TableColumn;
    t.columns = {C::text(40), C::text(105), C::text(105), C::text(100, ColumnShown::WithEthernet),
                 C::text(430, ColumnShown::Always, 330)};
    using A = TableAttribute;
    t.attributes = {
        A::cell("cobid", RpdoColumn::CobId, 385),
        A::fixed("id_dev_orig", "1"),
        A::cell("dimension", RpdoColumn::Dimension, 8),
        A::fixed("posind", "0"),
        A::fixed("n_tpdo", "0"),
        A::cell("TimeOut", RpdoColumn::Timeout),
        A::cell("Mnemonic", RpdoColumn::Mnemonic),
    };
    using K = TableCheck;
    t.checks = {
        K::range(RpdoColumn::CobId, TextId::RpdoCobIdRange, 0x181, 0x57F),
        K::range(RpdoColumn::Dimension, TextId::RpdoDimensionRange, 1, 8),
        K::range(RpdoColumn::Timeout, TextId::RpdoTimeoutRange, 0, 100000000),
    };
    t.columnTips = {TextId::TipRowNumber, TextId::TipPdoCobId, TextId::TipPdoDimension,
                    TextId::TipRpdoTimeout, TextId::TipMnemonic};
    return t;
}

} // namespace

const TableDefinition& pdoReceiveTable()
{
    static const TableDefinition table = makeTable();
    return table;
}

} // namespace setforge
