#include "cli/cli.h"

#include "cli/updatecommand.h"
#include "core/app/appstate.h"

namespace {

void printUsage(std::ostream& out)
{
    out << "Usage: setforge-cli [--help] [--version] <command> [arguments]\n"
           "\n"
           "Configurator " << Software_Code << " for the " << Device_Description << ".\n"
           "\n"
           "Options:\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n"
           "\n"
           "Commands:\n";
    printUpdateUsage(out);
}

} // namespace

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
        out << "setforge-cli " << Software_Version << " (" << Software_Code << ")\n";
        return 0;
    }
    if (command == "update")
        return runUpdateCommand({args.begin() + 1, args.end()}, systemUpdateEnv(), out, err);
    err << "setforge-cli: unknown command '" << command << "'\n";
    printUsage(err);
    return 2;
}
