#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/base/paths.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace setforge {

// A temporary folder standing for the executable's folder, with copies of the fake updater
// under the updaters' names, and what the fake recorded.
class UpdaterFolder {
public:
    // `suffix` (UTF-8) ends the folder's name, for names with blanks or outside ASCII.
    explicit UpdaterFolder(const std::string& suffix = "")
    {
        static int counter = 0;
        m_dir = std::filesystem::temp_directory_path() /
                pathFromUtf8("setforge_updater_" + std::to_string(getpid()) + "_" +
                             std::to_string(++counter) + suffix);
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        setEnv("SETFORGE_FAKE_UPDATER_RECORD", recordPath());
        setEnv("SETFORGE_FAKE_UPDATER_EXIT", "0");
        setEnv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "0");
    }
    ~UpdaterFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    UpdaterFolder(const UpdaterFolder&) = delete;
    UpdaterFolder& operator=(const UpdaterFolder&) = delete;

    std::string dir() const { return pathToUtf8(m_dir); }
    std::string recordPath() const { return pathToUtf8(m_dir / "updater.record"); }

    // Copies the fake updater into the folder as `baseName` (".exe" added on Windows).
    void install(const std::string& baseName) const
    {
        std::filesystem::copy_file(std::filesystem::path(SETFORGE_TOOLS_DIR) / ("fake_updater" + exeSuffix()),
                                   m_dir / (baseName + exeSuffix()),
                                   std::filesystem::copy_options::overwrite_existing);
    }

    // Puts empty stand-ins for the firmware files a workspace ships into its MASTER folder.
    void installFirmware(const std::vector<std::string>& names) const
    {
        std::filesystem::create_directories(m_dir / "MASTER");
        for (const std::string& name : names)
            std::ofstream(m_dir / "MASTER" / pathFromUtf8(name), std::ios::binary) << "";
    }

    // The fake's record: "cwd", the raw argument text (Windows only), "job" (or "nojob") and
    // the arguments in order.
    struct Record {
        bool exists = false;
        std::string cwd;
        std::string line;
        std::vector<std::string> args;
        bool hasJob = false;
        std::string job;
    };
    Record record() const
    {
        Record result;
        const Result<std::string> read = readWholeFile(recordPath());
        if (!read)
            return result;
        const std::string& text = *read;
        result.exists = true;
        std::size_t pos = 0;
        while (pos < text.size()) {
            if (text.compare(pos, 4, "job=") == 0) {
                result.hasJob = true;
                result.job = text.substr(pos + 4);
                break;
            }
            const std::size_t end = text.find('\n', pos);
            const std::string line =
                text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            if (line.rfind("cwd=", 0) == 0)
                result.cwd = line.substr(4);
            else if (line.rfind("line=", 0) == 0)
                result.line = line.substr(5);
            else if (line.rfind("arg=", 0) == 0)
                result.args.push_back(line.substr(4));
            if (end == std::string::npos)
                break;
            pos = end + 1;
        }
        return result;
    }

    static void setEnv(const char* name, const std::string& value)
    {
#ifdef _WIN32
        _putenv_s(name, value.c_str());
#else
        ::setenv(name, value.c_str(), 1);
#endif
    }

    static std::string exeSuffix()
    {
#ifdef _WIN32
        return ".exe";
#else
        return "";
#endif
    }

private:
    std::filesystem::path m_dir;
};

} // namespace setforge
