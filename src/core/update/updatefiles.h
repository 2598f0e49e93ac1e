#pragma once

#include <string>
#include <string_view>

namespace setforge {

// Firmware files in MASTER, supplied with the program and never written by it.
inline constexpr const char* kSerialFirmwareFile = "sim40917.sim";
inline constexpr const char* kEthernetFirmwareFile = "sim40917K.sim";
inline constexpr const char* kEsp32FirmwareFile = "sim40917_ESP32.sim";

// The Ethernet updater's job file, beside the executable.
inline constexpr const char* kEthernetJobFile = "Ethernet_Update.xml";

// Base names of the two updater programs beside the executable.
inline constexpr const char* kSerialUpdaterName = "Ser_40917_Update";
inline constexpr const char* kEthernetUpdaterName = "Ethernet_Update";

// The longest wait for an updater to end, in milliseconds; after it the updater is left running.
inline constexpr int kUpdaterWaitMs = 150000;

// Full path of an updater program in `exeDir`: `baseName` plus ".exe" on Windows.
std::string updaterPath(std::string_view exeDir, std::string_view baseName);

} // namespace setforge
