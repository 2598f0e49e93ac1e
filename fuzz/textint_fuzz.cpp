// The integer reading against a reference written a different way: the text is checked for
// its shape by hand, and the digits are converted by strtoull. Both must agree on every input,
// valid or not; an accepted value must also read back from its own decimal form.

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/textint.h"
#include "fuzz/support/fuzzcheck.h"

namespace setforge {

namespace {

bool isDecimal(char c)
{
    return c >= '0' && c <= '9';
}

bool isHex(char c)
{
    return isDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// nullopt for a text that is not a number.
std::optional<std::int32_t> reference(std::string_view text)
{
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = text.substr(i);
    bool negative = false;
    if (rest.front() == '+' || rest.front() == '-') {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    bool hex = false;
    if (rest.substr(0, 2) == "0x" || rest.substr(0, 2) == "0X") {
        hex = true;
        rest.remove_prefix(2);
    } else if (!rest.empty() && (rest.front() == '$' || rest.front() == 'x' || rest.front() == 'X')) {
        hex = true;
        rest.remove_prefix(1);
    }
    if (rest.empty())
        return std::nullopt;
    for (char c : rest)
        if (!(hex ? isHex(c) : isDecimal(c)))
            return std::nullopt;
    // Leading zeros carry no value; what remains must fit the digit budget before strtoull.
    const std::size_t first = rest.find_first_not_of('0');
    const std::string digits = first == std::string_view::npos ? "0" : std::string(rest.substr(first));
    if (digits.size() > (hex ? 8u : 10u))
        return std::nullopt;
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (errno != 0)
        return std::nullopt;
    if (hex) {
        const auto bits = static_cast<std::uint32_t>(value);
        const std::int64_t signedValue = static_cast<std::int32_t>(bits);
        // "-0x80000000" negates INT32_MIN, which wraps to itself in 32 bits.
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(negative ? -signedValue : signedValue));
    }
    const long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(signedValue);
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Two different defaults tell "invalid" apart from a valid text that reads as a default.
    const std::int32_t a = textToInt(text, 1234567);
    const std::int32_t b = textToInt(text, -7654321);
    const std::optional<std::int32_t> expected = reference(text);
    if (!expected) {
        FUZZ_CHECK(a == 1234567 && b == -7654321, "a text the reference rejects must give the default");
        return 0;
    }
    FUZZ_CHECK(a == *expected && b == *expected, "an accepted text must read as the reference value");
    FUZZ_CHECK(textToInt(std::to_string(a), a == 0 ? 1 : 0) == a,
               "a value must read back from its decimal form");
    return 0;
}
