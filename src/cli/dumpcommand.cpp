#include "cli/commands.h"

#include "core/image/imagedump.h"

namespace setforge {

namespace {

void dumpUsage(std::ostream& out)
{
    out << "Usage: setforge-cli dump FILE\n"
           "\n"
           "Decodes bank.bin, bank1_ESP32.bin or bank2_ESP32.bin into readable text, one field\n"
           "or record per line: every parameter, the table directory, every table entry up to its\n"
           "count, the plain image's sections and emergency byte slots. After \" | \" a record's byte\n"
           "selection is spelled out: an SDO's conf as Hi Byte, Lo Byte and R/W (\"object byte 2\"),\n"
           "a PDO mapping's bytes as \"frame byte 1\", an emergency's as \"EMCY byte 1 (message byte 4)\",\n"
           "0 as \"none\". The checksum and the\n"
           "header offsets are verified; lines starting with \"WRONG:\" say where they do not hold.\n"
           "bank2_ESP32.bin takes its counts from bank1_ESP32.bin beside it.\n"
           "\n"
           "Exit status: 0 the file holds together; 1 it does not, or cannot be read; 2 a usage error.\n";
}

} // namespace

int runDumpCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (wantsHelp(args)) {
        dumpUsage(out);
        return 0;
    }
    if (args.size() != 1) {
        dumpUsage(err);
        return 2;
    }
    const ImageDump dump = dumpImageFile(args[0]);
    out << dump.text;
    for (const std::string& problem : dump.problems)
        err << args[0] << ": " << problem << "\n";
    return dump.ok() ? 0 : 1;
}

} // namespace setforge
