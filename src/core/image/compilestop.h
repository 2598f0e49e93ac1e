#pragma once

#include <string>

#include "core/image/projectdocuments.h"

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

// Calls `action` for every element child of `root`, in document order, with its position
// among the element children (from 0). Comments and text between rows are not rows.
template <typename Action> void forEachElement(const pugi::xml_node& root, Action&& action)
{
    std::size_t i = 0;
    for (pugi::xml_node node : root.children())
        if (node.type() == pugi::node_element)
            action(node, i++);
}

// The number of element children of `root`.
inline std::size_t countElements(const pugi::xml_node& root)
{
    std::size_t n = 0;
    forEachElement(root, [&n](const pugi::xml_node&, std::size_t) { ++n; });
    return n;
}

} // namespace setforge
