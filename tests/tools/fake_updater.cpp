// Stands in for the serial and Ethernet updaters in tests. Tests copy it beside a test
// executable under an updater's name. It records what it was given and exits with a chosen
// code:
//   SETFORGE_FAKE_UPDATER_RECORD  file receiving the record (default: <own path>.record)
//   SETFORGE_FAKE_UPDATER_EXIT    exit code (default 0)
//   SETFORGE_FAKE_UPDATER_SLEEP_MS  time to stay running before exiting (default 0)
// The record: "cwd=<working directory>", "arg=<argument>" per argument, then "job=" and the
// text of Ethernet_Update.xml beside the program, or "nojob" when there is none.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "core/app/atomicfile.h"
#include "core/app/paths.h"
#include "core/tables/textint.h"

namespace {

std::filesystem::path ownPath(const char* argv0)
{
    std::error_code ec;
#ifndef _WIN32
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self;
#endif
    return std::filesystem::absolute(argv0, ec);
}

int envInt(const char* name, int def)
{
    const char* value = std::getenv(name);
    return value ? textToInt(value, def) : def;
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path self = ownPath(argv[0]);
    std::string record = "cwd=" + pathToUtf8(std::filesystem::current_path()) + "\n";
    for (int i = 1; i < argc; ++i)
        record += std::string("arg=") + argv[i] + "\n";
    std::string job;
    std::string error;
    const std::string jobPath = pathToUtf8(self.parent_path() / "Ethernet_Update.xml");
    if (isRegularFile(jobPath) && readWholeFile(jobPath, job, error))
        record += "job=" + job;
    else
        record += "nojob";

    const char* target = std::getenv("SETFORGE_FAKE_UPDATER_RECORD");
    const std::string recordPath = target ? std::string(target) : pathToUtf8(self) + ".record";
    if (!writeFileAtomic(recordPath, record))
        return 99;
    const int sleepMs = envInt("SETFORGE_FAKE_UPDATER_SLEEP_MS", 0);
    if (sleepMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs));
    return envInt("SETFORGE_FAKE_UPDATER_EXIT", 0);
}
