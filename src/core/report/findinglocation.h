#pragma once

#include <string>
#include <string_view>

#include "core/lang/uitexts.h"

namespace setforge {

// Where one finding of the project checks points: the project file, the row in it and, for a
// table, the column the text names.
struct FindingLocation {
    std::string file;          // the project file's name ("sdo.xml"); empty when the line names none
    int row = 0;               // from 1: the table row, the mapping file's row or the emergency; 0 for none
    int column = -1;           // the table column whose caption the text names; -1 for none
    std::string columnCaption; // that column's caption, as the texts give it; empty for none
    int word = 0;              // emcyword.xml: the word within the emergency, from 1; 0 for none
};

// Where a finding points. `line` is a finding or a line of findingLines ("warning: " or
// "error: " first). Read, in this order: "<file> row N: ...", "<file> emergency N word M: ...",
// "<file>: <the table's row error text>N..." (a table's own check, worded with `texts`),
// "<file>: ...", or else the first "(<file> row N" inside the text. The column is the column of
// that table whose caption in `texts` the rest of the text names as a whole word, the longest
// such caption when several do; files other than the five tables have no columns.
FindingLocation locateFinding(std::string_view line, const UiTexts& texts);

} // namespace setforge
