// Start of the desktop program to its first shown main window, offscreen, beside the
// smallest Qt Widgets program started the same way. The ratio is the figure that matters:
// absolute times depend on the machine.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace setforge {

namespace {

bool runOnce(const std::string& program)
{
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e)
        envStrings.emplace_back(*e);
    envStrings.emplace_back("QT_QPA_PLATFORM=offscreen");
    envStrings.emplace_back("SETFORGE_QUIT_WHEN_SHOWN=1");
    std::vector<char*> env;
    for (std::string& s : envStrings)
        env.push_back(s.data());
    env.push_back(nullptr);
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, env.data()) != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void startProgram(benchmark::State& state, const std::string& program)
{
    for (auto _ : state) {
        if (!runOnce(program)) {
            state.SkipWithError(("could not run " + program).c_str());
            return;
        }
    }
}

void BM_StartFloorQtProgram(benchmark::State& state)
{
    startProgram(state, SETFORGE_FLOOR_PATH);
}

void BM_StartSetforge(benchmark::State& state)
{
    startProgram(state, SETFORGE_GUI_PATH);
}

BENCHMARK(BM_StartFloorQtProgram)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_StartSetforge)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

} // namespace

} // namespace setforge

BENCHMARK_MAIN();
