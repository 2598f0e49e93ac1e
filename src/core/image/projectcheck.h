#pragma once

#include <string>
#include <vector>

#include "core/app/projectfiles.h"

// What the project checks found, each line naming its file (and row where there is one).
struct ProjectFindings {
    std::vector<std::string> errors;   // a failed check: the project should not go to a device
    std::vector<std::string> warnings; // worth a look, but nothing stops
    bool ok() const { return errors.empty(); }
};

// Every check that needs no window, over the files present in the project whose paths are
// `files`: the communication parameters and each table as their dialogs check them on OK, the
// compile, values the plain image cuts short, Modbus registers claimed twice, and the project
// warnings of projectwarnings.h. Messages are the built-in
// English texts. Missing files are skipped; a file that does not parse is an error naming the file once.
// Writes nothing.
ProjectFindings checkProject(const ProjectFiles& files);
