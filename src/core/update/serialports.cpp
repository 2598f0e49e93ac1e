#include "core/update/serialports.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace setforge {

namespace {

// The name cut before its trailing digits, and the value of those digits (-1 without any).
std::pair<std::string, std::int64_t> splitNumber(const std::string& name)
{
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
        --digits;
    // Long digit runs are compared as text would be; a port number never has this many.
    if (digits == name.size() || name.size() - digits > 9)
        return {name, -1};
    return {name.substr(0, digits), std::stoll(name.substr(digits))};
}

} // namespace

std::vector<std::string> orderPortNames(std::vector<std::string> names, bool comOnly)
{
    if (comOnly) {
        std::erase_if(names, [](const std::string& name) {
            const auto [prefix, number] = splitNumber(name);
            return prefix != "COM" || number < 0;
        });
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto left = splitNumber(a);
        const auto right = splitNumber(b);
        if (left != right)
            return left < right;
        return a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace setforge
