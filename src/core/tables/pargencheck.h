#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/xmlfile.h"
#include "core/lang/uitexts.h"
#include "core/tables/pargenvalues.h"
#include "core/tables/projectdocuments.h"

// The checks the communication parameters pass before they are saved. Each number is read
// with textToInt(text, -1) and compared with a closed range; a check whose condition
// is false (its check box unticked, another variant) does not look at its field at all.

namespace setforge {

// The UI_Texts indexes of the messages of every failing check, in the order the checks run
// (467 ... 474, 493, 475 ... 486). Empty when everything passes.
std::vector<int> parGenFailures(const ParGenValues& values);

// The UI_Texts index of the first failing check, the one the dialog's OK reports, or 0.
int firstParGenFailure(const ParGenValues& values);

// Outcome of checking a ParGen.xml file without the dialog.
struct ParGenFileCheck {
    // Success when the file was read, or is missing (the defaults of a new project were then
    // checked, as the dialog would show them); the loader's Error when it cannot be read or is
    // not well-formed (nothing was checked).
    Result<void> read;
    // The texts of every failing check in the dialog's order; front() is exactly what the
    // dialog's OK shows. Empty when the file would be saved.
    std::vector<std::string> messages;
    // True when the file could be read (or is missing) and every check passed.
    bool passed() const { return messages.empty() && read; }
};

// Loads the ParGen.xml at `utf8Path` as the dialog does and runs the dialog's checks on it,
// taking the messages from `texts` (so they follow the loaded language).
ParGenFileCheck checkParGenFile(std::string_view utf8Path, const UiTexts& texts);
// The same over the ParGen.xml `docs` holds.
ParGenFileCheck checkParGenFile(ProjectDocuments& docs, const UiTexts& texts);

} // namespace setforge
