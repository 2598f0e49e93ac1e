#include "cli/updatecommand.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "core/app/paths.h"
#include "core/image/compileimages.h"
#include "core/lang/uitexts.h"
#include "core/update/echoclient.h"
#include "core/update/ethernetjob.h"
#include "core/update/ipaddress.h"
#include "core/update/processstart.h"
#include "core/update/sendping.h"
#include "core/update/serialarguments.h"
#include "core/update/updatefiles.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#endif

namespace {

struct UpdateRequest {
    std::string projectDir;
    std::string serialPort;
    std::string ipAddress;
    bool serial = false;
    bool ethernet = false;
    int option = 0;
    bool readBack = true;
    bool dryRun = false;
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
bool parseRequest(const std::vector<std::string>& args, UpdateRequest& request, std::ostream& err)
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

bool compileForUpdate(const std::string& projectDir, std::ostream& err)
{
    // The same compile as `compile`: messages on their own lines, nothing written when stopped.
    return compileAndWriteImages(projectDir,
                                 [&err](const CompileMessage& message) { err << message.text << "\n"; });
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
    env.exeDir = pathToUtf8(ec ? std::filesystem::current_path(ec) : self.parent_path());
    env.compile = compileForUpdate;
    return env;
}

void printUpdateUsage(std::ostream& out)
{
    out << "  update PROJECT_DIR (--serial PORT | --ip ADDRESS) [--option both|firmware|configuration]\n"
           "         [--no-read-back] [--dry-run]\n"
           "               compile the project and hand it to the serial or Ethernet updater\n";
}

int runUpdateCommand(const std::vector<std::string>& args, const UpdateCommandEnv& env, std::ostream& out,
                     std::ostream& err)
{
    UpdateRequest request;
    if (!parseRequest(args, request, err)) {
        printUpdateUsage(err);
        return kUpdateExitUsage;
    }
    if (!isDirectory(request.projectDir)) {
        err << "setforge-cli update: not a project folder: " << request.projectDir << "\n";
        return kUpdateExitStopped;
    }
    const std::string projectDir = absoluteDir(request.projectDir);
    if (!env.compile || !env.compile(projectDir, err))
        return kUpdateExitStopped;

    const std::string masterDir = joinPath(env.exeDir, "MASTER");
    const UiTexts texts;
    std::string program;
    std::string argumentText;
    std::string dryRunText;
    if (request.serial) {
        program = updaterPath(env.exeDir, kSerialUpdaterName);
        argumentText = serialArgumentText(serialDeviceOf(request.serialPort), request.option,
                                          request.readBack, masterDir, projectDir);
        dryRunText = argumentText;
    } else {
        std::unique_ptr<EchoClient> systemEcho;
        EchoClient* echo = env.echo;
        if (!echo) {
            systemEcho = makeSystemEchoClient();
            echo = systemEcho.get();
        }
        const PingResult ping = env.nowMs ? sendPing(request.ipAddress, *echo, env.nowMs, {})
                                          : sendPing(request.ipAddress, *echo, {});
        if (!ping.ok) {
            err << texts[pingFailureText(ping)] << "\n";
            return kUpdateExitNoDevice;
        }
        const std::string jobPath = joinPath(env.exeDir, kEthernetJobFile);
        const WriteResult written = writeEthernetJob(
            makeEthernetJob(request.ipAddress, request.option, request.readBack, masterDir, projectDir),
            jobPath);
        if (!written) {
            err << "setforge-cli update: " << written.error << "\n";
            return kUpdateExitStopped;
        }
        program = updaterPath(env.exeDir, kEthernetUpdaterName);
        // The Ethernet updater takes no arguments: it reads the job file.
        dryRunText = jobPath;
    }

    if (request.dryRun) {
        out << dryRunText << "\n";
        return 0;
    }

    SystemProcessRunner systemRunner;
    ProcessRunner& runner = env.runner ? *env.runner : systemRunner;
    const int waitMs = env.waitMs > 0 ? env.waitMs : kUpdaterWaitMs;
    const ProcessOutcome outcome = runner.runAndWait(program, argumentText, waitMs);
    switch (outcome.status) {
    case ProcessOutcome::Status::Exited:
        return outcome.exitCode;
    case ProcessOutcome::Status::TimedOut:
        err << "setforge-cli update: the updater is still running after " << waitMs << " ms: " << program
            << "\n";
        return kUpdateExitTimedOut;
    case ProcessOutcome::Status::StartFailed:
        break;
    }
    err << "Cannot start the updater: " << program << " (" << outcome.error << ")\n";
    return kUpdateExitNotStarted;
}
