#pragma once

#include <functional>
#include <string>
#include <vector>

namespace setforge {

// How a started program ended for the one who waited.
struct ProcessOutcome {
    enum class Status {
        Exited,      // ended; exitCode holds its code (128 + signal when killed by one)
        TimedOut,    // still running when the wait ended; it is left running
        StartFailed, // could not be started; error names the program and the reason
    };
    Status status = Status::StartFailed;
    int exitCode = 0;
    std::string error;
};

// Starts programs and waits for them. The command line holds one; tests replace it.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // Starts `program` (a full path) with the Windows-style `argumentText`, without a shell and
    // in the current directory, and waits up to `timeoutMs` for it to end.
    virtual ProcessOutcome runAndWait(const std::string& program, const std::string& argumentText,
                                      int timeoutMs) = 0;
};

// The system's process start: CreateProcess with the text as the command line's tail on
// Windows; elsewhere posix_spawn with the text split by splitWindowsArguments.
class SystemProcessRunner : public ProcessRunner {
public:
    ProcessOutcome runAndWait(const std::string& program, const std::string& argumentText,
                              int timeoutMs) override;
};

#ifndef _WIN32
// Starts `program` with `args` (argv[1] on) without a shell and waits up to `timeoutMs` in
// 10-millisecond steps, calling `idle` (if any) after each. `searchPath` looks the program up
// in PATH; `quiet` sends its output to /dev/null.
ProcessOutcome runProgram(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
                          bool searchPath, bool quiet, const std::function<void()>& idle);
#endif

} // namespace setforge
