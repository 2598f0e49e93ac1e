#pragma once

#include <cstdint>
#include <string_view>

#include "core/image/compilemessage.h"

namespace setforge {

// `text` without the characters up to U+0020 (blanks, tabs, line ends) at both ends.
std::string_view trimBlanks(std::string_view text);

// The plain image's reading of a number: an empty text gives 0xFFFF silently; otherwise the text
// is trimmed of characters up to U+0020 at both ends and read as a typed integer, giving the low
// 16 bits of its value, or 0xFFFF after reporting kConversionError (an error) to `sink`.
std::uint16_t textToWord(std::string_view text, const MessageSink& sink);

} // namespace setforge
