#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"

namespace setforge {

// One CAN frame with the simulated time it was sent or received.
struct CanFrame {
    std::int64_t timeUs = 0;        // microseconds since 1970-01-01 UTC
    std::uint32_t id = 0;           // identifier, 11 bit (or 29 bit when written with 8 digits)
    bool rtr = false;               // remote request: `data` is empty, `rtrLength` the requested length
    std::uint8_t rtrLength = 0;     // 0..8
    std::vector<std::uint8_t> data; // 0..8 bytes

    bool operator==(const CanFrame&) const = default;
};

// "1700000000.000000": seconds and microseconds, as candump writes time stamps.
std::string candumpTimeText(std::int64_t timeUs);

// One line of the candump log format of can-utils, the trace format for input and output:
// "(1700000000.000000) sim 182#0102030405060708", a remote request as "701#R" or "701#R1".
std::string formatCandumpLine(const CanFrame& frame, std::string_view interfaceName = "sim");

// Reads one candump log line: "(seconds.fraction) interface ID#DATA", with an optional " R"
// or " T" direction at the end. Identifiers of up to 3 hexadecimal digits are standard, 4 to 8
// digits extended; data are 0..8 hexadecimal byte pairs or "R" with an optional length digit.
// CAN FD ("##") and error frames are refused. The error names no file or line.
Result<CanFrame> parseCandumpLine(std::string_view line);

// Reads a whole candump log. Blank lines and lines beginning with '#' (the notes a trace of
// the virtual converter holds) are skipped. The first bad line gives an Error naming `fileName`
// and the 1-based line.
Result<std::vector<CanFrame>> readCandumpText(std::string_view text, std::string_view fileName);

// Reads the candump log at `utf8Path` as readCandumpText does.
Result<std::vector<CanFrame>> readCandumpFile(std::string_view utf8Path);

} // namespace setforge
