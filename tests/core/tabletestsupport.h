#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/tables/grid.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace tabletest {

// A fresh folder below the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The UTF-8 path of `name` inside the folder.
    std::string file(const std::string& name) const;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A grid of `table` with `rows` in rows 1, 2, ..., each listing the texts of columns 1.. in order.
Grid gridOf(const TableDefinition& table, const std::vector<std::vector<std::string>>& rows);

// The texts of columns 1..C-1 of `row`.
std::vector<std::string> rowOf(const Grid& grid, int row);

// Writes `content` to `path` (through the atomic-write helper, as everything else).
void writeText(const std::string& path, const std::string& content);

// The whole content of `path` ("" when it cannot be read).
std::string readText(const std::string& path);

} // namespace tabletest

} // namespace setforge
