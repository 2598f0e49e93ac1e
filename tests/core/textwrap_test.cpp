#include "core/lang/textwrap.h"

#include <gtest/gtest.h>

#include <string>

namespace setforge {

namespace {

TEST(TextWrap, BreaksAtBlanksWithinTheWidth)
{
    struct Case {
        const char* text;
        std::size_t width;
        const char* wrapped;
    };
    const Case kCases[] = {
        {"short line", 60, "short line"},
        // A line that fits keeps even its double blanks.
        {"two  blanks", 20, "two  blanks"},
        {"one two three four", 9, "one two\nthree\nfour"},
        {"one two three four", 7, "one two\nthree\nfour"},
        // A word wider than the line keeps a line of its own.
        {"a 0123456789 b", 5, "a\n0123456789\nb"},
        // Breaks already there stay; each line is wrapped on its own.
        {"first line here\nsecond", 10, "first line\nhere\nsecond"},
        // A number and its unit stay together.
        {"Time between requests. Unit: 150 ms", 31, "Time between requests. Unit:\n150 ms"},
        {"still running after 150 s", 23, "still running after\n150 s"},
        // A no-break space is no place to break; accented letters count once.
        {"\xC3\xA9t\xC3\xA9 \xC3\xA9t\xC3\xA9", 7, "\xC3\xA9t\xC3\xA9 \xC3\xA9t\xC3\xA9"},
        {"aa 150\xC2\xA0s", 5, "aa\n150\xC2\xA0s"},
        {"", 10, ""},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(wrapText(c.text, c.width), c.wrapped) << c.text;
}

TEST(TextWrap, NoLineOfALongTooltipExceedsTheWidth)
{
    const std::string tip = "First Modbus register of the PDO's data: two bytes per register, consecutive "
                            "registers. Range: 0 to 65535; the blocks of two rows must not overlap";
    const std::string wrapped = wrapText(tip, kTooltipWidth);
    std::size_t start = 0;
    int lines = 0;
    while (start <= wrapped.size()) {
        const std::size_t end = wrapped.find('\n', start);
        const std::size_t length = (end == std::string::npos ? wrapped.size() : end) - start;
        EXPECT_LE(length, kTooltipWidth);
        ++lines;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    EXPECT_EQ(lines, 3);
    std::string joined = wrapped;
    for (char& c : joined)
        if (c == '\n')
            c = ' ';
    EXPECT_EQ(joined, tip);
}

} // namespace

} // namespace setforge
