#include "core/tables/emcyaccesstable.h"

#include "core/lang/textid.h"
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
    t.firstText = TextId::EmcyFirst;
    t.lastText = TextId::EmcyLast;
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
        K::range(1, TextId::EmcyDeviceIdRange, 1, 127),
        K::range(2, TextId::EmcyErrorCodeRange, 0, 65535),
        K::range(3, TextId::EmcyErrorRegisterRange, 0, 255),
    };
    return t;
}

} // namespace

const TableDefinition& emcyAccessTable()
{
    static const TableDefinition table = makeTable();
    return table;
}
