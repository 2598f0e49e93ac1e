#include "core/tables/emcyaccesstable.h"

#include "core/lang/textid.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

TableDefinition makeTable()
{
    TableDefinition t;
    t.objectName = "TFEMCYAccess";
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
        A::cell("ID_EMCY", EmcyColumn::DeviceId, 1),
        A::cell("EMCY_Error_Code", EmcyColumn::ErrorCode, 258),
        A::cell("Error_Register", EmcyColumn::ErrorRegister, 1),
        A::cell("Mnemonic", EmcyColumn::Mnemonic),
    };
    using K = TableCheck;
    t.checks = {
        K::range(EmcyColumn::DeviceId, TextId::EmcyDeviceIdRange, 1, 127),
        K::range(EmcyColumn::ErrorCode, TextId::EmcyErrorCodeRange, 0, 65535),
        K::range(EmcyColumn::ErrorRegister, TextId::EmcyErrorRegisterRange, 0, 255),
    };
    t.columnTips = {TextId::TipRowNumber, TextId::TipEmcyDeviceId, TextId::TipEmcyErrorCode,
                    TextId::TipEmcyErrorRegister, TextId::TipMnemonic};
    return t;
}

} // namespace

const TableDefinition& emcyAccessTable()
{
    static const TableDefinition table = makeTable();
    return table;
}

} // namespace setforge
