#include "cli/updatecommand.h"

#include <filesystem>
#include <system_error>

#include "cli/commands.h"
#include "core/app/workspacelocation.h"
#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/flow/updateflow.h"
#include "core/image/compileimages.h"
#include "core/report/projectcheck.h"
#include "core/update/serialarguments.h"

#ifdef _WIN32
// libstdc++ defines NOMINMAX itself.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace setforge {

namespace {

struct UpdateCommandRequest {
    std::string projectDir;
    std::string serialPort;
    std::string ipAddress;
    bool serial = false;
    bool ethernet = false;
    int option = 0;
    bool readBack = true;
    bool dryRun = false;
    bool force = false;
};

bool parseOption(const std::string& text, int& option)
{
    if (text == "both")
        option = 0;
    else if (text == "firmware")
        option = 1;
    else if (text == "configuration")
        option = 2;
    else
        return false;
    return true;
}

// Reads the arguments; false with the reason on `err` for a usage error.
bool parseRequest(const std::vector<std::string>& args, UpdateCommandRequest& request, std::ostream& err)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--serial" || arg == "--ip" || arg == "--option") {
            if (!hasValue) {
                err << "setforge-cli update: " << arg << " needs a value\n";
                return false;
            }
            const std::string& value = args[++i];
            if (arg == "--serial") {
                request.serial = true;
                request.serialPort = value;
            } else if (arg == "--ip") {
                request.ethernet = true;
                request.ipAddress = value;
            } else if (!parseOption(value, request.option)) {
                err << "setforge-cli update: unknown option '" << value
                    << "' (both, firmware or configuration)\n";
                return false;
            }
        } else if (arg == "--no-read-back") {
            request.readBack = false;
        } else if (arg == "--dry-run") {
            request.dryRun = true;
        } else if (arg == "--force") {
            request.force = true;
        } else if (!arg.empty() && arg[0] == '-') {
            err << "setforge-cli update: unknown argument '" << arg << "'\n";
            return false;
        } else if (request.projectDir.empty()) {
            request.projectDir = arg;
        } else {
            err << "setforge-cli update: more than one project folder given\n";
            return false;
        }
    }
    if (request.projectDir.empty()) {
        err << "setforge-cli update: no project folder given\n";
        return false;
    }
    if (request.serial == request.ethernet) {
        err << "setforge-cli update: give exactly one of --serial PORT and --ip ADDRESS\n";
        return false;
    }
    // An empty port would leave the argument text starting with a blank, and the updater
    // would take the first operation token for its port.
    if (request.serial && request.serialPort.find_first_not_of(" \t") == std::string::npos) {
        err << "setforge-cli update: --serial needs a port name, for example /dev/ttyUSB0 or COM3\n";
        return false;
    }
    return true;
}

// The serial updater's port: "\\.\COM3" for COM3 on Windows, the device path as given elsewhere.
std::string serialDeviceOf(const std::string& port)
{
#ifdef _WIN32
    if (port.rfind("\\\\.\\", 0) == 0)
        return port;
#endif
    return serialPortDevice(port);
}

std::string absoluteDir(const std::string& dir)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(pathFromUtf8(dir), ec);
    return ec ? dir : pathToUtf8(absolute);
}

} // namespace

bool compileInMemory(const std::string& projectDir, CompiledImages& images, std::ostream& err)
{
    // The same compile as `compile`: messages on their own lines.
    images = compileImages(makeProjectFiles(projectDir),
                           [&err](const CompileMessage& message) { err << message.text << "\n"; });
    return images.ok;
}

bool writeCompiledImages(const std::string& projectDir, const CompiledImages& images, std::ostream& err)
{
    const Result<void> written = writeImageFiles(projectDir, images);
    if (!written)
        err << written.error().text << "\n";
    return static_cast<bool>(written);
}

UpdateCommandEnv systemUpdateEnv()
{
    UpdateCommandEnv env;
    std::error_code ec;
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    const std::filesystem::path self(buffer);
#else
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    const std::string exeDir = pathToUtf8(ec ? std::filesystem::current_path(ec) : self.parent_path());
    env.workspaceDir = locateWorkspace(exeDir, systemWorkspaceProbe()).folder;
    env.check = [](const std::string& projectDir) { return checkProject(makeProjectFiles(projectDir)); };
    env.compile = compileInMemory;
    env.writeImages = writeCompiledImages;
    return env;
}

void printUpdateUsage(std::ostream& out)
{
    out << "  update PROJECT_DIR (--serial PORT | --ip ADDRESS) [--option both|firmware|configuration]\n"
           "         [--no-read-back] [--force] [--dry-run]\n"
           "               check and compile the project and hand it to the serial or Ethernet\n"
           "               updater; a failed check, or an option with firmware whose firmware\n"
           "               file MASTER lacks, stops it (exit 6) unless --force is given;\n"
           "               --dry-run prints the serial argument text, or the job file's path and\n"
           "               content, and writes and sends nothing\n";
}

