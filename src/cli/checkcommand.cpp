#include "cli/commands.h"

#include <functional>

#include "core/app/paths.h"
#include "core/app/projectfiles.h"
#include "core/image/compileimages.h"
#include "core/image/registerconflicts.h"

namespace {

void checkUsage(std::ostream& out)
{
    out << "Usage: setforge-cli check PROJECT_DIR\n"
           "\n"
           "Checks the project without opening a window:\n"
           "  - the table checks, as each dialog's OK makes them;\n"
           "  - that the images compile;\n"
           "  - values the plain image must cut short (warnings);\n"
           "  - Modbus registers claimed by more than one of: the SDO table, the RPDO mapping,\n"
           "    the emergency words, the TPDO register blocks, the TPDO mapping, the network\n"
           "    start register and the two node-guarding state registers.\n"
           "\n"
           "Exit status: 0 no check failed (warnings allowed); 1 a check failed; 2 a usage error.\n";
}

// What one group of checks found.
struct Findings {
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
};

// A group of checks over the project whose files are `files`.
using ProjectCheck = std::function<void(const std::string& projectDir, const ProjectFiles& files, Findings&)>;

// The per-table checks of the dialogs join here, one entry per table file, each message
// prefixed with the file name ("sdo.xml: Error row 3!! ...").
std::vector<ProjectCheck> tableChecks()
{
    return {};
}

void compileCheck(const std::string& projectDir, const ProjectFiles& files, Findings& findings)
{
    (void)projectDir;
    std::vector<CompileMessage> messages;
    const CompiledImages images =
        Compile_Images(files, [&messages](const CompileMessage& message) { messages.push_back(message); });
    for (const CompileMessage& message : messages) {
        if (message.kind == CompileMessage::Kind::Error && !images.ok && &message == &messages.back())
            findings.errors.push_back("compile: " + message.text);
        else if (message.kind != CompileMessage::Kind::Information)
            findings.warnings.push_back("compile: " + message.text);
    }
}

void imageChecks(const std::string& projectDir, const ProjectFiles& files, Findings& findings)
{
    (void)projectDir;
    for (std::string& warning : plainImageWarnings(files))
        findings.warnings.push_back(std::move(warning));
    const std::vector<RegisterConflict> conflicts = findRegisterConflicts(collectRegisterClaims(files));
    for (const RegisterConflict& conflict : conflicts)
        findings.errors.push_back(describeConflict(conflict));
}

} // namespace

int runCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        checkUsage(out);
        return 0;
    }
    if (args.size() != 1) {
        checkUsage(err);
        return 2;
    }
    const std::string& projectDir = args[0];
    if (!isDirectory(projectDir)) {
        err << "setforge-cli check: not a project directory: " << projectDir << "\n";
        return 1;
    }
    const ProjectFiles files = Set_Files(projectDir);
    std::vector<ProjectCheck> checks = tableChecks();
    checks.push_back(compileCheck);
    checks.push_back(imageChecks);
    Findings findings;
    for (const ProjectCheck& check : checks)
        check(projectDir, files, findings);
    for (const std::string& warning : findings.warnings)
        out << "warning: " << warning << "\n";
    for (const std::string& error : findings.errors)
        out << "error: " << error << "\n";
    out << findings.errors.size() << " error(s), " << findings.warnings.size() << " warning(s)\n";
    return findings.errors.empty() ? 0 : 1;
}
