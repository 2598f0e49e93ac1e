#pragma once

#include <string>
#include <string_view>

namespace setforge {

// The device's names (file names, list items, "ReadWrite", "$NODEID", project names) compare
// without regard to case, but only for the letters a..z: the result never depends on the
// system's locale, and UTF-8 bytes stay as they are.

// `c` with a..z made upper case; every other byte unchanged.
char upperAscii(char c);

// The value of a hexadecimal digit ("0"-"9", "a"-"f", "A"-"F"), or -1 for any other character.
int hexDigitValue(char c);

// `text` with a..z made upper case; every other byte unchanged.
std::string upperAscii(std::string_view text);

// `text` with A..Z made lower case; every other byte unchanged.
std::string lowerAscii(std::string_view text);

// True when `a` and `b` are equal once a..z are upper case in both.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// `text` without the spaces and tabs at either end (the blanks of an INI or EDS line).
std::string_view trimSpacesAndTabs(std::string_view text);

} // namespace setforge
