#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/updatecommand.h"
#include "core/image/compileimages.h"
#include "core/report/projectcheck.h"
#include "core/update/echoclient.h"
#include "core/update/ethernetjob.h"
#include "core/update/processstart.h"
#include "core/update/updatefiles.h"
#include "updatertestsupport.h"

namespace setforge {

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

// An exe folder with a project folder beside the updaters, a check that finds `findings`, a
// compile that always succeeds with `deviceType`, and an image write that is only recorded.
struct CliFixture {
    UpdaterFolder folder;
    std::string projectDir;
    UpdateCommandEnv env;
    ProjectFindings findings;
    int deviceType = 0;
    std::vector<std::string> compiled;
    std::vector<std::string> written;
    std::ostringstream out;
    std::ostringstream err;

    CliFixture()
    {
        projectDir = joinPath(joinPath(folder.dir(), "PROJECTS"), "Plant 1");
        std::filesystem::create_directories(pathFromUtf8(joinPath(projectDir, "bin")));
        env.workspaceDir = folder.dir();
        folder.installFirmware({kSerialFirmwareFile, kEthernetFirmwareFile, kEsp32FirmwareFile});
        env.check = [this](const std::string&) { return findings; };
        env.compile = [this](const std::string& dir, CompiledImages& images, std::ostream&) {
            compiled.push_back(dir);
            images.ok = true;
            images.deviceType = deviceType;
            return true;
        };
        env.writeImages = [this](const std::string& dir, const CompiledImages&, std::ostream&) {
            written.push_back(dir);
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
        {"P", "--serial", ""}, // no port: the updater would take "FW" for it
        {"P", "--serial", "  "},
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
    f.env.compile = [](const std::string&, CompiledImages&, std::ostream& err) {
        err << "stopped\n";
        return false;
    };
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0"}), 1) << f.err.str();
    EXPECT_FALSE(f.folder.record().exists);

    CliFixture g;
    EXPECT_EQ(g.run({joinPath(g.folder.dir(), "nothing"), "--serial", "/dev/ttyS0"}), 1);
    EXPECT_NE(g.err.str().find("not a project folder"), std::string::npos);
    EXPECT_TRUE(g.compiled.empty());
}

// Demo as a device without Ethernet port, in the fixture's project folder, with the real check,
// compile and image write.
void useRealDemo(CliFixture& f)
{
    f.env.check = [](const std::string& dir) { return checkProject(makeProjectFiles(dir)); };
    f.env.compile = compileInMemory;
    f.env.writeImages = writeCompiledImages;
    std::filesystem::copy(std::filesystem::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo",
                          pathFromUtf8(f.projectDir), std::filesystem::copy_options::recursive);
    const std::string parGen = joinPath(f.projectDir, "ParGen.xml");
    const Result<std::string> read = readWholeFile(parGen);
    ASSERT_TRUE(read) << read.error().text;
    std::string text = *read;
    const std::string typeOne = "<Select_Device_Type>1<";
    text.replace(text.find(typeOne), typeOne.size(), "<Select_Device_Type>0<");
    std::ofstream(pathFromUtf8(parGen), std::ios::trunc | std::ios::binary) << text;
    // The serial variant sends transmit PDOs from register blocks and has no TPDO mapping.
    std::filesystem::remove(pathFromUtf8(joinPath(f.projectDir, "Transmit_PDO_Define.xml")));
}

std::string imagePath(const CliFixture& f, const char* image)
{
    return joinPath(joinPath(f.projectDir, "bin"), image);
}

TEST(UpdateCommand, CompileStepWritesTheImagesOrStops)
{
    CliFixture f;
    useRealDemo(f);
    f.folder.install(kSerialUpdaterName);
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0"}), 0) << f.err.str();
    for (const char* image : {"bank.bin", "bank1_ESP32.bin", "bank2_ESP32.bin"})
        EXPECT_TRUE(std::filesystem::is_regular_file(pathFromUtf8(imagePath(f, image)))) << image;

    // A table that compiles but breaks a rule stops the update at the check; --force goes on
    // to the compile, which stops on a hand-broken file before anything starts.
    std::filesystem::remove_all(pathFromUtf8(joinPath(f.projectDir, "bin")));
    std::ofstream(pathFromUtf8(joinPath(f.projectDir, "sdo.xml")), std::ios::trunc) << "<sdo><row";
    f.err.str("");
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0"}), 6) << f.err.str();
    EXPECT_NE(f.err.str().find("error: sdo.xml: "), std::string::npos) << f.err.str();
    EXPECT_NE(f.err.str().find("--force"), std::string::npos) << f.err.str();
    EXPECT_FALSE(pathExists(imagePath(f, "bank.bin")));
    f.err.str("");
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0", "--force"}), 1) << f.err.str();
    EXPECT_NE(f.err.str().find("sdo.xml"), std::string::npos) << f.err.str();
    EXPECT_FALSE(pathExists(imagePath(f, "bank.bin")));
}

TEST(UpdateCommand, FailedCheckStopsUnlessForced)
{
    CliFixture f;
    f.folder.install(kSerialUpdaterName);
    f.findings.errors = {"NodeGuard.xml: Error row 2!! Device ID must be between 1 and 127"};
    f.findings.warnings = {"compile: something to look at"};
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0"}), 6) << f.err.str();
    EXPECT_NE(f.err.str().find("error: NodeGuard.xml: Error row 2!!"), std::string::npos) << f.err.str();
    EXPECT_TRUE(f.compiled.empty());
    EXPECT_TRUE(f.written.empty());
    EXPECT_FALSE(f.folder.record().exists);

    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0", "--force"}), 0) << f.err.str();
    EXPECT_EQ(f.written.size(), 1u);
    EXPECT_TRUE(f.folder.record().exists);

    // Warnings alone are shown and do not stop.
    CliFixture g;
    g.folder.install(kSerialUpdaterName);
    g.findings.warnings = {"compile: something to look at"};
    EXPECT_EQ(g.run({g.projectDir, "--serial", "/dev/ttyS0"}), 0) << g.err.str();
    EXPECT_NE(g.err.str().find("warning: compile: something to look at"), std::string::npos);
    EXPECT_TRUE(g.folder.record().exists);
}

// An option that writes firmware needs the transport's firmware files in MASTER: without them
// the updater would be handed a path to nothing. That is a failed check (exit 6, --dry-run
// included) unless --force; an option without firmware does not need them.
TEST(UpdateCommand, MissingFirmwareFailsTheCheck)
{
    struct Case {
        int deviceType;
        std::vector<std::string> args;
        const char* removed;
        int exitCode;
    };
    const Case kCases[] = {
        {0, {"--serial", "/dev/ttyS0"}, kSerialFirmwareFile, 6},
        {0, {"--serial", "/dev/ttyS0", "--option", "firmware", "--dry-run"}, kSerialFirmwareFile, 6},
        {0, {"--serial", "/dev/ttyS0", "--force"}, kSerialFirmwareFile, 0},
        {0, {"--serial", "/dev/ttyS0", "--option", "configuration"}, kSerialFirmwareFile, 0},
        {0, {"--serial", "/dev/ttyS0"}, kEsp32FirmwareFile, 0}, // not the serial updater's file
        {1, {"--ip", "127.0.0.1", "--dry-run"}, kEsp32FirmwareFile, 6},
        {1, {"--ip", "127.0.0.1", "--option", "firmware", "--dry-run"}, kEthernetFirmwareFile, 6},
        {1, {"--ip", "127.0.0.1", "--option", "configuration", "--dry-run"}, kEthernetFirmwareFile, 0},
    };
    for (const Case& c : kCases) {
        CliFixture f;
        f.folder.install(kSerialUpdaterName);
        f.folder.install(kEthernetUpdaterName);
        FixedEcho echo(EchoStatus::Reply);
        f.env.echo = &echo;
        f.deviceType = c.deviceType;
        std::ofstream(pathFromUtf8(joinPath(f.projectDir, "ParGen.xml")), std::ios::binary)
            << "<ParGen><Select_Device_Type>" << c.deviceType << "</Select_Device_Type></ParGen>";
        std::filesystem::remove(pathFromUtf8(joinPath(joinPath(f.folder.dir(), "MASTER"), c.removed)));
        std::vector<std::string> args = {f.projectDir};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(f.run(args), c.exitCode) << c.args.front() << " " << c.removed << "\n" << f.err.str();
        const std::string named =
            std::string("error: MASTER/") + c.removed + ": the firmware file is missing";
        const bool writesFirmware = std::find(c.args.begin(), c.args.end(), "configuration") == c.args.end();
        const bool ownFile = (c.deviceType == 0) == (std::string(c.removed) == kSerialFirmwareFile);
        EXPECT_EQ(f.err.str().find(named) != std::string::npos, writesFirmware && ownFile) << f.err.str();
        if (c.exitCode == 6) {
            EXPECT_FALSE(f.folder.record().exists);
        }
    }
}

// The updater's exit code is the command's, and its verdict is printed in words.
TEST(UpdateCommand, PrintsTheUpdatersVerdict)
{
    CliFixture f;
    f.folder.install(kSerialUpdaterName);
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0"}), 0) << f.err.str();
    EXPECT_NE(f.out.str().find("The updater reported success (exit code 0)\n"), std::string::npos)
        << f.out.str();

    CliFixture g;
    g.folder.install(kSerialUpdaterName);
    UpdaterFolder::setEnv("SETFORGE_FAKE_UPDATER_EXIT", "1");
    EXPECT_EQ(g.run({g.projectDir, "--serial", "/dev/ttyS0"}), 1) << g.err.str();
    EXPECT_NE(g.err.str().find("The updater reported a failure (exit code 1)\n"), std::string::npos)
        << g.err.str();
    EXPECT_EQ(g.out.str().find("success"), std::string::npos);
}

TEST(UpdateCommand, HelpExitsZeroWithTheUsage)
{
    for (const char* flag : {"--help", "-h"}) {
        CliFixture f;
        EXPECT_EQ(f.run({flag}), 0) << flag;
        EXPECT_NE(f.out.str().find("update PROJECT_DIR"), std::string::npos) << f.out.str();
        EXPECT_NE(f.out.str().find("--force"), std::string::npos) << f.out.str();
        EXPECT_TRUE(f.err.str().empty());
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runCli({"update", flag}, out, err), 0) << flag;
    }
}

// Device type 0 has no Ethernet port and is updated over the serial line; every other type,
// a hand-edited 2 or -1 included, has the port and is updated over Ethernet, as in the window.
// The command line refuses the other pairs before writing anything.
TEST(UpdateCommand, TransportMustSuitTheDeviceType)
{
    struct Case {
        int deviceType;
        const char* transport;
        const char* value;
        int expected;
    };
    const Case kCases[] = {
        {1, "--serial", "/dev/ttyS0", 2},  {0, "--ip", "127.0.0.1", 2},      {2, "--serial", "/dev/ttyS0", 2},
        {-1, "--serial", "/dev/ttyS0", 2}, {0, "--serial", "/dev/ttyS0", 0}, {1, "--ip", "127.0.0.1", 0},
        {2, "--ip", "127.0.0.1", 0},       {-1, "--ip", "127.0.0.1", 0},
    };
    for (const Case& c : kCases) {
        CliFixture f;
        f.folder.install(kSerialUpdaterName);
        f.folder.install(kEthernetUpdaterName);
        FixedEcho echo(EchoStatus::Reply);
        f.env.echo = &echo;
        f.deviceType = c.deviceType;
        EXPECT_EQ(f.run({f.projectDir, c.transport, c.value}), c.expected)
            << c.deviceType << c.transport << "\n"
            << f.err.str();
        if (c.expected == 2) {
            EXPECT_NE(f.err.str().find("device type is " + std::to_string(c.deviceType)), std::string::npos)
                << f.err.str();
            EXPECT_TRUE(f.written.empty());
            EXPECT_FALSE(f.folder.record().exists);
            EXPECT_FALSE(pathExists(f.jobPath()));
        } else {
            // The updater of the transport ran: the Ethernet one finds its job, the serial one its port.
            const UpdaterFolder::Record record = f.folder.record();
            ASSERT_TRUE(record.exists) << c.deviceType << c.transport;
            EXPECT_EQ(record.hasJob, c.transport == std::string("--ip")) << c.deviceType;
            EXPECT_EQ(pathExists(f.jobPath()), c.transport == std::string("--ip")) << c.deviceType;
            EXPECT_EQ(f.written.size(), 1u);
        }
    }
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
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS1", "--option", "configuration", "--dry-run"}), 0)
        << f.err.str();
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
    EXPECT_EQ(f.compiled.size(), 1u);
    EXPECT_TRUE(f.written.empty());
}

TEST(UpdateCommand, EthernetWritesTheJobAndStartsTheUpdaterWithoutArguments)
{
    CliFixture f;
    f.folder.install(kEthernetUpdaterName);
    FixedEcho echo(EchoStatus::Reply);
    f.env.echo = &echo;
    f.deviceType = 1;
    EXPECT_EQ(f.run({f.projectDir, "--ip", "127.0.0.1", "--option", "configuration"}), 0) << f.err.str();
    EXPECT_EQ(echo.addresses.size(), 2u);
    const std::string expectedJob = ethernetJobXml(
        makeEthernetJob("127.0.0.1", 2, true, joinPath(f.folder.dir(), "MASTER"), f.projectDir));
    const Result<std::string> read = readWholeFile(f.jobPath());
    ASSERT_TRUE(read) << read.error().text;
    EXPECT_EQ(*read, expectedJob);
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
        f.deviceType = 1;
        // Each echo lets 400 ms pass, as a real one without reply would.
        std::int64_t clock = 0;
        f.env.nowMs = [&clock] { return clock += 400; };
        EXPECT_EQ(f.run({f.projectDir, "--ip", "127.0.0.1"}), 3) << f.err.str();
        EXPECT_EQ(f.err.str(), c.text);
        EXPECT_FALSE(pathExists(f.jobPath()));
        EXPECT_FALSE(f.folder.record().exists);
    }
}

TEST(UpdateCommand, DryRunEthernetPrintsTheJobAndSendsNothing)
{
    CliFixture f;
    f.folder.install(kEthernetUpdaterName);
    FixedEcho echo(EchoStatus::Reply);
    f.env.echo = &echo;
    f.deviceType = 1;
    EXPECT_EQ(f.run({f.projectDir, "--ip", "127.0.0.1", "--dry-run"}), 0) << f.err.str();
    const std::string expectedJob = ethernetJobXml(
        makeEthernetJob("127.0.0.1", 0, true, joinPath(f.folder.dir(), "MASTER"), f.projectDir));
    EXPECT_EQ(f.out.str(), f.jobPath() + "\n" + expectedJob + "\n");
    EXPECT_TRUE(echo.addresses.empty());
    EXPECT_FALSE(pathExists(f.jobPath()));
    EXPECT_TRUE(f.written.empty());
    EXPECT_FALSE(f.folder.record().exists);
}

// A dry run on a real project compiles, but leaves the bin folder as it was.
TEST(UpdateCommand, DryRunWritesNoImage)
{
    CliFixture f;
    useRealDemo(f);
    std::filesystem::create_directories(pathFromUtf8(joinPath(f.projectDir, "bin")));
    EXPECT_EQ(f.run({f.projectDir, "--serial", "/dev/ttyS0", "--dry-run"}), 0) << f.err.str();
    EXPECT_TRUE(std::filesystem::is_empty(pathFromUtf8(joinPath(f.projectDir, "bin"))));
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
    // Demo has an Ethernet port; the serial updater is for the variant without one.
    const std::string parGen = joinPath(projectDir, "ParGen.xml");
    const Result<std::string> read = readWholeFile(parGen);
    ASSERT_TRUE(read) << read.error().text;
    std::string text = *read;
    const std::string typeOne = "<Select_Device_Type>1<";
    text.replace(text.find(typeOne), typeOne.size(), "<Select_Device_Type>0<");
    std::ofstream(pathFromUtf8(parGen), std::ios::trunc | std::ios::binary) << text;
    std::filesystem::remove(pathFromUtf8(joinPath(projectDir, "Transmit_PDO_Define.xml")));
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

} // namespace setforge
