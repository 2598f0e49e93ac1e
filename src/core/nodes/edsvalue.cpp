#include "core/nodes/edsvalue.h"

#include <cstdio>

#include "core/base/asciitext.h"
namespace setforge {

namespace {

// "'<value>'<what>", built by appending: GCC 12 warns falsely (-Wrestrict) on a literal
// added to a temporary string once the call is inlined at -O2.
std::string quotedValue(std::string_view value, const char* what)
{
    std::string text(1, '\'');
    text.append(value);
    text += '\'';
    text += what;
    return text;
}

constexpr std::string_view kNodeIdToken = "$NODEID";

// One term without $NODEID: decimal, 0x hexadecimal or leading-0 octal.
bool readTerm(std::string_view term, std::uint64_t& value)
{
    unsigned base = 10;
    if (term.size() > 2 && term[0] == '0' && (term[1] == 'x' || term[1] == 'X')) {
        base = 16;
        term.remove_prefix(2);
    } else if (term.size() > 1 && term[0] == '0') {
        base = 8;
        term.remove_prefix(1);
    }
    if (term.empty())
        return false;
    value = 0;
    for (char c : term) {
        const int digit = hexDigitValue(c);
        if (digit < 0 || digit >= static_cast<int>(base))
            return false;
        if (value > (UINT64_MAX - static_cast<unsigned>(digit)) / base)
            return false;
        value = value * base + static_cast<unsigned>(digit);
    }
    return true;
}

} // namespace

Result<EdsNumber> readEdsNumber(std::string_view text, std::optional<int> nodeId)
{
    EdsNumber result;
    const std::string_view whole = trimSpacesAndTabs(text);
    if (whole.empty())
        return makeError("empty value");
    if (whole.front() == '-') {
        // A negative decimal or hexadecimal number, as signed types' limits are written; it
        // cannot be part of a $NODEID sum.
        std::uint64_t magnitude = 0;
        if (!readTerm(trimSpacesAndTabs(whole.substr(1)), magnitude) || magnitude > (std::uint64_t{1} << 63))
            return makeError(quotedValue(whole, " is not a number"));
        result.negative = true;
        result.value = magnitude;
        return result;
    }
    std::uint64_t sum = 0;
    std::string_view rest = whole;
    while (true) {
        const std::size_t plus = rest.find('+');
        const std::string_view term = trimSpacesAndTabs(rest.substr(0, plus));
        std::uint64_t termValue = 0;
        if (equalsIgnoringAsciiCase(term, kNodeIdToken)) {
            if (result.usesNodeId)
                return makeError(quotedValue(whole, " names $NODEID twice"));
            result.usesNodeId = true;
            termValue = nodeId ? static_cast<std::uint64_t>(*nodeId) : 0;
        } else if (!readTerm(term, termValue)) {
            std::string reason = quotedValue(whole, " is not a number");
            if (term.find('$') != std::string_view::npos)
                reason += " ($NODEID may only stand alone in a sum such as $NODEID+0x180)";
            return makeError(std::move(reason));
        }
        if (sum > UINT64_MAX - termValue)
            return makeError(quotedValue(whole, " exceeds 64 bits"));
        sum += termValue;
        if (plus == std::string_view::npos)
            break;
        rest.remove_prefix(plus + 1);
    }
    result.value = sum;
    return result;
}

std::string hexText(std::uint64_t value, int digits)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

} // namespace setforge
