#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/tables/projectdocuments.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

class UiTexts;

// What the table dialog's OK would say about a table file, without a window: loads the file
// at `tablePath` as the dialog does when it is shown, then runs the dialog's checks for the
// device `variant` (see readTableVariant for a project's variant). Returns the messages the
// dialog would show, texts taken from `texts`:
// - empty: the file is missing (an empty table) or every used row passes;
// - one message "Error row <r>!!..." for the first failing check, as the dialog shows it;
// - one message with the system's or the parser's error text when the file cannot be read
//   or is not well-formed XML.
// Nothing is written.
std::vector<std::string> checkTableFile(const TableDefinition& table, std::string_view tablePath,
                                        DeviceVariant variant, const UiTexts& texts);
// The same over the table's file as `docs` holds it; the message of a file that cannot be read
// or is not well-formed is the text ProjectDocuments keeps for it.
std::vector<std::string> checkTableFile(const TableDefinition& table, ProjectDocuments& docs,
                                        DeviceVariant variant, const UiTexts& texts);

// The variant for the table dialogs as readTableVariant reads it, from the ParGen.xml `docs`
// holds.
DeviceVariant readTableVariant(ProjectDocuments& docs);

} // namespace setforge
