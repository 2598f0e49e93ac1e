#pragma once

#include <string>
#include <string_view>

namespace setforge {

// The device path the serial updater opens for a port entry of the list: "\\.\" + entry on
// Windows ("\\.\COM3"); elsewhere the entry is already the device path and is kept as is.
std::string serialPortDevice(std::string_view entry);

// The serial updater's whole argument text: port device, a blank, the operation tokens,
// the quoted firmware path "<masterDir><sep>sim40917.sim", a blank, and the quoted bin
// folder "<projectDir><sep>bin<sep>" whose separator sits right before the closing quote.
std::string serialArgumentText(std::string_view portDevice, int updateOption, bool readBack,
                               std::string_view masterDir, std::string_view projectDir, char separator);

// The same with the platform's path separator.
std::string serialArgumentText(std::string_view portDevice, int updateOption, bool readBack,
                               std::string_view masterDir, std::string_view projectDir);

} // namespace setforge
