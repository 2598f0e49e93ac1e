#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace setforge {

// Runs setforge-cli with `args` (without the program name), printing to `out` and `err`.
// Returns the process exit code: 0 success, 1 a failed command, 2 a usage error.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace setforge
