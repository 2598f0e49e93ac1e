#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"

namespace setforge {

// Creates projectsDir/name and its bin subdirectory and returns the new project's folder. The
// name is taken exactly as typed. A refusal is an Error whose textId is the UI text of the
// reason: 107 empty name, 106 exists, 105 cannot be created. A name equal to an existing
// project's when letters a-z are compared in upper case is refused with 106, as on a
// case-insensitive disk. A name holding "/" or "\", or equal to "." or "..", is refused with
// 105, so no project can be made outside projectsDir.
Result<std::string> createProject(std::string_view projectsDir, std::string_view name);

// The names of the project directories in projectsDir, in the file system's order; hidden
// entries ("." names elsewhere than Windows, the hidden attribute on Windows) are left out.
// A missing or unreadable directory gives an empty list.
std::vector<std::string> listProjects(std::string_view projectsDir);

// Index of the entry equal to `name`; without one, of the first entry equal to it when letters
// a-z are compared in upper case; -1 when neither.
int findProject(const std::vector<std::string>& list, std::string_view name);

// The project name part of projectDir below projectsDir (empty when projectDir is empty).
std::string openProjectName(std::string_view projectsDir, std::string_view projectDir);

} // namespace setforge
