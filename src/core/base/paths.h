#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/base/result.h"

namespace setforge {

// Builds a filesystem path from UTF-8 text, so non-ASCII names stay right on Windows.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// Returns the path as UTF-8 text.
std::string pathToUtf8(const std::filesystem::path& path);

// Joins a directory and a name with the platform's separator; nothing is normalised.
std::string joinPath(std::string_view dir, std::string_view name);

// True when `utf8` names an existing directory (false on any error).
bool isDirectory(std::string_view utf8);

// True when `utf8` names an existing regular file (false on any error).
bool isRegularFile(std::string_view utf8);

// True when something (file, directory, ...) exists at `utf8` (false on any error).
bool pathExists(std::string_view utf8);

// The whole file's bytes, or the system's error text with the path (a directory, no permission,
// a missing file).
Result<std::string> readWholeFile(std::string_view utf8);

} // namespace setforge
