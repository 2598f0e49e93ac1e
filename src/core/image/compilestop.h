#pragma once

#include <string>

#include "core/base/xmlfile.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

// Thrown inside the image compilers when the update must stop; compileImages catches it and
// reports `message` as an error. Never leaves the core.
struct CompileStopped {
    std::string message;
};

// The file as the compilers read it: its entry when it is missing or well-formed; a file that
// is there but cannot be read or parsed stops the update with the parser's or system's text.
inline const ProjectDocuments::Entry& readProjectFile(ProjectDocuments& docs, ProjectDocuments::File file)
{
    const ProjectDocuments::Entry& entry = docs.get(file);
    if (!entry.error.empty())
        throw CompileStopped{entry.error};
    return entry;
}

} // namespace setforge
