#include "core/base/typedinteger.h"

#include <string>
#include <utility>

#include "core/base/asciitext.h"

namespace setforge {

namespace {

Error notAnInteger(std::string_view text)
{
    // Appended rather than joined with "+": GCC 12 at -O3 reports a false -Wrestrict overlap there.
    std::string message = "\"";
    message.append(text);
    message.append("\" is not an integer");
    return makeError(std::move(message));
}

} // namespace

Result<std::int32_t> readTypedInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return notAnInteger(text);

    bool hex = false;
    if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
        hex = true;
        ++i;
    } else if (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size())
        return notAnInteger(text);

    if (hex) {
        std::uint64_t value = 0;
        for (; i < text.size(); ++i) {
            const int d = hexDigitValue(text[i]);
            if (d < 0)
                return notAnInteger(text);
            value = value * 16 + static_cast<std::uint64_t>(d);
            if (value > 0xFFFFFFFFull)
                return notAnInteger(text);
        }
        // Unsigned negation keeps "-0x80000000" and "-$FFFFFFFF" free of overflow.
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }

    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return notAnInteger(text);
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 2147483648ull)
            return notAnInteger(text);
    }
    if (!negative && value > 2147483647ull)
        return notAnInteger(text);
    if (negative)
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
    return static_cast<std::int32_t>(value);
}

} // namespace setforge
