#include "core/image/projectcheck.h"

#include <functional>

#include "core/app/paths.h"
#include "core/image/compileimages.h"
#include "core/image/projectwarnings.h"
#include "core/image/registerconflicts.h"
#include "core/lang/uitexts.h"
#include "core/tables/pargencheck.h"
#include "core/tables/tablecatalog.h"
#include "core/tables/tablecheck.h"
#include "core/tables/tabledefinition.h"

namespace {

// A group of checks over the project whose files are `files`.
using CheckGroup = std::function<void(const ProjectFiles& files, ProjectFindings&)>;

// The messages the dialogs use are the built-in English ones: the checks run outside any
// window and so outside any chosen language.
const UiTexts& checkTexts()
{
    static const UiTexts texts;
    return texts;
}

// "name: message", where a loader's message that already starts with the file's full path
// loses that path, so the file is named once.
std::string onFile(const std::string& name, const std::string& path, const std::string& message)
{
    const std::string pathPrefix = path + ": ";
    if (message.rfind(pathPrefix, 0) == 0)
        return name + ": " + message.substr(pathPrefix.size());
    return name + ": " + message;
}

void parGenCheck(const ProjectFiles& files, ProjectFindings& findings)
{
    if (!pathExists(files.parGen))
        return;
    const ParGenFileCheck result = checkParGenFile(files.parGen, checkTexts());
    if (!result.xml.ok() && result.xml.status != XmlLoadResult::Status::Missing)
        findings.errors.push_back(onFile("ParGen.xml", files.parGen, result.xml.error));
    else if (!result.messages.empty())
        findings.errors.push_back("ParGen.xml: " + result.messages.front());
}

// The checks each table dialog runs on OK, for every table file present. The two PDO tables
// check the columns of the project's device variant.
void tableFileChecks(const ProjectFiles& files, ProjectFindings& findings)
{
    const DeviceVariant variant = readTableVariant(files.parGen);
    for (const TableDefinition* table : tableDefinitions()) {
        const std::string& path = files.*(table->projectFile);
        if (!pathExists(path))
            continue;
        for (const std::string& message : checkTableFile(*table, path, variant, checkTexts()))
            findings.errors.push_back(onFile(table->fileName, path, message));
    }
}

// The compile names a file it cannot read by its full path; the findings name it by its name.
std::string withoutProjectDir(const ProjectFiles& files, const std::string& text)
{
    const std::string_view parGenName = "ParGen.xml";
    if (files.parGen.size() <= parGenName.size())
        return text;
    const std::string dirPrefix = files.parGen.substr(0, files.parGen.size() - parGenName.size());
    return text.rfind(dirPrefix, 0) == 0 ? text.substr(dirPrefix.size()) : text;
}

void compileCheck(const ProjectFiles& files, ProjectFindings& findings)
{
    std::vector<CompileMessage> messages;
    const CompiledImages images =
        compileImages(files, [&messages](const CompileMessage& message) { messages.push_back(message); });
    for (const CompileMessage& message : messages) {
        const std::string text = "compile: " + withoutProjectDir(files, message.text);
        if (message.kind == CompileMessage::Kind::Error && !images.ok && &message == &messages.back())
            findings.errors.push_back(text);
        else if (message.kind != CompileMessage::Kind::Information)
            findings.warnings.push_back(text);
    }
}

void imageChecks(const ProjectFiles& files, ProjectFindings& findings)
{
    for (std::string& warning : plainImageWarnings(files))
        findings.warnings.push_back(std::move(warning));
    const std::vector<RegisterConflict> conflicts = findRegisterConflicts(collectRegisterClaims(files));
    for (const RegisterConflict& conflict : conflicts)
        findings.errors.push_back(describeConflict(conflict));
}

void projectWarningChecks(const ProjectFiles& files, ProjectFindings& findings)
{
    for (std::string& warning : projectWarnings(files))
        findings.warnings.push_back(std::move(warning));
}

} // namespace

ProjectFindings checkProject(const ProjectFiles& files)
{
    const CheckGroup groups[] = {parGenCheck, tableFileChecks, compileCheck, imageChecks,
                                 projectWarningChecks};
    ProjectFindings findings;
    for (const CheckGroup& group : groups)
        group(files, findings);
    return findings;
}
