#include "core/report/projectcheck.h"

#include <algorithm>
#include <functional>

#include "core/base/paths.h"
#include "core/image/compileimages.h"
#include "core/image/projectwarnings.h"
#include "core/image/registerconflicts.h"
#include "core/report/canidentifiers.h"
#include "core/report/edschecks.h"
#include "core/report/mappingintegrity.h"
#include "core/tables/pargencheck.h"
#include "core/tables/tablecatalog.h"
#include "core/tables/tablecheck.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

// "name: message", where a loader's message that already starts with the file's full path
// loses that path, so the file is named once.
std::string onFile(const std::string& name, const std::string& path, const std::string& message)
{
    const std::string pathPrefix = path + ": ";
    if (message.rfind(pathPrefix, 0) == 0)
        return name + ": " + message.substr(pathPrefix.size());
    return name + ": " + message;
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

// True when ParGen.xml is there but cannot be read, so the device type is unknown. parGenCheck
// reports the file once; the checks that need the type then say nothing rather than guess 0.
bool deviceTypeUnknown(ProjectDocuments& docs)
{
    return !docs.get(ProjectDocuments::File::ParGen).error.empty();
}

// A group of checks over the project whose documents are `docs`.
using ProjectCheck = std::function<void(ProjectDocuments& docs, const UiTexts& texts, ProjectFindings&)>;

void parGenCheck(ProjectDocuments& docs, const UiTexts& texts, ProjectFindings& findings)
{
    const ProjectFiles& files = docs.files();
    if (!pathExists(files.parGen))
        return;
    const ParGenFileCheck result = checkParGenFile(docs, texts);
    if (!result.read)
        findings.errors.push_back(onFile("ParGen.xml", files.parGen, result.read.error().text));
    else if (!result.messages.empty())
        findings.errors.push_back("ParGen.xml: " + result.messages.front());
}

// The checks each table dialog runs on OK, for every table file present, with the dialog's
// message prefixed with the file name ("sdo.xml: Error row 3!! ..."). The two PDO tables
// check the columns of the project's device variant.
void tableFileChecks(ProjectDocuments& docs, const UiTexts& texts, ProjectFindings& findings)
{
    const ProjectFiles& files = docs.files();
    const bool typeUnknown = deviceTypeUnknown(docs);
    const DeviceVariant variant = readTableVariant(docs);
    for (const TableDefinition* table : tableDefinitions()) {
        const std::string& path = files.*(table->projectFile);
        if (!pathExists(path))
            continue;
        std::vector<std::string> messages = checkTableFile(*table, docs, variant, texts);
        if (typeUnknown) {
            // Without a type, only what both variants' checks say holds.
            const DeviceVariant other = variant == DeviceVariant::WithEthernet
                                            ? DeviceVariant::WithoutEthernet
                                            : DeviceVariant::WithEthernet;
            const std::vector<std::string> otherMessages = checkTableFile(*table, docs, other, texts);
            std::erase_if(messages, [&otherMessages](const std::string& message) {
                return std::find(otherMessages.begin(), otherMessages.end(), message) == otherMessages.end();
            });
        }
        for (const std::string& message : messages)
            findings.errors.push_back(onFile(table->fileName, path, message));
    }
}

void compileCheck(ProjectDocuments& docs, const UiTexts&, ProjectFindings& findings)
{
    const ProjectFiles& files = docs.files();
    std::vector<CompileMessage> messages;
    const CompiledImages images =
        compileImages(docs, [&messages](const CompileMessage& message) { messages.push_back(message); });
    const std::string parGenName = ProjectDocuments::fileName(ProjectDocuments::File::ParGen);
    for (const CompileMessage& message : messages) {
        const std::string where = withoutProjectDir(files, message.text);
        const std::string text = kCompileFindingPrefix + where;
        const bool stop =
            message.kind == CompileMessage::Kind::Error && !images.ok && &message == &messages.back();
        // parGenCheck has named the unreadable ParGen.xml already.
        if (stop && deviceTypeUnknown(docs) && where.rfind(parGenName + ": ", 0) == 0)
            continue;
        if (stop)
            findings.errors.push_back(text);
        else if (message.kind != CompileMessage::Kind::Information)
            findings.warnings.push_back(text);
    }
}

void imageChecks(ProjectDocuments& docs, const UiTexts&, ProjectFindings& findings)
{
    for (std::string& warning : plainImageWarnings(docs))
        findings.warnings.push_back(std::move(warning));
    // Which registers a transmit PDO claims depends on the device type.
    if (deviceTypeUnknown(docs))
        return;
    const std::vector<RegisterConflict> conflicts =
        findRegisterConflicts(claimsOfRegisterMap(buildRegisterMap(docs)));
    for (const RegisterConflict& conflict : conflicts)
        findings.errors.push_back(describeConflict(conflict));
}

void mappingChecks(ProjectDocuments& docs, const UiTexts&, ProjectFindings& findings)
{
    for (std::string& warning : mappingIntegrityWarnings(docs))
        findings.warnings.push_back(std::move(warning));
    for (std::string& warning : canIdentifierWarnings(docs))
        findings.warnings.push_back(std::move(warning));
}

// The project against the EDS files of the nodes it catalogues.
void nodeCatalogueChecks(ProjectDocuments& docs, const UiTexts&, ProjectFindings& findings)
{
    for (std::string& warning : edsCatalogueWarnings(docs))
        findings.warnings.push_back(std::move(warning));
}

// Values that pass every table but read differently than the engineer likely meant.
void projectWarningChecks(ProjectDocuments& docs, const UiTexts&, ProjectFindings& findings)
{
    for (std::string& warning : projectWarnings(docs))
        findings.warnings.push_back(std::move(warning));
}

} // namespace

ProjectFindings checkProject(const ProjectFiles& files, const UiTexts& texts)
{
    ProjectDocuments docs(files);
    return checkProject(docs, texts);
}

ProjectFindings checkProject(ProjectDocuments& docs, const UiTexts& texts)
{
    const std::vector<ProjectCheck> checks = {parGenCheck,         tableFileChecks, compileCheck,
                                              imageChecks,         mappingChecks,   nodeCatalogueChecks,
                                              projectWarningChecks};
    ProjectFindings findings;
    for (const ProjectCheck& check : checks)
        check(docs, texts, findings);
    return findings;
}

ProjectFindings checkProject(const ProjectFiles& files)
{
    // Outside any window there is no chosen language: the built-in English texts.
    static const UiTexts kBuiltInTexts;
    return checkProject(files, kBuiltInTexts);
}

std::vector<std::string> findingLines(const ProjectFindings& findings)
{
    std::vector<std::string> lines;
    for (const std::string& warning : findings.warnings)
        lines.push_back("warning: " + warning);
    for (const std::string& error : findings.errors)
        lines.push_back("error: " + error);
    return lines;
}

} // namespace setforge
