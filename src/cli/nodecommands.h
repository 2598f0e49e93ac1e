#pragma once

#include <ostream>
#include <string>
#include <vector>

// The commands that read remote nodes' EDS files. Each takes the arguments after its name
// and returns the exit code: 0 success, 1 a file that cannot be read (the reason, with its
// line number, on `err`), 2 a usage error.

namespace setforge {

// objects EDS_FILE [--node N] [--format text|csv]: lists every VAR object and sub-object.
int runObjectsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// pdos EDS_FILE --node N: lists the node's default receive and transmit PDOs.
int runPdosCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace setforge
