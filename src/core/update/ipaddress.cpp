#include "core/update/ipaddress.h"

#include "core/base/textint.h"

namespace setforge {

std::string trimIpText(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return std::string(text.substr(begin, end - begin));
}

IpParts splitIpText(std::string_view text)
{
    IpParts result;
    std::string rest = trimIpText(text);
    for (int i = 0; i < 3; ++i) {
        const std::size_t dot = rest.find('.');
        if (dot == std::string::npos)
            return result;
        result.parts[i] = trimIpText(std::string_view(rest).substr(0, dot));
        rest.erase(0, dot + 1);
    }
    result.parts[3] = trimIpText(rest);
    // 1000 stands for "not a number": it lies outside every byte.
    for (const std::string& part : result.parts) {
        const std::int32_t value = textToInt(part, 1000);
        if (value < 0 || value > 255)
            return result;
    }
    result.ok = true;
    return result;
}

std::string joinIpParts(const std::array<std::string, 4>& parts)
{
    return parts[0] + "." + parts[1] + "." + parts[2] + "." + parts[3];
}

} // namespace setforge
