#pragma once

#include <string>
#include <vector>

#include "core/base/projectfiles.h"
#include "core/lang/uitexts.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

// What the compile's own messages start with among the findings ("compile: ...").
inline constexpr const char* kCompileFindingPrefix = "compile: ";

// What the project checks found. Errors fail `check`; warnings do not.
struct ProjectFindings {
    std::vector<std::string> errors;   // a failed check: the project should not go to a device
    std::vector<std::string> warnings; // worth a look, but nothing stops
    bool ok() const { return errors.empty(); }
};

// Every check that needs no window, on the project whose files are `files`: each dialog's
// table checks on the table files present (messages from `texts`, prefixed by the file name),
// that the images compile, values the plain image cuts short, registers claimed more than
// once, mapping rows that point at no frame or at bytes a frame lacks, and CAN identifiers used
// twice or equal to a predefined one, the project against its catalogued nodes' EDS files
// (core/report/edschecks.h). Missing files are skipped; nothing is written.
// A file that does not parse is an error naming the file once; the project warnings of
// core/image/projectwarnings.h are warnings.
ProjectFindings checkProject(const ProjectFiles& files, const UiTexts& texts);
// The same over the documents of a project that other readers share.
ProjectFindings checkProject(ProjectDocuments& docs, const UiTexts& texts);
// The same with the built-in English texts, as the command line and the pre-update check use.
ProjectFindings checkProject(const ProjectFiles& files);

// The findings as `check` prints them: "warning: ..." lines, then "error: ..." lines.
std::vector<std::string> findingLines(const ProjectFindings& findings);

} // namespace setforge
