#pragma once

#include <string>
#include <vector>

namespace setforge {

// Orders serial port names for the port list: by the text before the trailing number, then by
// that number ("COM2" before "COM10", "ttyS9" before "ttyUSB0"); duplicates are dropped.
// With `comOnly`, only names "COM" followed by a decimal number are kept (Windows).
std::vector<std::string> orderPortNames(std::vector<std::string> names, bool comOnly);

} // namespace setforge
