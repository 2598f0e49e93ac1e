#include "core/tables/emcyaccesstable.h"

#include "core/tables/tabledefinition.h"

namespace {

TableDefinition makeTable()
{
    TableDefinition t;
    t.className = "TFEMCYAccess";
    t.fileName = "emcydef.xml";
    t.projectFile = &ProjectFiles::emcyDef;
    t.rootName = "EMCY";
    t.rowCount = 100;
    t.firstText = 700;
    t.lastText = 715;
    using C = TableColumn;
    t.columns = {C::text(40), C::text(110), C::text(110), C::text(110), C::text(300)};
    using A = TableAttribute;
    t.attributes = {
        A::cell("ID_EMCY", 1),
        A::cell("EMCY_Error_Code", 2),
        A::cell("Error_Register", 3),
        A::cell("Mnemonic", 4),
    };
    using K = TableCheck;
    t.checks = {
        K::range(1, 712, 1, 127),
        K::range(2, 713, 0, 65535),
        K::range(3, 714, 0, 255),
    };
    t.columnTips = {150, 160, 161, 162, 159};
    return t;
}

} // namespace

const TableDefinition& emcyAccessTable()
{
    static const TableDefinition table = makeTable();
    return table;
}
