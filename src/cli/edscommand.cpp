#include "cli/commands.h"

#include <ctime>

#include "cli/sourcedate.h"
#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/image/edswriter.h"

namespace setforge {

namespace {

void edsUsage(std::ostream& out)
{
    out << "Usage: setforge-cli eds PROJECT_DIR OUT_FILE\n"
           "\n"
           "Writes the electronic data sheet of the project's receive and transmit PDOs to\n"
           "OUT_FILE, replacing it. When SOURCE_DATE_EPOCH is set (seconds since 1970), that\n"
           "instant, in local time, stamps the file instead of the current time.\n"
           "\n"
           "Exit status: 0 written; 1 an error (reported on stderr, no file written); 2 a usage error.\n";
}

} // namespace

int runEdsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        edsUsage(out);
        return 0;
    }
    if (args.size() != 2) {
        edsUsage(err);
        return 2;
    }
    const std::string& projectDir = args[0];
    if (!isDirectory(projectDir)) {
        err << "setforge-cli eds: not a project directory: " << projectDir << "\n";
        return 1;
    }
    std::time_t when = 0;
    if (!sourceDateTime(when)) {
        err << "setforge-cli eds: SOURCE_DATE_EPOCH must be a number of seconds since 1970\n";
        return 1;
    }
    const Result<void> written = writeEdsFile(makeProjectFiles(projectDir), args[1], edsClockAt(when));
    if (!written) {
        err << written.error().text << "\n";
        return 1;
    }
    out << "EDS written: " << args[1] << "\n";
    return 0;
}

} // namespace setforge
