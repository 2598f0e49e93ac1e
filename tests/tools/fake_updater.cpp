// Stands in for the serial and Ethernet updaters in tests. Tests copy it beside a test
// executable under an updater's name. It records what it was given and exits with a chosen
// code:
//   SETFORGE_FAKE_UPDATER_RECORD  file receiving the record (default: <own path>.record)
//   SETFORGE_FAKE_UPDATER_EXIT    exit code (default 0)
//   SETFORGE_FAKE_UPDATER_SLEEP_MS  time to stay running before exiting (default 0)
// The record: "cwd=<working directory>", on Windows "line=<command line after the program's
// name>", "arg=<argument>" per argument, then "job=" and the text of Ethernet_Update.xml beside
// the program, or "nojob" when there is none.
//
// On Windows the arguments are split from the raw command line with splitWindowsArguments, the
// way the real updaters read theirs: the C runtime's argv would take the bin folder's closing
// backslash and quote ("...\bin\"") for an escaped quote.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/update/commandline.h"

namespace setforge {

namespace {

#ifdef _WIN32
std::string narrow(const std::wstring& wide)
{
    return pathToUtf8(std::filesystem::path(wide));
}

std::filesystem::path ownPath(const char*)
{
    std::wstring buffer(32768, L'\0');
    buffer.resize(GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())));
    return std::filesystem::path(buffer);
}

// The command line after the program's own name, which is quoted or ends at the first blank.
std::string argumentText()
{
    const std::string line = narrow(GetCommandLineW());
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        i = close == std::string::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
    }
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    return line.substr(i);
}
#else
std::filesystem::path ownPath(const char* argv0)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self;
    return std::filesystem::absolute(argv0, ec);
}
#endif

int envInt(const char* name, int def)
{
    const char* value = std::getenv(name);
    return value ? textToInt(value, def) : def;
}

} // namespace

} // namespace setforge

using namespace setforge;

int main(int argc, char** argv)
{
    const std::filesystem::path self = ownPath(argv[0]);
    std::string record = "cwd=" + pathToUtf8(std::filesystem::current_path()) + "\n";
#ifdef _WIN32
    (void)argc;
    const std::string text = argumentText();
    record += "line=" + text + "\n";
    const std::vector<std::string> args = splitWindowsArguments(text);
#else
    const std::vector<std::string> args(argv + 1, argv + argc);
#endif
    for (const std::string& arg : args)
        record += "arg=" + arg + "\n";
    const std::string jobPath = pathToUtf8(self.parent_path() / "Ethernet_Update.xml");
    const Result<std::string> job = isRegularFile(jobPath) ? readWholeFile(jobPath) : makeError("no job");
    if (job)
        record += "job=" + *job;
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
