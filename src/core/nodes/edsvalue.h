#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setforge {

// Outcome of reading a number written in an EDS.
struct EdsNumber {
    bool ok = false;
    std::uint64_t value = 0; // the magnitude when `negative`
    bool negative = false;   // a "-" number, as the limits of signed types are written
    bool usesNodeId = false; // the text names $NODEID
    std::string error;       // why the text is not a number, when !ok
};

// Reads an EDS number: decimal, hexadecimal after "0x"/"0X", or octal with a leading 0, with
// blanks around it allowed, or such a number after "-". A sum with "+" may name $NODEID once (letters in any
// case), in front or behind: "$NODEID+0x180", "0x180+$NODEID". `nodeId` is added for it; without a node the
// text is still checked and $NODEID counts as 0. An empty text, a sign, a second $NODEID, a value beyond 64
// bits or any other character gives !ok with the reason.
EdsNumber readEdsNumber(std::string_view text, std::optional<int> nodeId);

// `value` as "0x" followed by upper-case hexadecimal digits, at least `digits` of them.
std::string hexText(std::uint64_t value, int digits = 1);

} // namespace setforge
