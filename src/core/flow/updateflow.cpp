#include "core/flow/updateflow.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "core/base/devicevariant.h"
#include "core/base/paths.h"
#include "core/lang/textid.h"
#include "core/lang/uitexts.h"
#include "core/tables/pargenfile.h"
#include "core/update/ipaddress.h"
#include "core/update/serialarguments.h"

namespace setforge {

namespace {

UpdateRun stopped(UpdateStop stop, Error error)
{
    UpdateRun run;
    run.outcome = std::move(error);
    run.stop = stop;
    return run;
}

// The Error of UI text `textId`: its built-in English text, and the number for a window.
Error textError(int textId)
{
    Error error = makeError(UiTexts().at(textId));
    error.textId = textId;
    return error;
}

} // namespace

UpdateTransport transportForDeviceType(int deviceType)
{
    return hasEthernet(variantForSteps(deviceType)) ? UpdateTransport::Ethernet : UpdateTransport::Serial;
}

int updateFormType(UpdateTransport transport)
{
    return transport == UpdateTransport::Ethernet ? 1 : 0;
}

UpdateTarget targetUpdate(UpdateTransport transport, const UpdateRequest& request)
{
    UpdateTarget target;
    target.transport = transport;
    if (transport == UpdateTransport::Serial) {
        target.program = updaterPath(request.workspaceDir, kSerialUpdaterName);
        target.argumentText = serialArgumentText(request.serialDevice, request.option, request.readBack,
                                                 request.masterDir, request.projectDir);
    } else {
        // The Ethernet updater takes no arguments: it reads the job file.
        target.program = updaterPath(request.workspaceDir, kEthernetUpdaterName);
        target.job = makeEthernetJob(request.ipAddress, request.option, request.readBack, request.masterDir,
                                     request.projectDir);
        target.jobPath = joinPath(request.workspaceDir, kEthernetJobFile);
    }
    return target;
}

std::vector<std::string> firmwareFilesFor(UpdateTransport transport)
{
    if (transport == UpdateTransport::Serial)
        return {kSerialFirmwareFile};
    return {kEthernetFirmwareFile, kEsp32FirmwareFile};
}

std::vector<std::string> missingFirmwareErrors(UpdateTransport transport, int updateOption,
                                               const std::string& masterDir)
{
    if (!writesFirmware(updateOption))
        return {};
    std::vector<std::string> errors;
    for (const std::string& name : firmwareFilesFor(transport))
        if (!pathExists(joinPath(masterDir, name)))
            errors.push_back("MASTER/" + name +
                             ": the firmware file is missing, so the updater would be handed a file that "
                             "does not exist; put the file into MASTER or update the configuration only");
    return errors;
}

Result<UpdatePlan> planUpdate(const ProjectFiles& project, const UpdateRequest& request,
                              const UpdatePlanSteps& steps)
{
    UpdatePlan plan;
    plan.projectDir = request.projectDir;
    plan.findings = steps.check ? steps.check(project) : checkProject(project);
    if (!request.masterDir.empty())
        for (std::string& error : missingFirmwareErrors(
                 transportForDeviceType(readDeviceType(project.parGen)), request.option, request.masterDir))
            plan.findings.errors.push_back(std::move(error));
    const bool goOn = steps.reviewFindings ? steps.reviewFindings(plan.findings) : plan.findings.ok();
    if (!goOn)
        return makeError("the project check failed");

    // The compile's last message is the reason it stopped; keep it for the Error.
    std::string lastError;
    const MessageSink sink = [&](const CompileMessage& message) {
        if (message.kind == CompileMessage::Kind::Error)
            lastError = message.text;
        if (steps.compileMessages)
            steps.compileMessages(message);
    };
    plan.images = steps.compile ? steps.compile(project, sink) : compileImages(project, sink);
    if (!plan.images.ok)
        return makeError(lastError.empty() ? std::string("the compile stopped") : lastError);

    plan.target = targetUpdate(transportForDeviceType(plan.images.deviceType), request);
    return plan;
}

Result<void> writePlannedImages(const UpdatePlan& plan)
{
    return writeImageFiles(plan.projectDir, plan.images);
}

UpdateRun runUpdate(const UpdateTarget& target, const UpdateServices& services)
{
    UpdateRun run;
    if (target.transport == UpdateTransport::Serial) {
        // Without a port the argument text would start with a blank.
        if (target.argumentText.empty() || target.argumentText.front() == ' ')
            return stopped(UpdateStop::NoSerialPort, textError(TextId::UpdateComPort));
    } else {
        std::unique_ptr<EchoClient> systemEcho;
        EchoClient* echo = services.echo;
        if (!echo) {
            systemEcho = makeSystemEchoClient();
            echo = systemEcho.get();
        }
        const PingResult ping = services.nowMs
                                    ? sendPing(target.job.ipAddress, *echo, services.nowMs, services.idle)
                                    : sendPing(target.job.ipAddress, *echo, services.idle);
        if (!ping.ok) {
            UpdateRun failed = stopped(ping.pingResult == EchoUnanswered ? UpdateStop::DeviceNotFound
                                                                         : UpdateStop::AddressUnusable,
                                       textError(pingFailureText(ping)));
            failed.ping = ping;
            return failed;
        }
        run.ping = ping;
        // A fresh account's data folder may not exist yet; a failure shows in the write below.
        std::error_code created;
        std::filesystem::create_directories(pathFromUtf8(target.jobPath).parent_path(), created);
        // Starting the updater without a new job would run an old one left from an earlier update.
        const Result<void> written = writeEthernetJob(target.job, target.jobPath);
        if (!written) {
            UpdateRun failed = stopped(UpdateStop::JobNotWritten, written.error());
            failed.ping = ping;
            return failed;
        }
    }

    SystemProcessRunner systemRunner;
    ProcessRunner& runner = services.runner ? *services.runner : systemRunner;
    const int waitMs = services.waitMs > 0 ? services.waitMs : kUpdaterWaitMs;
    const ProcessOutcome outcome = runner.runAndWait(target.program, target.argumentText, waitMs);
    if (outcome.status == ProcessOutcome::Status::StartFailed) {
        UpdateRun failed = stopped(UpdateStop::NotStarted, makeError(outcome.error, target.program));
        failed.ping = run.ping;
        return failed;
    }
    run.outcome = outcome;
    return run;
}

bool keepsChoices(const UpdateRun& run)
{
    return run.stop != UpdateStop::DeviceNotFound && run.stop != UpdateStop::AddressUnusable;
}

UpdaterVerdict updaterVerdict(int exitCode, const UiTexts& texts)
{
    const bool success = exitCode == 0;
    std::string text = texts.at(success ? TextId::UpdaterReportedSuccess : TextId::UpdaterReportedFailure);
    const std::size_t mark = text.find("%1");
    if (mark != std::string::npos)
        text.replace(mark, 2, std::to_string(exitCode));
    return {success, std::move(text)};
}

std::string projectIpAddress(const ProjectFiles& files)
{
    // A missing file would read as the defaults of a new project, which is not this project's address.
    if (!pathExists(files.parGen))
        return {};
    const Result<ParGenValues> values = loadParGen(files.parGen);
    if (!values)
        return {};
    const IpParts split = splitIpText(joinIpParts(values->ip));
    return split.ok ? joinIpParts(split.parts) : std::string();
}

} // namespace setforge