int runUpdateCommand(const std::vector<std::string>& args, const UpdateCommandEnv& env, std::ostream& out,
                     std::ostream& err)
{
    if (wantsHelp(args)) {
        out << "Usage: setforge-cli\n";
        printUpdateUsage(out);
        return 0;
    }
    UpdateCommandRequest command;
    if (!parseRequest(args, command, err)) {
        printUpdateUsage(err);
        return kUpdateExitUsage;
    }
    if (!isDirectory(command.projectDir)) {
        err << "setforge-cli update: not a project folder: " << command.projectDir << "\n";
        return kUpdateExitStopped;
    }
    UpdateRequest request;
    request.projectDir = absoluteDir(command.projectDir);
    request.workspaceDir = env.workspaceDir;
    request.masterDir = joinPath(env.workspaceDir, "MASTER");
    request.serialDevice = command.serial ? serialDeviceOf(command.serialPort) : std::string();
    request.ipAddress = command.ipAddress;
    request.option = command.option;
    request.readBack = command.readBack;

    bool refused = false;
    UpdatePlanSteps steps;
    if (env.check)
        steps.check = [&env, &request](const ProjectFiles&) { return env.check(request.projectDir); };
    steps.reviewFindings = [&](const ProjectFindings& findings) {
        if (!findings.errors.empty() || !findings.warnings.empty())
            printFindings(findings, err);
        refused = !findings.ok() && !command.force;
        return !refused;
    };
    steps.compile = [&env, &request, &err](const ProjectFiles& files, const MessageSink& sink) {
        CompiledImages images;
        if (env.compile) {
            images.ok = env.compile(request.projectDir, images, err);
            return images;
        }
        // The same compile as `compile`: messages on their own lines.
        images = compileImages(files, sink);
        return images;
    };
    steps.compileMessages = [&err](const CompileMessage& message) { err << message.text << "\n"; };
    const Result<UpdatePlan> plan = planUpdate(makeProjectFiles(request.projectDir), request, steps);
    if (!plan) {
        if (!refused)
            return kUpdateExitStopped;
        err << "setforge-cli update: the project check failed; nothing was written or started "
               "(--force updates anyway)\n";
        return kUpdateExitCheckFailed;
    }
    const UpdateTarget& target = plan->target;
    const bool ethernetDevice = target.transport == UpdateTransport::Ethernet;
    if (command.ethernet != ethernetDevice) {
        err << "setforge-cli update: the project's device type is " << plan->images.deviceType << "; "
            << (ethernetDevice ? "it is updated over Ethernet (--ip ADDRESS), not --serial"
                               : "it is updated over the serial line (--serial PORT), not --ip")
            << "\n";
        return kUpdateExitUsage;
    }
    if (command.dryRun) {
        if (ethernetDevice)
            out << target.jobPath << "\n" << ethernetJobXml(target.job) << "\n";
        else
            out << target.argumentText << "\n";
        return 0;
    }

    const bool written = env.writeImages ? env.writeImages(request.projectDir, plan->images, err)
                                         : writeCompiledImages(request.projectDir, plan->images, err);
    if (!written)
        return kUpdateExitStopped;

    UpdateServices services;
    services.echo = env.echo;
    services.nowMs = env.nowMs;
    services.runner = env.runner;
    services.waitMs = env.waitMs > 0 ? env.waitMs : kUpdaterWaitMs;
    const UpdateRun run = runUpdate(target, services);
    if (run.outcome) {
        if (run.outcome->status == ProcessOutcome::Status::Exited) {
            static const UiTexts kBuiltInTexts;
            const UpdaterVerdict verdict = updaterVerdict(run.outcome->exitCode, kBuiltInTexts);
            (verdict.success ? out : err) << verdict.text << "\n";
            return run.outcome->exitCode;
        }
        err << "setforge-cli update: the updater is still running after " << services.waitMs
            << " ms: " << target.program << "\n";
        return kUpdateExitTimedOut;
    }
    const Error& error = run.outcome.error();
    switch (run.stop) {
    case UpdateStop::DeviceNotFound:
    case UpdateStop::AddressUnusable:
        err << error.text << "\n";
        return kUpdateExitNoDevice;
    case UpdateStop::NotStarted:
        err << "Cannot start the updater: " << error.file << " (" << error.text << ")\n";
        return kUpdateExitNotStarted;
    case UpdateStop::NoSerialPort: // refused with the arguments already
        err << "setforge-cli update: " << error.text << "\n";
        return kUpdateExitUsage;
    case UpdateStop::JobNotWritten:
    case UpdateStop::None:
        break;
    }
    err << "setforge-cli update: " << error.text << "\n";
    return kUpdateExitStopped;
}

} // namespace setforge
