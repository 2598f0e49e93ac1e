#pragma once

#include <cstdint>
#include <string_view>

#include "core/base/result.h"

namespace setforge {

// Reads a typed integer as textToInt (core/base/textint.h) describes it, or gives the Error
// '"<text>" is not an integer' when the text is not exactly such a number (an empty text, a
// trailing blank or an overflow included).
Result<std::int32_t> readTypedInteger(std::string_view text);

} // namespace setforge
