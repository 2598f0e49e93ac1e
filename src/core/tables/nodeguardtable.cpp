#include "core/tables/nodeguardtable.h"

#include "core/lang/textid.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

TableDefinition makeTable()
{
    TableDefinition t;
    t.objectName = "TFNodeGuard";
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
        A::cell("NodeID", NodeGuardColumn::NodeId, 1),
        A::cell("GuardTime", NodeGuardColumn::GuardTime, 1000),
        A::cell("LifeTimeFactor", NodeGuardColumn::LifeTimeFactor, 4),
        A::cell("Mnemonic", NodeGuardColumn::Mnemonic),
    };
    using K = TableCheck;
    t.checks = {
        K::range(NodeGuardColumn::NodeId, TextId::NodeGuardDeviceIdRange, 1, 127),
        K::range(NodeGuardColumn::GuardTime, TextId::NodeGuardGuardTimeRange, 1, 65535),
        K::range(NodeGuardColumn::LifeTimeFactor, TextId::NodeGuardLifeTimeFactorRange, 1, 255),
    };
    t.columnTips = {TextId::TipRowNumber, TextId::TipNodeGuardDeviceId, TextId::TipNodeGuardGuardTime,
                    TextId::TipNodeGuardLifeTimeFactor, TextId::TipMnemonic};
    return t;
}

} // namespace

const TableDefinition& nodeGuardTable()
{
    static const TableDefinition table = makeTable();
    return table;
}

} // namespace setforge
