#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/result.h"

namespace setforge {

// A number written in an EDS.
struct EdsNumber {
    std::uint64_t value = 0; // the magnitude when `negative`
    bool negative = false;   // a "-" number, as the limits of signed types are written
    bool usesNodeId = false; // the text names $NODEID
};

// Reads an EDS number: decimal, hexadecimal after "0x"/"0X", or octal with a leading 0, with
// blanks around it allowed, or such a number after "-". A sum with "+" may name $NODEID once (letters in any
// case), in front or behind: "$NODEID+0x180", "0x180+$NODEID". `nodeId` is added for it; without a node the
// text is still checked and $NODEID counts as 0. An empty text, a sign, a second $NODEID, a value beyond 64
// bits or any other character gives the Error with the reason.
Result<EdsNumber> readEdsNumber(std::string_view text, std::optional<int> nodeId);

// `value` as "0x" followed by upper-case hexadecimal digits, at least `digits` of them.
std::string hexText(std::uint64_t value, int digits = 1);

} // namespace setforge
