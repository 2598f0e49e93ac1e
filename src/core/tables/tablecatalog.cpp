#include "core/tables/tablecatalog.h"

#include <cctype>

#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

const std::vector<const TableDefinition*>& tableDefinitions()
{
    static const std::vector<const TableDefinition*> all = {
        &sdoClientTable(), &emcyAccessTable(), &pdoReceiveTable(), &pdoTransmitTable(), &nodeGuardTable()};
    return all;
}

const TableDefinition* findTableDefinition(std::string_view name)
{
    for (const TableDefinition* table : tableDefinitions())
        if (name == table->objectName || sameIgnoringCase(name, table->fileName))
            return table;
    return nullptr;
}

} // namespace setforge
