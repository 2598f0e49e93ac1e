#pragma once

#include <string>
#include <string_view>

namespace setforge {

// What the user asked to write: the positions of the update dialog's option list.
inline constexpr int kUpdateFirmwareAndConfiguration = 0;
inline constexpr int kUpdateFirmware = 1;
inline constexpr int kUpdateConfiguration = 2;

// True when `updateOption` writes the firmware (0 or 1) / the configuration (0 or 2).
bool writesFirmware(int updateOption);
bool writesConfiguration(int updateOption);

// Returns `prefix` followed by the four operation tokens, each with its trailing blank
// ("FW FR PW PR " for option 0 with read-back). An option outside 0..2 writes nothing.
std::string updateOptionsText(std::string_view prefix, int updateOption, bool readBack);

} // namespace setforge
