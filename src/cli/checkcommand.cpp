#include "cli/commands.h"

#include <functional>

#include "core/app/paths.h"
#include "core/app/projectfiles.h"
#include "core/image/compileimages.h"
#include "core/image/registerconflicts.h"
#include "core/lang/uitexts.h"
#include "core/tables/pargencheck.h"
#include "core/tables/tablecatalog.h"
#include "core/tables/tablecheck.h"
#include "core/tables/tabledefinition.h"

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

// The messages the dialogs use are the built-in English ones: a command line has no
// language of its own.
const UiTexts& cliTexts()
{
    static const UiTexts texts;
    return texts;
}

void parGenCheck(const std::string&, const ProjectFiles& files, Findings& findings)
{
    if (!pathExists(files.parGen))
        return;
    const ParGenFileCheck result = checkParGenFile(files.parGen, cliTexts());
    if (!result.xml.ok() && result.xml.status != XmlLoadResult::Status::Missing)
        findings.errors.push_back("ParGen.xml: " + result.xml.error);
    else if (!result.messages.empty())
        findings.errors.push_back("ParGen.xml: " + result.messages.front());
}

// The checks each table dialog runs on OK, for every table file present, with the dialog's
// message prefixed with the file name ("sdo.xml: Error row 3!! ..."). The two PDO tables
// check the columns of the project's device variant.
void tableFileChecks(const std::string&, const ProjectFiles& files, Findings& findings)
{
    const DeviceVariant variant = readTableVariant(files.parGen);
    for (const TableDefinition* table : tableDefinitions()) {
        const std::string& path = files.*(table->projectFile);
        if (!pathExists(path))
            continue;
        for (const std::string& message : checkTableFile(*table, path, variant, cliTexts()))
            findings.errors.push_back(std::string(table->fileName) + ": " + message);
    }
}

std::vector<ProjectCheck> tableChecks()
{
    return {parGenCheck, tableFileChecks};
}

void compileCheck(const std::string& projectDir, const ProjectFiles& files, Findings& findings)
{
    (void)projectDir;
    std::vector<CompileMessage> messages;
    const CompiledImages images =
        compileImages(files, [&messages](const CompileMessage& message) { messages.push_back(message); });
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
    const ProjectFiles files = makeProjectFiles(projectDir);
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
