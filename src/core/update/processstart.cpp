#include "core/update/processstart.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "core/update/commandline.h"

#ifdef _WIN32
// libstdc++ defines NOMINMAX itself.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace setforge {

namespace {

#ifdef _WIN32
std::wstring widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string systemMessage(DWORD code)
{
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = length ? std::string(buffer, length) : "error " + std::to_string(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}
#endif

} // namespace

#ifdef _WIN32

ProcessOutcome SystemProcessRunner::runAndWait(const std::string& program, const std::string& argumentText,
                                               int timeoutMs)
{
    ProcessOutcome outcome;
    // The program's own name comes first on its command line, quoted for blanks in the path.
    std::wstring commandLine = L"\"" + widen(program) + L"\"";
    if (!argumentText.empty())
        commandLine += L" " + widen(argumentText);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const std::wstring application = widen(program);
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        outcome.error = program + ": " + systemMessage(GetLastError());
        return outcome;
    }
    CloseHandle(info.hThread);
    const DWORD waited = WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeoutMs));
    DWORD code = 0;
    if (waited == WAIT_OBJECT_0 && GetExitCodeProcess(info.hProcess, &code)) {
        outcome.status = ProcessOutcome::Status::Exited;
        outcome.exitCode = static_cast<int>(code);
    } else {
        outcome.status = ProcessOutcome::Status::TimedOut;
    }
    CloseHandle(info.hProcess);
    return outcome;
}

#else

namespace {

std::int64_t steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

ProcessOutcome runProgram(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
                          bool searchPath, bool quiet, const std::function<void()>& idle)
{
    ProcessOutcome outcome;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const int rc = searchPath ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
                              : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        outcome.error = program + ": " + std::strerror(rc);
        return outcome;
    }

    const std::int64_t start = steadyMs();
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            outcome.status = ProcessOutcome::Status::Exited;
            outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return outcome;
        }
        if (done < 0) {
            // Someone else reaped it; its code is lost, but it has ended.
            outcome.status = ProcessOutcome::Status::Exited;
            outcome.exitCode = -1;
            return outcome;
        }
        if (steadyMs() - start >= timeoutMs) {
            outcome.status = ProcessOutcome::Status::TimedOut;
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (idle)
            idle();
    }
}

ProcessOutcome SystemProcessRunner::runAndWait(const std::string& program, const std::string& argumentText,
                                               int timeoutMs)
{
    return runProgram(program, splitWindowsArguments(argumentText), timeoutMs, false, false, {});
}

#endif

} // namespace setforge
