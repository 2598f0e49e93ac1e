#include "cli/cli.h"

#include <algorithm>

#include "cli/commands.h"
#include "cli/nodecommands.h"
#include "cli/updatecommand.h"
#include "core/app/appstate.h"

namespace setforge {

namespace {

void printUsage(std::ostream& out)
{
    out << "Usage: setforge-cli [--help] [--version] <command> [arguments]\n"
           "\n"
           "Configurator "
        << kSoftwareCode << " for the " << kDeviceDescription
        << ".\n"
           "\n"
           "Commands:\n"
           "  compile [--strict] PROJECT_DIR\n"
           "                              write the configuration images into PROJECT_DIR/bin\n"
           "  eds PROJECT_DIR OUT_FILE    write the EDS file of the project\n"
           "  dump FILE                   decode and verify an image file\n"
           "  check PROJECT_DIR           check the project's tables and registers\n"
           "  report PROJECT_DIR OUT_FILE [--format html|csv]\n"
           "                              write the project's register map report\n"
           "  objects EDS_FILE [--node N] [--format text|csv]\n"
           "                              list the objects of a remote node's EDS\n"
           "  pdos EDS_FILE --node N      list a remote node's default PDOs\n"
           "  simulate PROJECT_DIR [--tcp HOST:PORT] [--rtu DEVICE] [...]\n"
           "                              serve the project as a virtual converter (Modbus TCP/RTU)\n";
    printUpdateUsage(out);
    out << "\n"
           "Options:\n"
           "  --help       show this help and exit (after a command: that command's help)\n"
           "  --version    show the version and exit\n";
}

} // namespace

bool wantsHelp(const std::vector<std::string>& args)
{
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        printUsage(err);
        return 2;
    }
    const std::string& command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        printUsage(out);
        return 0;
    }
    if (command == "--version") {
        out << "setforge-cli " << kSoftwareVersion << " (" << kSoftwareCode << ")\n";
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "update")
        return runUpdateCommand(rest, systemUpdateEnv(), out, err);
    if (command == "compile")
        return runCompileCommand(rest, out, err);
    if (command == "eds")
        return runEdsCommand(rest, out, err);
    if (command == "dump")
        return runDumpCommand(rest, out, err);
    if (command == "check")
        return runCheckCommand(rest, out, err);
    if (command == "report")
        return runReportCommand(rest, out, err);
    if (command == "objects")
        return runObjectsCommand(rest, out, err);
    if (command == "pdos")
        return runPdosCommand(rest, out, err);
    if (command == "simulate")
        return runSimulateCommand(rest, out, err);
    err << "setforge-cli: unknown command '" << command << "'\n";
    printUsage(err);
    return 2;
}

} // namespace setforge
