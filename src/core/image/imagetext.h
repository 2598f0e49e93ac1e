#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/image/compilemessage.h"

namespace setforge {

// The value of `text` by the typed-integer syntax (leading spaces allowed, nothing after the
// digits), or nothing when the text does not follow it (an empty text included).
std::optional<std::int32_t> readInteger(std::string_view text);

// `text` without the characters up to U+0020 (blanks, tabs, line ends) at both ends.
std::string_view trimBlanks(std::string_view text);

// The plain image's reading of a number: an empty text gives 0xFFFF silently; otherwise the text
// is trimmed of characters up to U+0020 at both ends and read as a typed integer, giving the low
// 16 bits of its value, or 0xFFFF after reporting kConversionError (an error) to `sink`.
std::uint16_t textToWord(std::string_view text, const MessageSink& sink);

} // namespace setforge
