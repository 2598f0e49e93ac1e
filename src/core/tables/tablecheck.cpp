#include "core/tables/tablecheck.h"

#include "core/tables/grid.h"
#include "core/tables/pargenfile.h"
#include "core/tables/tablefile.h"
#include "core/tables/tablevalidator.h"

namespace setforge {

std::vector<std::string> checkTableFile(const TableDefinition& table, ProjectDocuments& docs,
                                        DeviceVariant variant, const UiTexts& texts)
{
    const ProjectDocuments::Entry& entry = docs.get(ProjectDocuments::fileOf(table.projectFile));
    if (!entry.error.empty())
        return {entry.error};
    Grid grid(table.rowCount, table.columnCount());
    if (entry.exists)
        fillGridFromDocument(table, entry.doc, grid);
    if (std::optional<std::string> message = validateTable(table, grid, variant, texts))
        return {std::move(*message)};
    return {};
}

DeviceVariant readTableVariant(ProjectDocuments& docs)
{
    return variantForTables(deviceTypeOf(docs.get(ProjectDocuments::File::ParGen).root));
}

std::vector<std::string> checkTableFile(const TableDefinition& table, std::string_view tablePath,
                                        DeviceVariant variant, const UiTexts& texts)
{
    Grid grid(table.rowCount, table.columnCount());
    const Result<void> loaded = loadTableFile(table, tablePath, grid);
    if (!loaded)
        return {loaded.error().text};
    if (std::optional<std::string> message = validateTable(table, grid, variant, texts))
        return {std::move(*message)};
    return {};
}

} // namespace setforge
