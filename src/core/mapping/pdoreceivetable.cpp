#include "core/mapping/pdoreceivetable.h"

#include "core/lang/textid.h"
#include "core/tables/tabledefinition.h"

namespace {

TableDefinition makeTable()
{
    TableDefinition t;
    t.className = "TFPDOReceive";
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
        A::cell("cobid", 1),     A::fixed("id_dev_orig", "1"), A::cell("dimension", 2),
        A::fixed("posind", "0"), A::fixed("n_tpdo", "0"),      A::cell("TimeOut", 3),
        A::cell("Mnemonic", 4),
    };
    using K = TableCheck;
    t.checks = {
        K::range(1, TextId::RpdoCobIdRange, 0x181, 0x57F),
        K::range(2, TextId::RpdoDimensionRange, 1, 8),
        K::range(3, TextId::RpdoTimeoutRange, 0, 100000000),
    };
    return t;
}

} // namespace

const TableDefinition& pdoReceiveTable()
{
    static const TableDefinition table = makeTable();
    return table;
}
