#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/update/processstart.h"
#include "core/update/updatefiles.h"
#include "updatertestsupport.h"

namespace setforge {

// The updater gets the argument text untouched and reads it with splitWindowsArguments: the
// serial updater's bin folder ends with a backslash right before the closing quote, which must
// not escape it. The program lies in a folder whose name has a blank and non-ASCII letters.
TEST(ProcessStart, PassesTheArgumentTextWholeAndReturnsTheExitCode)
{
    using Args = std::vector<std::string>;
    struct Case {
        const char* text;
        Args args;
        int exitCode;
    };
    const Case kCases[] = {
        {"/dev/ttyS0 FW FR NO NO \"/a b/MASTER/sim40917.sim\" \"/a b/p/bin/\"",
         {"/dev/ttyS0", "FW", "FR", "NO", "NO", "/a b/MASTER/sim40917.sim", "/a b/p/bin/"},
         7},
        {"\\\\.\\COM3 FW NO NO NO \"C:\\My Dir\\MASTER\\sim40917.sim\" \"C:\\My Dir\\Prüfstand-Ø2\\bin\\\"",
         {"\\\\.\\COM3", "FW", "NO", "NO", "NO", "C:\\My Dir\\MASTER\\sim40917.sim",
          "C:\\My Dir\\Prüfstand-Ø2\\bin\\"},
         0},
        // Backslashes before a quote are plain characters; "" is an empty argument.
        {"a\\\\\"b c\" \"\" d", {"a\\\\b c", "", "d"}, 200},
        {"", {}, 1},
    };
    UpdaterFolder folder(" Prüfstand Ø2");
    folder.install(kSerialUpdaterName);
    const std::string program = updaterPath(folder.dir(), kSerialUpdaterName);
    SystemProcessRunner runner;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        std::filesystem::remove(pathFromUtf8(folder.recordPath()));
        UpdaterFolder::setEnv("SETFORGE_FAKE_UPDATER_EXIT", std::to_string(c.exitCode));
        const ProcessOutcome outcome = runner.runAndWait(program, c.text, 10000);
        ASSERT_EQ(outcome.status, ProcessOutcome::Status::Exited) << outcome.error;
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        const UpdaterFolder::Record record = folder.record();
        ASSERT_TRUE(record.exists);
        EXPECT_EQ(record.args, c.args);
#ifdef _WIN32
        // CreateProcess hands the text over as it is: nothing quoted or escaped on the way.
        EXPECT_EQ(record.line, c.text);
#endif
        // No working directory of its own: the caller's is inherited.
        EXPECT_EQ(std::filesystem::path(record.cwd), std::filesystem::current_path());
    }
}

TEST(ProcessStart, MissingProgramIsAStartFailureNamingIt)
{
    UpdaterFolder folder;
    SystemProcessRunner runner;
    const std::string program = updaterPath(folder.dir(), kEthernetUpdaterName);
    const ProcessOutcome outcome = runner.runAndWait(program, "", 10000);
    EXPECT_EQ(outcome.status, ProcessOutcome::Status::StartFailed);
    EXPECT_NE(outcome.error.find(program), std::string::npos) << outcome.error;
    EXPECT_FALSE(folder.record().exists);
}

TEST(ProcessStart, LongRunnerIsLeftRunningAfterTheWait)
{
    UpdaterFolder folder;
    folder.install(kEthernetUpdaterName);
    UpdaterFolder::setEnv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "1500");
    SystemProcessRunner runner;
    const ProcessOutcome outcome =
        runner.runAndWait(updaterPath(folder.dir(), kEthernetUpdaterName), "", 300);
    EXPECT_EQ(outcome.status, ProcessOutcome::Status::TimedOut) << outcome.error;
    // It ran: it left its record before sleeping.
    for (int i = 0; i < 200 && !folder.record().exists; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(folder.record().exists);
}

TEST(ProcessStart, UpdaterPathsBesideTheExecutable)
{
#ifdef _WIN32
    EXPECT_EQ(updaterPath("C:\\S", kSerialUpdaterName), "C:\\S\\Ser_40917_Update.exe");
    EXPECT_EQ(updaterPath("C:\\S", kEthernetUpdaterName), "C:\\S\\Ethernet_Update.exe");
#else
    EXPECT_EQ(updaterPath("/opt/s", kSerialUpdaterName), "/opt/s/Ser_40917_Update");
    EXPECT_EQ(updaterPath("/opt/s", kEthernetUpdaterName), "/opt/s/Ethernet_Update");
#endif
}

} // namespace setforge
