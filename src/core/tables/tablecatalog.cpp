#include "core/tables/tablecatalog.h"

#include "core/base/asciitext.h"
#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

const std::vector<const TableDefinition*>& tableDefinitions()
{
    static const std::vector<const TableDefinition*> all = {
        &sdoClientTable(), &emcyAccessTable(), &pdoReceiveTable(), &pdoTransmitTable(), &nodeGuardTable()};
    return all;
}

const TableDefinition* findTableDefinition(std::string_view name)
{
    for (const TableDefinition* table : tableDefinitions())
        if (name == table->objectName || equalsIgnoringAsciiCase(name, table->fileName))
            return table;
    return nullptr;
}

} // namespace setforge
