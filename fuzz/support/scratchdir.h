#pragma once

// One scratch folder per fuzz process, reused for every input: creating a folder per input
// would cost more than the input itself. The folder is emptied before each use and removed
// when the process ends normally (a crash leaves it for the post-mortem).

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#else
#include <process.h>
#endif

#include "core/base/paths.h"

namespace setforge {

class ScratchDir {
public:
    // The folder for `target`, created once, emptied of everything it holds.
    static const std::string& fresh(const char* target)
    {
        static ScratchDir dir(target);
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir.m_path, ec))
            std::filesystem::remove_all(entry.path(), ec);
        return dir.m_utf8;
    }

    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }

private:
    explicit ScratchDir(const char* target)
    {
#ifndef _WIN32
        const long pid = static_cast<long>(::getpid());
#else
        const long pid = static_cast<long>(::_getpid());
#endif
        m_path = std::filesystem::temp_directory_path() /
                 (std::string("setforge-fuzz-") + target + "-" + std::to_string(pid));
        std::filesystem::create_directories(m_path);
        m_utf8 = pathToUtf8(m_path);
    }

    std::filesystem::path m_path;
    std::string m_utf8;
};

} // namespace setforge
