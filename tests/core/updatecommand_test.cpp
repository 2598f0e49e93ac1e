#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
        env.workspaceDir = folder.dir();
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

TEST(UpdateCommand, CompileStepWritesTheImagesOrStops)
{
    CliFixture f;
    f.env.compile = compileForUpdate;
    std::filesystem::copy(std::filesystem::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo",
                          pathFromUtf8(f.projectDir), std::filesystem::copy_options::recursive);
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0", "--dry-run"}), 0) << f.err.str();
    for (const char* image : {"bank.bin", "bank1_ESP32.bin", "bank2_ESP32.bin"})
        EXPECT_TRUE(
            std::filesystem::is_regular_file(pathFromUtf8(joinPath(joinPath(f.projectDir, "bin"), image))))
            << image;

    // A hand-broken table stops the update before anything starts.
    std::ofstream(pathFromUtf8(joinPath(f.projectDir, "sdo.xml")), std::ios::trunc) << "<sdo><row";
    f.err.str("");
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0"}), 1);
    EXPECT_NE(f.err.str().find("sdo.xml"), std::string::npos) << f.err.str();
    EXPECT_FALSE(f.folder.record().exists);
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

// The updater is waited for 150 seconds unless the caller says otherwise.
TEST(UpdateCommand, WaitsOneHundredFiftySecondsForTheUpdater)
{
    struct RecordingRunner : ProcessRunner {
        ProcessOutcome runAndWait(const std::string&, const std::string&, int timeoutMs) override
        {
            waited = timeoutMs;
            return {ProcessOutcome::Status::Exited, 0, {}};
        }
        int waited = 0;
    } runner;
    CliFixture f;
    f.env.runner = &runner;
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0"}), 0) << f.err.str();
    EXPECT_EQ(runner.waited, 150000);
}

// The real program, end to end on Demo: copied beside the fake serial updater in a folder
// whose name has a blank and non-ASCII letters, it reads its UTF-8 arguments, compiles the
// project and starts the updater with the argument text.
TEST(UpdateCommand, RealProgramUpdatesDemoEndToEnd)
{
    UpdaterFolder folder(" Prüfstand-Ø2");
    folder.install(kSerialUpdaterName);
    const std::filesystem::path cli =
        pathFromUtf8(folder.dir()) / ("setforge-cli" + UpdaterFolder::exeSuffix());
    std::filesystem::copy_file(SETFORGE_CLI_PATH, cli);
    const std::string projectDir = joinPath(joinPath(folder.dir(), "PROJECTS"), "Demo");
    std::filesystem::create_directories(pathFromUtf8(projectDir).parent_path());
    std::filesystem::copy(std::filesystem::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo",
                          pathFromUtf8(projectDir), std::filesystem::copy_options::recursive);
#ifdef _WIN32
    const std::string port = "COM3";
    const std::string device = "\\\\.\\COM3";
#else
    const std::string port = "/dev/ttyUSB0";
    const std::string device = "/dev/ttyUSB0";
#endif
    SystemProcessRunner runner;
    const ProcessOutcome outcome = runner.runAndWait(
        pathToUtf8(cli), "update \"" + projectDir + "\" --serial " + port + " --option configuration", 20000);
    ASSERT_EQ(outcome.status, ProcessOutcome::Status::Exited) << outcome.error;
    EXPECT_EQ(outcome.exitCode, 0);
    const UpdaterFolder::Record record = folder.record();
    ASSERT_TRUE(record.exists);
    const std::vector<std::string> expected = {device,
                                               "NO",
                                               "NO",
                                               "PW",
                                               "PR",
                                               joinPath(joinPath(folder.dir(), "MASTER"), "sim40917.sim"),
                                               joinPath(joinPath(projectDir, "bin"), "")};
    EXPECT_EQ(record.args, expected);
    EXPECT_TRUE(std::filesystem::is_regular_file(
        pathFromUtf8(joinPath(joinPath(projectDir, "bin"), "bank2_ESP32.bin"))));
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCli({"update", folder.dir()}, out, err), 2);
}
