#include <gtest/gtest.h>

#include "core/base/textint.h"

namespace setforge {

namespace {

struct Case {
    const char* text;
    std::int32_t expected; // -99 stands for "invalid: the default comes back"
};

// Every accepted form, and every way a typed number can be wrong.
const Case kCases[] = {
    {"127", 127},
    {"0x7F", 127},
    {"0X7f", 127},
    {"$7F", 127},
    {"x7F", 127},
    {"X7F", 127},
    {"+127", 127},
    {" 5", 5},
    {"   0x10", 16},
    {"-0", 0},
    {"0010", 10},
    {"010", 10},
    {"-5", -5},
    {"-$10", -16},
    {"2147483647", 2147483647},
    {"-2147483648", INT32_MIN},
    {"0xFFFFFFFF", -1},
    {"0x80000000", INT32_MIN},
    {"0x000000000001", 1},
    {"-0x1", -1},
    {"0x80", 128},
    // Invalid texts.
    {"5 ", -99},
    {"", -99},
    {"   ", -99},
    {"+", -99},
    {"-", -99},
    {"0x", -99},
    {"$", -99},
    {"x", -99},
    {"1e2", -99},
    {"12abc", -99},
    {"2147483648", -99},
    {"-2147483649", -99},
    {"0x100000000", -99},
    {"\t5", -99},
    {"+-5", -99},
    {"0x-5", -99},
    {"5-", -99},
    {"0xG", -99},
    {"1 000", -99},
    {"99999999999999999999", -99},
};

TEST(TextToIntDef, TableOfCases)
{
    for (const Case& c : kCases)
        EXPECT_EQ(textToInt(c.text, -99), c.expected) << "text \"" << c.text << "\"";
}

TEST(TextToIntDef, DefaultIsReturnedUnchanged)
{
    EXPECT_EQ(textToInt("abc", -1), -1);
    EXPECT_EQ(textToInt("abc", 12345), 12345);
}

} // namespace

} // namespace setforge
