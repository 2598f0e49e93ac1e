#pragma once

#include <cstdint>
#include <string_view>

namespace setforge {

// Reads a typed integer: optional leading spaces (U+0020 only), one optional sign, then
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Hexadecimal
// values are 32-bit and taken as signed ("0xFFFFFFFF" is -1). Returns `def` when the text
// is not exactly such a number (a trailing blank, an empty text or an overflow included).
std::int32_t textToInt(std::string_view text, std::int32_t def);

} // namespace setforge
