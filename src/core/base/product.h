#pragma once

// The product's names, its version and the maker's web host. The version is the CMake
// project version and the host the SETFORGE_MAKER_HOST cache value; the core target passes
// both as definitions, so neither is written anywhere else.
#if !defined(SETFORGE_VERSION) || !defined(SETFORGE_MAKER_HOST)
#error "SETFORGE_VERSION and SETFORGE_MAKER_HOST come from the setforge_core target"
#endif

namespace setforge {

// The program's code, shown in every window's corner and sent with the version query.
inline constexpr const char* kSoftwareCode = "KX40917";
inline constexpr const char* kDeviceDescription = "CANopen / Modbus Slave - Converter";
// The program's version, as the About window and the version query show it ("2.001").
inline constexpr const char* kSoftwareVersion = SETFORGE_VERSION;
inline constexpr const char* kDocumentCode = "KM40917";
inline constexpr const char* kDeviceCode = "KD40917";
inline constexpr const char* kMainWindowTitle = "Telvora - Configurator KX40917 - CANopen / Modbus Slave ";
// The maker's web host: version query, download and home links.
inline constexpr const char* kMakerHost = SETFORGE_MAKER_HOST;

} // namespace setforge
