#pragma once

#include <array>
#include <string>
#include <string_view>

namespace setforge {

// A dotted address split into its four byte texts.
struct IpParts {
    bool ok = false;                  // four parts, each a number from 0 to 255
    std::array<std::string, 4> parts; // the trimmed byte texts (filled as far as the split got)
};

// Splits a dotted address: the text is trimmed, the first three parts end at a ".", the rest
// is the fourth; every part is trimmed and must read (textToInt) as 0..255. Two dots,
// four dots, an empty or non-numeric part, or a part above 255 give ok = false.
IpParts splitIpText(std::string_view text);

// The four field texts joined by ".", as the device address.
std::string joinIpParts(const std::array<std::string, 4>& parts);

// Trims blanks and control characters from both ends, as the address fields are read.
std::string trimIpText(std::string_view text);

} // namespace setforge
