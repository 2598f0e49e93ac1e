#include "cli/commands.h"

#include <ctime>
#include <optional>

#include "cli/sourcedate.h"
#include "core/base/paths.h"
#include "core/lang/uitexts.h"
#include "core/report/projectreport.h"

namespace setforge {

namespace {

void reportUsage(std::ostream& out)
{
    out << "Usage: setforge-cli report PROJECT_DIR OUT_FILE [--format html|csv]\n"
           "\n"
           "Writes the project's register map to OUT_FILE, replacing it:\n"
           "  html (default)  one self-contained page: header, communication parameters, the\n"
           "                  register map with conflicts marked, every table with its mapping,\n"
           "                  and the problems `check` reports;\n"
           "  csv             one line per register claim, sorted by register, source and row.\n"
           "When SOURCE_DATE_EPOCH is set (seconds since 1970), that instant stamps the page.\n"
           "\n"
           "Exit status: 0 written; 1 an error (reported on stderr, no file written); 2 a usage error.\n";
}

std::optional<ReportFormat> formatNamed(const std::string& name)
{
    if (name == "html")
        return ReportFormat::Html;
    if (name == "csv")
        return ReportFormat::Csv;
    return std::nullopt;
}

} // namespace

int runReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        reportUsage(out);
        return 0;
    }
    std::vector<std::string> positional;
    ReportFormat format = ReportFormat::Html;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> name;
        if (args[i] == "--format" && i + 1 < args.size())
            name = args[++i];
        else if (args[i].rfind("--format=", 0) == 0)
            name = args[i].substr(9);
        else if (args[i].rfind("-", 0) == 0 && args[i] != "-") {
            err << "setforge-cli report: unknown option '" << args[i] << "'\n";
            reportUsage(err);
            return 2;
        } else {
            positional.push_back(args[i]);
            continue;
        }
        const std::optional<ReportFormat> named = formatNamed(*name);
        if (!named) {
            err << "setforge-cli report: --format must be html or csv, not '" << *name << "'\n";
            return 2;
        }
        format = *named;
    }
    if (positional.size() != 2) {
        reportUsage(err);
        return 2;
    }
    const std::string& projectDir = positional[0];
    if (!isDirectory(projectDir)) {
        err << "setforge-cli report: not a project directory: " << projectDir << "\n";
        return 1;
    }
    std::time_t when = 0;
    if (!sourceDateTime(when)) {
        err << "setforge-cli report: SOURCE_DATE_EPOCH must be a number of seconds since 1970\n";
        return 1;
    }
    // The messages in the Problems section are the built-in English ones, as `check` prints them.
    static const UiTexts texts;
    const Result<void> written = writeProjectReport(projectDir, positional[1], format, when, texts);
    if (!written) {
        err << "setforge-cli report: " << written.error().text << "\n";
        return 1;
    }
    out << "Report written: " << positional[1] << "\n";
    return 0;
}

} // namespace setforge
