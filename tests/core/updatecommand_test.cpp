#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "cli/updatecommand.h"
#include "core/update/echoclient.h"
#include "core/update/ethernetjob.h"
#include "core/update/processstart.h"
#include "core/update/updatefiles.h"
#include "updatertestsupport.h"

namespace {

class FixedEcho : public EchoClient {
public:
    explicit FixedEcho(EchoStatus status) : m_status(status) {}
    EchoStatus echo(const std::string& address, int, const std::function<void()>&) override
    {
        addresses.push_back(address);
        return m_status;
    }
    std::vector<std::string> addresses;

private:
    EchoStatus m_status;
};

// An exe folder with a project folder beside the updaters, and a compile that always succeeds.
struct CliFixture {
    UpdaterFolder folder;
    std::string projectDir;
    UpdateCommandEnv env;
    std::vector<std::string> compiled;
    std::ostringstream out;
    std::ostringstream err;

    CliFixture()
    {
        projectDir = joinPath(joinPath(folder.dir(), "PROJECTS"), "Plant 1");
        std::filesystem::create_directories(pathFromUtf8(joinPath(projectDir, "bin")));
        env.exeDir = folder.dir();
        env.compile = [this](const std::string& dir, std::ostream&) {
            compiled.push_back(dir);
            return true;
        };
    }
    int run(std::vector<std::string> args) { return runUpdateCommand(args, env, out, err); }
    std::string jobPath() const { return joinPath(folder.dir(), kEthernetJobFile); }
};

} // namespace

TEST(UpdateCommand, UsageErrors)
{
    const std::vector<std::vector<std::string>> kCases = {
        {},
        {"P"},                                                // neither --serial nor --ip
        {"P", "--serial", "/dev/ttyS0", "--ip", "127.0.0.1"}, // both
        {"P", "--serial"},                                    // value missing
        {"P", "--ip", "127.0.0.1", "--option", "all"},
        {"P", "Q", "--ip", "127.0.0.1"},
        {"P", "--ip", "127.0.0.1", "--fast"},
    };
    for (const auto& args : kCases) {
        CliFixture f;
        EXPECT_EQ(f.run(args), 2) << testing::PrintToString(args);
        EXPECT_FALSE(f.err.str().empty());
        EXPECT_TRUE(f.compiled.empty());
    }
}

TEST(UpdateCommand, StoppedCompileOrMissingProjectEndsWithOne)
{
    CliFixture f;
    f.folder.install(kSerialUpdaterName);
    f.env.compile = [](const std::string&, std::ostream& err) {
        err << "stopped\n";
        return false;
    };
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0"}), 1);
    EXPECT_FALSE(f.folder.record().exists);

    CliFixture g;
    EXPECT_EQ(g.run({joinPath(g.folder.dir(), "nothing"), "--serial", "/dev/ttyS0"}), 1);
    EXPECT_NE(g.err.str().find("not a project folder"), std::string::npos);
    EXPECT_TRUE(g.compiled.empty());
}

TEST(UpdateCommand, CompileStepIsNotYetAvailable)
{
    CliFixture f;
    f.env.compile = compileForUpdate;
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0", "--dry-run"}), 1);
    EXPECT_NE(f.err.str().find("compile not available"), std::string::npos);
}

TEST(UpdateCommand, SerialStartsTheSerialUpdaterWithItsArguments)
{
    CliFixture f;
    f.folder.install(kSerialUpdaterName);
    UpdaterFolder::setEnv("SETFORGE_FAKE_UPDATER_EXIT", "6");
#ifdef _WIN32
    const std::string port = "COM3";
    const std::string device = "\\\\.\\COM3";
#else
    const std::string port = "/dev/ttyUSB0";
    const std::string device = "/dev/ttyUSB0";
#endif
    EXPECT_EQ(f.run({f.projectDir, "--serial", port, "--option", "firmware", "--no-read-back"}), 6)
        << f.err.str();
    ASSERT_EQ(f.compiled, std::vector<std::string>{f.projectDir});
    const UpdaterFolder::Record record = f.folder.record();
    ASSERT_TRUE(record.exists);
    const std::vector<std::string> expected = {device,
                                               "FW",
                                               "NO",
                                               "NO",
                                               "NO",
                                               joinPath(joinPath(f.folder.dir(), "MASTER"), "sim40917.sim"),
                                               joinPath(joinPath(f.projectDir, "bin"), "")};
    EXPECT_EQ(record.args, expected);
    EXPECT_FALSE(pathExists(f.jobPath()));
}

