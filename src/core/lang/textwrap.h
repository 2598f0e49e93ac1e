#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setforge {

// The width, in characters, at which tooltips are wrapped.
inline constexpr std::size_t kTooltipWidth = 60;

// `text` with line breaks put at blanks so that no line holds more than `width` characters
// (UTF-8 code points), where the words allow it: a word longer than `width` keeps a line of its
// own. Line breaks already in the text stay; a line that fits stays exactly as it is. A number
// and a unit after it ("150 s", "100 ms") stay on one line, and a no-break space never breaks.
std::string wrapText(std::string_view text, std::size_t width);

} // namespace setforge
