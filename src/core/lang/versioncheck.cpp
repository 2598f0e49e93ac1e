#include "core/lang/versioncheck.h"

#include "core/base/asciitext.h"
#include "core/base/product.h"
#include "core/base/textint.h"

namespace setforge {

namespace {

// Blanks and control characters at both ends go, as the server may end its line any way.
std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string versionQueryString()
{
    return std::string(kVersionQueryKey) + "=" + kSoftwareCode;
}

std::string versionQueryUrl(std::string_view base)
{
    return std::string(base) + kVersionQueryPath + "?" + versionQueryString();
}

int parseVersion(std::string_view versionText)
{
    const std::size_t blank = versionText.find(' ');
    std::string_view number = blank == std::string_view::npos ? versionText : versionText.substr(blank + 1);
    number = trimmed(number);
    if (number.size() < 5)
        return -1;
    // The point in second place is skipped: "2.105" reads as 2105.
    const std::string digits{number[0], number[2], number[3], number[4]};
    return textToInt(digits, -1);
}

bool isNewerVersionAnswer(std::string_view answer, std::string_view runningVersion)
{
    const std::string_view text = trimmed(answer);
    const std::string upper = upperAscii(text);
    if (upper.empty() || upper == "VER. 0.000")
        return false;
    const int running = parseVersion(runningVersion);
    const int offered = parseVersion(text);
    return running != -1 && offered != -1 && offered > running;
}

} // namespace setforge
