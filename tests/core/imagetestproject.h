#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#define SETFORGE_TEST_PID _getpid()
#else
#include <unistd.h>
#define SETFORGE_TEST_PID ::getpid()
#endif

#include <gtest/gtest.h>

#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/base/xmlfile.h"

namespace setforge {

// A project directory in a fresh temporary folder, removed at the end of the test.
class TempProject {
public:
    TempProject()
    {
        static std::atomic<int> counter{0};
        m_dir = std::filesystem::temp_directory_path() /
                ("setforge_image_test_" + std::to_string(static_cast<long>(SETFORGE_TEST_PID)) + "_" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir / "Demo");
    }
    ~TempProject()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    TempProject(const TempProject&) = delete;
    TempProject& operator=(const TempProject&) = delete;

    // The project directory (temp/Demo).
    std::string dir() const { return pathToUtf8(m_dir / "Demo"); }
    // The temporary folder holding it, for other output files.
    std::string base() const { return pathToUtf8(m_dir); }
    ProjectFiles files() const { return makeProjectFiles(dir()); }

    // Writes one project file: `root` holds the rows; the version comment follows it.
    void write(const std::string& name, const std::string& content) const
    {
        ASSERT_TRUE(writeFileAtomic(joinPath(dir(), name), content)) << name;
    }
    void table(const std::string& name, const std::string& root, const std::string& rows) const
    {
        write(name, "<" + root + ">" + rows + "</" + root + "><!--" + kVersionComment + "-->");
    }

private:
    std::filesystem::path m_dir;
};

// The bytes of a file (empty when missing).
inline std::vector<std::uint8_t> fileBytes(const std::string& path)
{
    const Result<std::string> read = readWholeFile(path);
    if (!read)
        return {};
    return {read->begin(), read->end()};
}

} // namespace setforge
