#include "cli/commands.h"

#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/report/projectcheck.h"

namespace setforge {

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
           "    start register and the two node-guarding state registers;\n"
           "  - mapping rows that name a PDO or emergency that does not exist, or a byte beyond\n"
           "    the PDO's Dimension or the 5 bytes of an emergency (warnings);\n"
           "  - PDO COB-IDs used twice, or equal to a predefined identifier (NMT, SYNC, TIME, or\n"
           "    the SDO, EMCY or node-guarding identifier of a node the project talks to) (warnings);\n"
           "  - values that pass the tables but likely mean something else: Hi or Lo Byte above\n"
           "    NByte, a register filled by neither byte, node-guarding rows while it is off, a\n"
           "    transmit PDO sent neither on change, on timer nor on Modbus write, an Ethernet transmit\n"
           "    PDO without mapped register, values kept in a hidden column (warnings);\n"
           "  - with the node catalogue, the project against each node's EDS: SDO objects and\n"
           "    sub-indexes it lacks, NByte against the object's size, ReadWrite on ro or const\n"
           "    objects, reads of wo objects, PDO lengths against the node's PDOs, synchronous PDOs\n"
           "    while the SYNC producer is off (warnings).\n"
           "Each warning ends with what to do.\n"
           "\n"
           "Exit status: 0 no check failed (warnings allowed); 1 a check failed; 2 a usage error.\n";
}

} // namespace

void printFindings(const ProjectFindings& findings, std::ostream& out)
{
    for (const std::string& line : findingLines(findings))
        out << line << "\n";
    out << findings.errors.size() << " error(s), " << findings.warnings.size() << " warning(s)\n";
}

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
    const ProjectFindings findings = checkProject(makeProjectFiles(projectDir));
    printFindings(findings, out);
    return findings.ok() ? 0 : 1;
}

} // namespace setforge
