#include <utility>

#include <gtest/gtest.h>

#include "core/base/asciitext.h"

namespace setforge {

namespace {

struct Case {
    const char* a;
    const char* b;
    bool equal;
};

// Only a..z fold: UTF-8 letters and the bytes next to the letter ranges stay apart, so the
// answer never depends on the system's locale.
const Case kCases[] = {
    {"ReadWrite", "READWRITE", true},
    {"$nodeid", "$NODEID", true},
    {"sdo.xml", "SDO.XML", true},
    {"", "", true},
    {"ReadWrite", "ReadWrit", false},
    {"@[`{", "@[`{", true},
    {"@", "`", false},      // 0x40 and 0x60 sit just outside the two letter ranges
    {"[", "{", false},      // 0x5B and 0x7B likewise
    {"é", "É", false},      // UTF-8 letters are compared byte for byte
    {"Prüf", "PRüF", true}, // ... and their neighbours still fold
};

} // namespace

TEST(AsciiText, EqualsIgnoringAsciiCase)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(equalsIgnoringAsciiCase(c.a, c.b), c.equal);
        EXPECT_EQ(equalsIgnoringAsciiCase(c.b, c.a), c.equal);
    }
}

TEST(AsciiText, UpperAsciiLeavesEveryOtherByte)
{
    EXPECT_EQ(upperAscii("az AZ 09 @[`{ é"), "AZ AZ 09 @[`{ é");
    EXPECT_EQ(upperAscii('q'), 'Q');
    EXPECT_EQ(upperAscii('\xE9'), '\xE9');
    EXPECT_EQ(lowerAscii("AZ az 09 @[`{ É"), "az az 09 @[`{ É");
}

// An EDS line's blanks are spaces and tabs; a carriage return or another control byte is
// part of the value and stays.
TEST(AsciiText, TrimSpacesAndTabsAtBothEndsOnly)
{
    EXPECT_EQ(trimSpacesAndTabs(" \t0x6041 \t"), "0x6041");
    EXPECT_EQ(trimSpacesAndTabs("a b"), "a b");
    EXPECT_EQ(trimSpacesAndTabs(" \t "), "");
    EXPECT_EQ(trimSpacesAndTabs("x\r"), "x\r");
}

// The digits around each range's ends, and the bytes next to them that are no digits.
TEST(AsciiText, HexDigitValueOfEachRangeAndItsNeighbours)
{
    const std::pair<char, int> cases[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'f', 15},   {'A', 10},
                                          {'F', 15}, {'/', -1}, {':', -1}, {'g', -1},   {'G', -1},
                                          {'@', -1}, {'`', -1}, {' ', -1}, {'\xC3', -1}};
    for (const auto& [c, value] : cases)
        EXPECT_EQ(hexDigitValue(c), value) << c;
}

} // namespace setforge
