#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/nodes/edsdevice.h"

namespace setforge {

// The largest EDS or DCF the reader takes: 16 MiB.
inline constexpr std::uintmax_t kMaxEdsBytes = 16u * 1024u * 1024u;

// What an EDS or DCF holds, and what the reader read past.
struct EdsRead {
    EdsDevice device;
    std::vector<std::string> warnings; // things read past, each "line N: ..."
};

// "line N: reason" for an Error of the reader, or the reason alone when no line applies.
std::string edsErrorMessage(const Error& error);

// Reads EDS text (CiA 306): [DeviceInfo], objects [XXXX], sub-objects [XXXXsubY] and compact
// sub-objects with [XXXXName]/[XXXXValue]. `nodeId`, when given, is used to check $NODEID
// values; without it they are checked for their form, and for their data type's range at the
// highest node ID (127). Bad input (not text, more than kMaxEdsBytes, no [section] at all,
// neither [FileInfo] nor any object, a sub-object without its object, a missing or non-numeric
// DataType, an unknown ObjectType or AccessType, a malformed number) gives the Error of the
// first fault, with its line (the last line for what the whole text lacks). Warnings, in line
// order: repeated sections and keys, an ARRAY or RECORD without sub-objects, a DefaultValue or
// limit beyond its data type's range, an object without AccessType.
Result<EdsRead> readEdsText(std::string_view text, std::optional<int> nodeId = std::nullopt);

// Reads the file at `utf8Path` as readEdsText does. A file beyond kMaxEdsBytes is refused
// before it is read, and a device or pipe as soon as more than kMaxEdsBytes came from it; a file
// that cannot be read gives the system's text.
Result<EdsRead> readEdsFile(std::string_view utf8Path, std::optional<int> nodeId = std::nullopt);

// The entry's DefaultValue for node `nodeId`: as written when it does not name $NODEID,
// otherwise the resolved sum as "0x..." text. A value that cannot be resolved stays as written.
std::string resolvedDefault(const EdsEntry& entry, int nodeId);

} // namespace setforge
