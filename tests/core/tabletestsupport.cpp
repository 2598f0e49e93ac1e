#include "tabletestsupport.h"

#include <atomic>
#include <chrono>

#include <gtest/gtest.h>

#include "core/base/atomicfile.h"
#include "core/base/paths.h"

namespace setforge {

namespace tabletest {

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    m_path = std::filesystem::temp_directory_path() /
             ("setforge_tables_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::file(const std::string& name) const
{
    return pathToUtf8(m_path / name);
}

Grid gridOf(const TableDefinition& table, const std::vector<std::vector<std::string>>& rows)
{
    Grid grid(table.rowCount, table.columnCount());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.setCell(static_cast<int>(r) + 1, static_cast<int>(c) + 1, rows[r][c]);
    return grid;
}

std::vector<std::string> rowOf(const Grid& grid, int row)
{
    std::vector<std::string> cells;
    for (int column = 1; column < grid.columnCount(); ++column)
        cells.push_back(grid.cell(row, column));
    return cells;
}

void writeText(const std::string& path, const std::string& content)
{
    const Result<void> written = writeFileAtomic(path, content);
    ASSERT_TRUE(written) << written.error().text;
}

std::string readText(const std::string& path)
{
    const Result<std::string> read = readWholeFile(path);
    return read ? *read : std::string();
}

} // namespace tabletest

} // namespace setforge
