#include "cli/commands.h"

#include "core/base/devicevariant.h"
#include "core/base/paths.h"
#include "core/image/compileimages.h"

namespace setforge {

namespace {

void compileUsage(std::ostream& out)
{
    out << "Usage: setforge-cli compile PROJECT_DIR\n"
           "\n"
           "Compiles the project's configuration images and writes them into PROJECT_DIR/bin\n"
           "(created when missing): bank.bin, bank1_ESP32.bin and bank2_ESP32.bin.\n"
           "Each compile message is printed on its own line to stderr, in compile order; a\n"
           "summary (device type, entries of each table, file sizes) goes to stdout.\n"
           "\n"
           "Exit status: 0 the images were written; 1 the update was stopped and no image file\n"
           "was written or changed; 2 a usage error.\n";
}

} // namespace

int runCompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        compileUsage(out);
        return 0;
    }
    if (args.size() != 1) {
        compileUsage(err);
        return 2;
    }
    const std::string& projectDir = args[0];
    if (!isDirectory(projectDir)) {
        err << "setforge-cli compile: not a project directory: " << projectDir << "\n";
        return 1;
    }
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
