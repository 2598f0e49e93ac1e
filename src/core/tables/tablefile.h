#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "core/base/atomicfile.h"
#include "core/base/xmlfile.h"

namespace setforge {

class Grid;
struct TableDefinition;

// Clears `grid` (row numbers in column 0, every data cell empty), then fills it from the table
// document `doc`: the i-th element child of the root fills row i+1, each cell from its
// attribute (missing: empty), computed attributes through their own reading. The root's name
// is not tested; comments and text between elements are skipped; children beyond row N are
// ignored.
void fillGridFromDocument(const TableDefinition& table, const pugi::xml_document& doc, Grid& grid);

// Clears `grid`, then loads the table file at `utf8Path` into it. A missing file succeeds and
// leaves the table empty; a file that cannot be read or is not well-formed gives the loader's
// Error and leaves the grid cleared.
Result<void> loadTableFile(const TableDefinition& table, std::string_view utf8Path, Grid& grid);

// Builds the table document of the used rows of `grid` into `doc` (reset first): the root,
// one `row` per used row with every attribute in the table's order, then the version comment.
void buildTableDocument(const TableDefinition& table, const Grid& grid, pugi::xml_document& doc);

// The table file's text for the used rows of `grid`, exactly as saveTableFile writes it.
std::string tableFileText(const TableDefinition& table, const Grid& grid);

// Writes the table file of the used rows of `grid` to `utf8Path` through the atomic-write
// helper; on failure the old file stays and the result holds the system's text.
Result<void> saveTableFile(const TableDefinition& table, const Grid& grid, std::string_view utf8Path);

} // namespace setforge
