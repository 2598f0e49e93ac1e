#include "core/tables/nodeguardtable.h"

#include "core/lang/textid.h"
#include "core/tables/tabledefinition.h"

namespace {

TableDefinition makeTable()
{
    TableDefinition t;
    t.className = "TFNodeGuard";
    t.fileName = "NodeGuard.xml";
    t.projectFile = &ProjectFiles::nodeGuard;
    t.rootName = "Node_Guarding";
    t.rowCount = 32;
    t.firstText = TextId::NodeGuardFirst;
    t.lastText = TextId::NodeGuardLast;
    using C = TableColumn;
    t.columns = {C::text(40), C::text(120), C::text(120), C::text(120), C::text(275)};
    using A = TableAttribute;
    t.attributes = {
        A::cell("NodeID", 1),
        A::cell("GuardTime", 2),
        A::cell("LifeTimeFactor", 3),
        A::cell("Mnemonic", 4),
    };
    using K = TableCheck;
    t.checks = {
        K::range(1, TextId::NodeGuardDeviceIdRange, 1, 127),
        K::range(2, TextId::NodeGuardGuardTimeRange, 1, 65535),
        K::range(3, TextId::NodeGuardLifeTimeFactorRange, 1, 255),
    };
    return t;
}

} // namespace

const TableDefinition& nodeGuardTable()
{
    static const TableDefinition table = makeTable();
    return table;
}
