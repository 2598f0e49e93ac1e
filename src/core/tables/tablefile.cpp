#include "core/tables/tablefile.h"

#include "core/tables/grid.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

void fillGridFromDocument(const TableDefinition& table, const pugi::xml_document& doc, Grid& grid)
{
    grid.clear();
    const pugi::xml_node root = documentRoot(doc);
    int row = 1;
    for (pugi::xml_node child : root.children()) {
        if (row > grid.rowCount())
            break;
        if (child.type() != pugi::node_element)
            continue;
        for (const TableAttribute& attribute : table.attributes) {
            const pugi::xml_attribute value = child.attribute(attribute.name);
            if (attribute.spread)
                attribute.spread(value.value(), grid, row);
            else if (attribute.column >= 1 && value)
                grid.setCell(row, attribute.column, value.value());
        }
        ++row;
    }
}

Result<void> loadTableFile(const TableDefinition& table, std::string_view utf8Path, Grid& grid)
{
    grid.clear();
    pugi::xml_document doc;
    const Result<XmlFile> loaded = loadXmlFile(utf8Path, doc);
    if (!loaded)
        return loaded.error();
    if (*loaded == XmlFile::Read)
        fillGridFromDocument(table, doc, grid);
    return {};
}

void buildTableDocument(const TableDefinition& table, const Grid& grid, pugi::xml_document& doc)
{
    pugi::xml_node root = startTableDocument(doc, table.rootName);
    const int used = grid.usedRowCount();
    for (int row = 1; row <= used; ++row) {
        pugi::xml_node element = root.append_child("row");
        for (const TableAttribute& attribute : table.attributes) {
            pugi::xml_attribute value = element.append_attribute(attribute.name);
            if (attribute.compute)
                value.set_value(attribute.compute(grid, row).c_str());
            else if (attribute.constant)
                value.set_value(attribute.constant);
            else
                value.set_value(grid.cell(row, attribute.column).c_str());
        }
    }
}

std::string tableFileText(const TableDefinition& table, const Grid& grid)
{
    pugi::xml_document doc;
    buildTableDocument(table, grid, doc);
    return serializeXml(doc);
}

Result<void> saveTableFile(const TableDefinition& table, const Grid& grid, std::string_view utf8Path)
{
    pugi::xml_document doc;
    buildTableDocument(table, grid, doc);
    return saveXmlFile(doc, utf8Path);
}

} // namespace setforge
