#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setforge {

// Splits an argument text into arguments the way Windows programs read their command line,
// without backslash escapes: blanks and tabs separate arguments outside double quotes, a
// double quote opens or closes a quoted stretch (and is dropped), "" inside a quoted stretch
// is one literal quote, and a backslash is an ordinary character, so "C:\dir\bin\" stays whole.
std::vector<std::string> splitWindowsArguments(std::string_view text);

} // namespace setforge