TEST(UpdateCommand, DryRunPrintsTheSerialArgumentText)
{
    CliFixture f;
    f.folder.install(kSerialUpdaterName);
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS1", "--option", "configuration", "--dry-run"}), 0);
    const std::string master = joinPath(f.folder.dir(), "MASTER");
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
#ifdef _WIN32
    const std::string device = "\\\\.\\/dev/ttyS1";
#else
    const std::string device = "/dev/ttyS1";
#endif
    EXPECT_EQ(f.out.str(), device + " NO NO PW PR \"" + master + sep + "sim40917.sim\" \"" + f.projectDir +
                               sep + "bin" + sep + "\"\n");
    EXPECT_FALSE(f.folder.record().exists);
}

TEST(UpdateCommand, EthernetWritesTheJobAndStartsTheUpdaterWithoutArguments)
{
    CliFixture f;
    f.folder.install(kEthernetUpdaterName);
    FixedEcho echo(EchoStatus::Reply);
    f.env.echo = &echo;
    EXPECT_EQ(f.run({f.projectDir, "--ip", "127.0.0.1", "--option", "configuration"}), 0) << f.err.str();
    EXPECT_EQ(echo.addresses.size(), 2u);
    const std::string expectedJob = ethernetJobXml(
        makeEthernetJob("127.0.0.1", 2, true, joinPath(f.folder.dir(), "MASTER"), f.projectDir));
    std::string written;
    std::string error;
    ASSERT_TRUE(readWholeFile(f.jobPath(), written, error)) << error;
    EXPECT_EQ(written, expectedJob);
    const UpdaterFolder::Record record = f.folder.record();
    ASSERT_TRUE(record.exists);
    EXPECT_TRUE(record.args.empty());
    ASSERT_TRUE(record.hasJob);
    EXPECT_EQ(record.job, expectedJob);
}

TEST(UpdateCommand, FailedCheckWritesNothingAndStartsNothing)
{
    struct Case {
        EchoStatus status;
        const char* text;
    };
    const Case kCases[] = {{EchoStatus::NoReply, "Device Not Found!\n"},
                           {EchoStatus::Error, "Error!!! Check the Ip Address\n"}};
    for (const Case& c : kCases) {
        CliFixture f;
        f.folder.install(kEthernetUpdaterName);
        FixedEcho echo(c.status);
        f.env.echo = &echo;
        // Each echo lets 400 ms pass, as a real one without reply would.
        std::int64_t clock = 0;
        f.env.nowMs = [&clock] { return clock += 400; };
        EXPECT_EQ(f.run({f.projectDir, "--ip", "127.0.0.1"}), 3);
        EXPECT_EQ(f.err.str(), c.text);
        EXPECT_FALSE(pathExists(f.jobPath()));
        EXPECT_FALSE(f.folder.record().exists);
    }
}

TEST(UpdateCommand, DryRunEthernetPrintsTheJobPath)
{
    CliFixture f;
    f.folder.install(kEthernetUpdaterName);
    FixedEcho echo(EchoStatus::Reply);
    f.env.echo = &echo;
    EXPECT_EQ(f.run({f.projectDir, "--ip", "127.0.0.1", "--dry-run"}), 0);
    EXPECT_EQ(f.out.str(), f.jobPath() + "\n");
    EXPECT_TRUE(isRegularFile(f.jobPath()));
    EXPECT_FALSE(f.folder.record().exists);
}

TEST(UpdateCommand, RealEchoToLoopback)
{
    CliFixture f;
    const int code = f.run({f.projectDir, "--ip", "127.0.0.1", "--dry-run"});
    if (code == 3 && !IcmpSocketEchoClient::usable())
        GTEST_SKIP() << "no ICMP echo possible here: " << f.err.str();
    EXPECT_EQ(code, 0) << f.err.str();
}

TEST(UpdateCommand, MissingOrSlowUpdater)
{
    CliFixture missing;
    EXPECT_EQ(missing.run({missing.projectDir, "--serial", "/dev/ttyS0"}), 4);
    EXPECT_NE(missing.err.str().find("Cannot start the updater: " +
                                     updaterPath(missing.folder.dir(), kSerialUpdaterName)),
              std::string::npos)
        << missing.err.str();

    CliFixture slow;
    slow.folder.install(kSerialUpdaterName);
    UpdaterFolder::setEnv("SETFORGE_FAKE_UPDATER_SLEEP_MS", "1500");
    slow.env.waitMs = 200;
    EXPECT_EQ(slow.run({slow.projectDir, "--serial", "/dev/ttyS0"}), 5);
}

TEST(UpdateCommand, RealProgramRefusesUntilTheCompileIsThere)
{
    UpdaterFolder folder;
#ifndef _WIN32
    const ProcessOutcome outcome = runProgram(
        SETFORGE_CLI_PATH, {"update", folder.dir(), "--serial", "/dev/ttyS0"}, 20000, false, true, {});
    ASSERT_EQ(outcome.status, ProcessOutcome::Status::Exited);
    EXPECT_EQ(outcome.exitCode, 1);
#endif
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCli({"update", folder.dir()}, out, err), 2);
}
