#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/base/paths.h"
#include "core/flow/updateflow.h"
#include "core/lang/textid.h"
#include "core/lang/uitexts.h"
#include "testutil.h"

namespace setforge {

namespace {

class FixedEcho : public EchoClient {
public:
    explicit FixedEcho(EchoStatus status) : m_status(status) {}
    EchoStatus echo(const std::string& address, int, const std::function<void()>& idle) override
    {
        addresses.push_back(address);
        if (idle)
            idle();
        return m_status;
    }
    std::vector<std::string> addresses;

private:
    EchoStatus m_status;
};

// Records what it was asked to start and ends as told.
class RecordingRunner : public ProcessRunner {
public:
    ProcessOutcome runAndWait(const std::string& program, const std::string& argumentText,
                              int timeoutMs) override
    {
        programs.push_back(program);
        arguments.push_back(argumentText);
        waited = timeoutMs;
        return outcome;
    }
    ProcessOutcome outcome{ProcessOutcome::Status::Exited, 7, {}};
    std::vector<std::string> programs;
    std::vector<std::string> arguments;
    int waited = 0;
};

UpdateRequest requestIn(const TempDir& dir)
{
    UpdateRequest request;
    request.projectDir = dir.file("Plant");
    request.workspaceDir = dir.file("workspace");
    request.masterDir = joinPath(request.workspaceDir, "MASTER");
    request.serialDevice = "/dev/ttyS1";
    request.ipAddress = "127.0.0.1";
    request.option = kUpdateConfiguration;
    request.readBack = false;
    return request;
}

// The Demo project with `deviceType` in its ParGen.xml.
std::string demoWithDeviceType(const TempDir& dir, int deviceType)
{
    const std::string projectDir = dir.file("Demo");
    std::filesystem::copy(std::filesystem::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo",
                          pathFromUtf8(projectDir), std::filesystem::copy_options::recursive);
    const std::string parGen = joinPath(projectDir, "ParGen.xml");
    std::string text = readTestFile(parGen);
    const std::string typeOne = "<Select_Device_Type>1<";
    text.replace(text.find(typeOne), typeOne.size(),
                 "<Select_Device_Type>" + std::to_string(deviceType) + "<");
    writeTestFile(parGen, text);
    return projectDir;
}

} // namespace

// 0 is the device without Ethernet port; any other value, typed by hand into ParGen.xml, has it.
TEST(UpdateFlow, TransportFollowsTheDeviceType)
{
    const struct {
        int deviceType;
        UpdateTransport transport;
        int formType;
    } kCases[] = {
        {0, UpdateTransport::Serial, 0},     {1, UpdateTransport::Ethernet, 1},
        {2, UpdateTransport::Ethernet, 1},   {-1, UpdateTransport::Ethernet, 1},
        {255, UpdateTransport::Ethernet, 1},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(transportForDeviceType(c.deviceType), c.transport) << c.deviceType;
        EXPECT_EQ(updateFormType(transportForDeviceType(c.deviceType)), c.formType) << c.deviceType;
    }
}

TEST(UpdateFlow, TargetHoldsTheArgumentTextOrTheJob)
{
    TempDir dir;
    const UpdateRequest request = requestIn(dir);
    const UpdateTarget serial = targetUpdate(UpdateTransport::Serial, request);
    EXPECT_EQ(serial.program, updaterPath(request.workspaceDir, kSerialUpdaterName));
    EXPECT_EQ(serial.argumentText.rfind("/dev/ttyS1 NO NO PW NO \"", 0), 0u) << serial.argumentText;
    EXPECT_TRUE(serial.jobPath.empty());

    const UpdateTarget ethernet = targetUpdate(UpdateTransport::Ethernet, request);
    EXPECT_EQ(ethernet.program, updaterPath(request.workspaceDir, kEthernetUpdaterName));
    EXPECT_TRUE(ethernet.argumentText.empty());
    EXPECT_EQ(ethernet.jobPath, joinPath(request.workspaceDir, kEthernetJobFile));
    EXPECT_EQ(ethernetJobXml(ethernet.job),
              ethernetJobXml(makeEthernetJob("127.0.0.1", kUpdateConfiguration, false, request.masterDir,
                                             request.projectDir)));
}

// A hand-edited device type 2 compiles and is planned for the Ethernet updater; nothing is written.
TEST(UpdateFlow, PlansDeviceTypeTwoOverEthernet)
{
    TempDir dir;
    UpdateRequest request = requestIn(dir);
    request.projectDir = demoWithDeviceType(dir, 2);
    std::vector<ProjectFindings> reviewed;
    UpdatePlanSteps steps;
    steps.reviewFindings = [&reviewed](const ProjectFindings& findings) {
        reviewed.push_back(findings);
        return true;
    };
    const Result<UpdatePlan> plan = planUpdate(makeProjectFiles(request.projectDir), request, steps);
    ASSERT_TRUE(plan) << plan.error().text;
    EXPECT_EQ(reviewed.size(), 1u);
    EXPECT_EQ(plan->images.deviceType, 2);
    EXPECT_EQ(plan->target.transport, UpdateTransport::Ethernet);
    EXPECT_EQ(plan->target.job.ipAddress, "127.0.0.1");
    EXPECT_FALSE(pathExists(joinPath(joinPath(request.projectDir, "bin"), "bank.bin")));

    ASSERT_TRUE(writePlannedImages(*plan));
    EXPECT_TRUE(pathExists(joinPath(joinPath(request.projectDir, "bin"), "bank2_ESP32.bin")));
}

// The firmware files come from the project's device type, before the compile, so the one
// review sees them with the other errors; a request without MASTER folder skips them.
TEST(UpdateFlow, MissingFirmwareIsAnErrorOfTheReview)
{
    TempDir dir;
    UpdateRequest request = requestIn(dir);
    request.projectDir = demoWithDeviceType(dir, 2);
    request.option = kUpdateFirmwareAndConfiguration;
    std::filesystem::create_directories(pathFromUtf8(request.masterDir));
    writeTestFile(joinPath(request.masterDir, kEthernetFirmwareFile), "");
    writeTestFile(joinPath(request.masterDir, kSerialFirmwareFile), "");
    std::vector<ProjectFindings> reviewed;
    UpdatePlanSteps steps;
    steps.check = [](const ProjectFiles&) { return ProjectFindings{}; };
    steps.reviewFindings = [&reviewed](const ProjectFindings& findings) {
        reviewed.push_back(findings);
        return findings.ok();
    };
    EXPECT_FALSE(planUpdate(makeProjectFiles(request.projectDir), request, steps));
    ASSERT_EQ(reviewed.size(), 1u);
    ASSERT_EQ(reviewed[0].errors.size(), 1u);
    EXPECT_EQ(reviewed[0].errors[0].rfind("MASTER/sim40917_ESP32.sim: the firmware file is missing", 0), 0u)
        << reviewed[0].errors[0];

    request.masterDir.clear();
    EXPECT_TRUE(planUpdate(makeProjectFiles(request.projectDir), request, steps));
    EXPECT_TRUE(reviewed.back().errors.empty());

    EXPECT_TRUE(missingFirmwareErrors(UpdateTransport::Serial, kUpdateFirmware, dir.file("none")).size() ==
                1u);
    EXPECT_TRUE(
        missingFirmwareErrors(UpdateTransport::Ethernet, kUpdateConfiguration, dir.file("none")).empty());
}

TEST(UpdateFlow, RefusedFindingsOrAStoppedCompileStopThePlan)
{
    TempDir dir;
    const UpdateRequest request = requestIn(dir);
    int compiles = 0;
    UpdatePlanSteps steps;
    steps.check = [](const ProjectFiles&) { return ProjectFindings{{"sdo.xml: Error row 1!! bad"}, {}}; };
    steps.compile = [&compiles](const ProjectFiles&, const MessageSink& sink) {
        ++compiles;
        sink({CompileMessage::Kind::Information, "File EMCY xml not found"});
        sink({CompileMessage::Kind::Error, "Invalid number \"abc\" for ID_EMCY in emcydef.xml"});
        return CompiledImages{};
    };
    // Without a reviewer a failed check stops before the compile.
    EXPECT_FALSE(planUpdate(makeProjectFiles(request.projectDir), request, steps));
    EXPECT_EQ(compiles, 0);

    std::vector<std::string> shown;
    steps.reviewFindings = [](const ProjectFindings&) { return true; };
    steps.compileMessages = [&shown](const CompileMessage& message) { shown.push_back(message.text); };
    const Result<UpdatePlan> plan = planUpdate(makeProjectFiles(request.projectDir), request, steps);
    ASSERT_FALSE(plan);
    EXPECT_EQ(compiles, 1);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(plan.error().text, "Invalid number \"abc\" for ID_EMCY in emcydef.xml");
}

// Each stop names its step and text, and nothing after a failed step runs.
TEST(UpdateFlow, RunStopsAtTheFirstFailedStep)
{
    struct Case {
        const char* name;
        UpdateTransport transport;
        std::string serialDevice;
        EchoStatus echo;
        bool jobBlocked;
        ProcessOutcome::Status start;
        UpdateStop stop;
        int textId;
        bool keeps;
    };
    const Case kCases[] = {
        {"no port", UpdateTransport::Serial, "", EchoStatus::Reply, false, ProcessOutcome::Status::Exited,
         UpdateStop::NoSerialPort, TextId::UpdateComPort, true},
        {"silent", UpdateTransport::Ethernet, "", EchoStatus::NoReply, false, ProcessOutcome::Status::Exited,
         UpdateStop::DeviceNotFound, TextId::DeviceNotFound, false},
        {"unusable", UpdateTransport::Ethernet, "", EchoStatus::Error, false, ProcessOutcome::Status::Exited,
         UpdateStop::AddressUnusable, TextId::CheckIpAddress, false},
        {"job blocked", UpdateTransport::Ethernet, "", EchoStatus::Reply, true,
         ProcessOutcome::Status::Exited, UpdateStop::JobNotWritten, 0, true},
        {"no updater", UpdateTransport::Serial, "/dev/ttyS1", EchoStatus::Reply, false,
         ProcessOutcome::Status::StartFailed, UpdateStop::NotStarted, 0, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        UpdateRequest request = requestIn(dir);
        request.serialDevice = c.serialDevice;
        const UpdateTarget target = targetUpdate(c.transport, request);
        if (c.jobBlocked) // a folder where the job file should go
            std::filesystem::create_directories(pathFromUtf8(target.jobPath));
        FixedEcho echo(c.echo);
        RecordingRunner runner;
        runner.outcome = {c.start, 0, "no such program"};
        std::int64_t clock = 0;
        UpdateServices services;
        services.echo = &echo;
        services.nowMs = [&clock] { return clock += 400; };
        services.runner = &runner;
        const UpdateRun run = runUpdate(target, services);
        ASSERT_FALSE(run.outcome);
        EXPECT_EQ(run.stop, c.stop);
        EXPECT_EQ(run.outcome.error().textId, c.textId);
        EXPECT_FALSE(run.outcome.error().text.empty());
        EXPECT_EQ(keepsChoices(run), c.keeps);
        EXPECT_EQ(runner.programs.size(), c.stop == UpdateStop::NotStarted ? 1u : 0u);
        if (c.stop == UpdateStop::NotStarted) {
            EXPECT_EQ(run.outcome.error().file, target.program);
        }
        if (c.transport == UpdateTransport::Ethernet && !c.jobBlocked) {
            EXPECT_FALSE(pathExists(target.jobPath));
        }
    }
}

TEST(UpdateFlow, EthernetRunWritesTheJobThenStartsTheUpdater)
{
    TempDir dir;
    const UpdateRequest request = requestIn(dir); // the workspace folder does not exist yet
    const UpdateTarget target = targetUpdate(UpdateTransport::Ethernet, request);
    FixedEcho echo(EchoStatus::Reply);
    RecordingRunner runner;
    int idles = 0;
    UpdateServices services;
    services.echo = &echo;
    services.idle = [&idles] { ++idles; };
    services.runner = &runner;
    services.waitMs = 0; // the updaters' usual wait
    const UpdateRun run = runUpdate(target, services);
    ASSERT_TRUE(run.outcome) << run.outcome.error().text;
    EXPECT_EQ(run.outcome->exitCode, 7);
    EXPECT_EQ(run.stop, UpdateStop::None);
    EXPECT_EQ(run.ping.pingResult, EchoAnswered);
    EXPECT_EQ(echo.addresses, (std::vector<std::string>{"127.0.0.1", "127.0.0.1"}));
    EXPECT_EQ(idles, 2);
    EXPECT_EQ(readTestFile(target.jobPath), ethernetJobXml(target.job));
    EXPECT_EQ(runner.programs, std::vector<std::string>{target.program});
    EXPECT_EQ(runner.arguments, std::vector<std::string>{""});
    EXPECT_EQ(runner.waited, kUpdaterWaitMs);
}

TEST(UpdateFlow, VerdictReadsOnlyExitCodeZeroAsSuccess)
{
    const UiTexts english;
    struct Case {
        int exitCode;
        bool success;
        const char* text;
    };
    const Case cases[] = {
        {0, true, "The updater reported success (exit code 0)"},
        {1, false, "The updater reported a failure (exit code 1)"},
        {-1, false, "The updater reported a failure (exit code -1)"},
        {255, false, "The updater reported a failure (exit code 255)"},
    };
    for (const Case& c : cases) {
        const UpdaterVerdict verdict = updaterVerdict(c.exitCode, english);
        EXPECT_EQ(verdict.success, c.success) << c.exitCode;
        EXPECT_EQ(verdict.text, c.text);
    }
    // A language's own wording is used, with the code put where it says.
    UiTexts german;
    german.set(TextId::UpdaterReportedFailure, "Der Updater meldet einen Fehler (Exit-Code %1)");
    EXPECT_EQ(updaterVerdict(3, german).text, "Der Updater meldet einen Fehler (Exit-Code 3)");
}

// The project's own address comes from its IP fields; a missing ParGen.xml or fields that are
// no address give nothing rather than the defaults of a new project.
TEST(UpdateFlow, ProjectIpAddressIsTheProjectsOwn)
{
    TempDir dir;
    const std::string projectDir = demoWithDeviceType(dir, 1);
    const std::string parGen = joinPath(projectDir, "ParGen.xml");
    std::string text = readTestFile(parGen);
    const auto replace = [&text](const std::string& from, const std::string& to) {
        text.replace(text.find(from), from.size(), to);
    };
    replace("<Ethernet_IP1>192<", "<Ethernet_IP1>127<");
    replace("<Ethernet_IP2>168<", "<Ethernet_IP2> 0<");
    replace("<Ethernet_IP4>5<", "<Ethernet_IP4>1<");
    writeTestFile(parGen, text);
    EXPECT_EQ(projectIpAddress(makeProjectFiles(projectDir)), "127.0.0.1");

    replace("<Ethernet_IP4>1<", "<Ethernet_IP4>256<");
    writeTestFile(parGen, text);
    EXPECT_EQ(projectIpAddress(makeProjectFiles(projectDir)), "");

    EXPECT_EQ(projectIpAddress(makeProjectFiles(dir.file("NoSuchProject"))), "");
}

} // namespace setforge
