#include "cli/commands.h"

#include "core/base/devicevariant.h"
#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/image/compileimages.h"
#include "core/report/projectcheck.h"

namespace setforge {

namespace {

void compileUsage(std::ostream& out)
{
    out << "Usage: setforge-cli compile [--strict] PROJECT_DIR\n"
           "\n"
           "Compiles the project's configuration images and writes them into PROJECT_DIR/bin\n"
           "(created when missing): bank.bin, bank1_ESP32.bin and bank2_ESP32.bin.\n"
           "Every check of `check` that fails is printed first on stderr as a \"warning: \" line;\n"
           "then each compile message on its own line to stderr, in compile order; a\n"
           "summary (device type, entries of each table, file sizes) goes to stdout.\n"
           "--strict: a failed check is an \"error: \" line, and nothing is compiled or written.\n"
           "\n"
           "Exit status: 0 the images were written; 1 the update was stopped, or a check failed\n"
           "with --strict, and no image file was written or changed; 2 a usage error.\n";
}

} // namespace

int runCompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        compileUsage(out);
        return 0;
    }
    bool strict = false;
    std::vector<std::string> dirs;
    for (const std::string& arg : args) {
        if (arg == "--strict")
            strict = true;
        else
            dirs.push_back(arg);
    }
    if (dirs.size() != 1 || (!dirs[0].empty() && dirs[0][0] == '-')) {
        compileUsage(err);
        return 2;
    }
    const std::string& projectDir = dirs[0];
    if (!isDirectory(projectDir)) {
        err << "setforge-cli compile: not a project directory: " << projectDir << "\n";
        return 1;
    }
    // Images that compile can still carry values every dialog refuses (an empty TimeOut is
    // written as 0); the same checks as `check` say so before the images are written.
    const ProjectFindings findings = checkProject(makeProjectFiles(projectDir));
    if (strict && !findings.ok()) {
        for (const std::string& error : findings.errors)
            err << "error: " << error << "\n";
        err << "setforge-cli compile: " << findings.errors.size()
            << " check(s) failed; nothing was written (--strict)\n";
        return 1;
    }
    for (const std::string& error : findings.errors)
        if (error.rfind(kCompileFindingPrefix, 0) != 0) // the compile below prints its own messages
            err << "warning: " << error << "\n";
    const Result<CompiledImages> written = compileAndWriteImages(
        projectDir, [&err](const CompileMessage& message) { err << message.text << "\n"; });
    if (!written)
        return 1;
    const CompiledImages& images = *written;
    const int deviceType = images.deviceType;

    out << "Device type: " << deviceType
        << (hasEthernet(variantForSteps(deviceType)) ? " (with Ethernet port)" : " (without Ethernet port)")
        << "\n";
    for (const TableLayout& layout : tableLayouts())
        out << layout.name << ": " << images.banked.tables.count(layout.table) << " entries\n";
    out << "bin/" << kPlainImageName << ": " << images.plain.bytes.size() << " bytes\n";
    out << "bin/" << kBank1Name << ": " << images.banked.parameters.bytes().size() << " bytes\n";
    out << "bin/" << kBank2Name << ": " << images.banked.tables.bytes().size() << " bytes\n";
    return 0;
}

} // namespace setforge
