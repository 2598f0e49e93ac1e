#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace setforge {

// One CANopen data type as an EDS names it in DataType.
struct EdsDataType {
    std::uint16_t code = 0;
    const char* name = "";
    int bytes = 0; // size in bytes; 0 when the size is not fixed (strings, DOMAIN, records)
};

// The data type with code `code` (0x0001 BOOLEAN ... 0x001B UNSIGNED64, the string types,
// DOMAIN and the standard record types), or nothing for a code the table does not know.
std::optional<EdsDataType> findEdsDataType(std::uint16_t code);

// The name of `code` ("UNSIGNED16"), or "0x0042"-style text for a code the table does not know.
std::string edsDataTypeName(std::uint16_t code);

// The size in bytes of `code`, or 0 when it is not fixed or the code is unknown.
int edsDataTypeBytes(std::uint16_t code);

// True for the types whose values are text or raw bytes rather than numbers
// (VISIBLE_STRING, OCTET_STRING, UNICODE_STRING, DOMAIN).
bool isEdsStringType(std::uint16_t code);

} // namespace setforge
