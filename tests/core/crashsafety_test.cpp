#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>
#include <string>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "../tools/crashsafetyfiles.h"
#include "core/base/paths.h"
#include "testutil.h"

namespace setforge {

namespace {

#ifndef _WIN32

// Starts crash_saver on `dir` and returns once it has said "ready" (every file saved once).
pid_t startSaver(const std::string& dir)
{
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    const std::string tool = std::string(SETFORGE_TOOLS_DIR) + "/crash_saver";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(tool.c_str(), tool.c_str(), dir.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    char buffer[16] = {};
    std::string said;
    ssize_t n;
    while (said.find('\n') == std::string::npos && (n = ::read(out[0], buffer, sizeof buffer)) > 0)
        said.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    if (said != "ready\n") {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        return -1;
    }
    return pid;
}

// True when no mix of the two versions' bytes and no cut of either can pass for the other:
// different sizes, or the same size with different first and different last bytes.
bool clearlyDifferent(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return true;
    constexpr std::size_t kEnd = 8;
    if (a.size() < kEnd)
        return false;
    return a.compare(0, kEnd, b, 0, kEnd) != 0 &&
           a.compare(a.size() - kEnd, kEnd, b, b.size() - kEnd, kEnd) != 0;
}

// A saver killed at random moments, over and over, must leave every file whole: exactly the
// old or the new content, never a torn, empty or missing file.
TEST(CrashSafety, KilledSaverLeavesEveryFileWhole)
{
    TempDir dir;
    const auto& files = crashSafetyFiles();
    std::map<std::string, std::string> oldContent;
    std::map<std::string, std::string> newContent;
    for (const CrashSafetyFile& f : files) {
        oldContent[f.name] = f.expected(false);
        newContent[f.name] = f.expected(true);
        ASSERT_TRUE(clearlyDifferent(oldContent[f.name], newContent[f.name])) << f.name;
    }

    std::mt19937 random(20261209u);
    std::uniform_int_distribution<int> delayMs(0, 60);
    constexpr int kRounds = 40;
    int newSeen = 0;
    for (int round = 0; round < kRounds; ++round) {
        const pid_t pid = startSaver(dir.utf8());
        ASSERT_GT(pid, 0) << "crash_saver did not start in round " << round;
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        ASSERT_EQ(::kill(pid, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "crash_saver ended by itself in round " << round << " (a save failed?)";

        for (const CrashSafetyFile& f : files) {
            const std::string path = joinPath(dir.utf8(), f.name);
            const std::string content = readTestFile(path);
            const bool isOld = content == oldContent[f.name];
            const bool isNew = content == newContent[f.name];
            ASSERT_TRUE(isOld || isNew)
                << f.name << " is torn after the kill in round " << round << ": " << content.size()
                << " bytes, expected " << oldContent[f.name].size() << " or " << newContent[f.name].size();
            newSeen += isNew ? 1 : 0;
        }
    }
    // Guards the test itself: the kills must have landed while the saver was alternating.
    EXPECT_GT(newSeen, 0) << "no kill landed after a new version was saved";
}

#else

TEST(CrashSafety, KilledSaverLeavesEveryFileWhole)
{
    GTEST_SKIP() << "uses fork and SIGKILL";
}

#endif

} // namespace

} // namespace setforge
