#include "core/base/asciitext.h"

namespace setforge {

char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = upperAscii(c);
    return result;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i]))
            return false;
    return true;
}

} // namespace setforge
