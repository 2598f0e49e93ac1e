#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace setforge {

class EchoClient;
class ProcessRunner;
struct CompiledImages;
struct ProjectFindings;

// Exit codes of `update` beyond the updater's own code.
inline constexpr int kUpdateExitStopped = 1; // compile stopped, bad project, job file not written
inline constexpr int kUpdateExitUsage = 2;
inline constexpr int kUpdateExitNoDevice = 3;    // reachability check failed
inline constexpr int kUpdateExitNotStarted = 4;  // the updater could not be started
inline constexpr int kUpdateExitTimedOut = 5;    // the updater was still running after the wait
inline constexpr int kUpdateExitCheckFailed = 6; // a project check failed and --force was not given

// What `update` works with; tests replace the parts that reach outside.
struct UpdateCommandEnv {
    std::string workspaceDir; // where the updaters and the job file lie; MASTER below it
    // The project checks; empty: checkProject on the project's files.
    std::function<ProjectFindings(const std::string& projectDir)> check;
    // Compiles the project's images in memory into `images`; false (with the reason on
    // `err`) stops the update. Empty: compileInMemory.
    std::function<bool(const std::string& projectDir, CompiledImages& images, std::ostream& err)> compile;
    // Writes the compiled images into the project's bin folder; false (with the reason on
    // `err`) stops the update. Empty: writeCompiledImages.
    std::function<bool(const std::string& projectDir, const CompiledImages& images, std::ostream& err)>
        writeImages;
    EchoClient* echo = nullptr;          // null: the system's ICMP echo
    std::function<std::int64_t()> nowMs; // clock of the reachability check; empty: the steady clock
    ProcessRunner* runner = nullptr;     // null: the system's process start
    int waitMs = 0;                      // 0: the updaters' usual wait of 150 s
};

// The environment of the running setforge-cli: the workspace the desktop program would use
// (beside setforge-cli when portable, the user's data folder when installed) and the compile.
UpdateCommandEnv systemUpdateEnv();

// Compiles the images of `projectDir` in memory, each compile message on its own line on
// `err`. Returns false when the compile stops. Writes nothing.
bool compileInMemory(const std::string& projectDir, CompiledImages& images, std::ostream& err);

// Writes `images` into projectDir/bin as the `compile` command does. Returns false with the
// reason on `err` when a file cannot be written (the old files are then kept).
bool writeCompiledImages(const std::string& projectDir, const CompiledImages& images, std::ostream& err);

// `update PROJECT_DIR (--serial PORT | --ip ADDRESS) [--option both|firmware|configuration]
// [--no-read-back] [--force] [--dry-run]` (args without the command name). Returns the exit
// code. With --dry-run it writes no file and sends nothing.
int runUpdateCommand(const std::vector<std::string>& args, const UpdateCommandEnv& env, std::ostream& out,
                     std::ostream& err);

// The usage lines of `update`.
void printUpdateUsage(std::ostream& out);

} // namespace setforge
