#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace setforge {

struct ProjectFindings;

// The commands of setforge-cli. Each takes the arguments after its name and returns the exit
// code: 0 success, 1 a failed command, 2 a usage error. Tests call them in-process.

// compile PROJECT_DIR: writes bin/bank.bin, bin/bank1_ESP32.bin, bin/bank2_ESP32.bin.
int runCompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// eds PROJECT_DIR OUT_FILE: writes the EDS file (SOURCE_DATE_EPOCH fixes its time stamp).
int runEdsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// dump FILE: decodes an image file and verifies its checksum and offsets.
int runDumpCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// check PROJECT_DIR: the project checks that need no window.
int runCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// report PROJECT_DIR OUT_FILE [--format html|csv]: writes the register map report.
int runReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// simulate PROJECT_DIR [options]: serves the project as a virtual converter over Modbus TCP/RTU
// until SIGINT, SIGTERM or --duration; 3 when the port or device cannot be opened.
int runSimulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The findings of the project checks, as `check` prints them: warnings, then errors, each on
// its own line, then the count of each.
void printFindings(const ProjectFindings& findings, std::ostream& out);

// True when `args` asks for the command's help ("--help" or "-h" anywhere).
bool wantsHelp(const std::vector<std::string>& args);

} // namespace setforge
