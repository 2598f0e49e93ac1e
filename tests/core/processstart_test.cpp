#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/update/processstart.h"
#include "core/update/updatefiles.h"
#include "updatertestsupport.h"

TEST(ProcessStart, PassesQuotedPathsWholeAndReturnsTheExitCode)
{
    UpdaterFolder folder;
    folder.install(kSerialUpdaterName);
    UpdaterFolder::setEnv("SETFORGE_FAKE_UPDATER_EXIT", "7");
    SystemProcessRunner runner;
    const std::string program = updaterPath(folder.dir(), kSerialUpdaterName);
    const ProcessOutcome outcome = runner.runAndWait(
        program, "/dev/ttyS0 FW FR NO NO \"/a b/MASTER/sim40917.sim\" \"/a b/p/bin/\"", 10000);
    ASSERT_EQ(outcome.status, ProcessOutcome::Status::Exited) << outcome.error;
    EXPECT_EQ(outcome.exitCode, 7);
    const UpdaterFolder::Record record = folder.record();
    ASSERT_TRUE(record.exists);
    const std::vector<std::string> expected = {
        "/dev/ttyS0", "FW", "FR", "NO", "NO", "/a b/MASTER/sim40917.sim", "/a b/p/bin/"};
    EXPECT_EQ(record.args, expected);
    // No working directory of its own: the caller's is inherited.
    EXPECT_EQ(std::filesystem::path(record.cwd), std::filesystem::current_path());
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
    EXPECT_EQ(outcome.status, ProcessOutcome::Status::TimedOut);
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
