#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/base/result.h"

namespace setforge {
namespace {

Result<int> half(int value)
{
    if (value % 2 != 0)
        return makeError("odd value", "numbers.txt", 3);
    return value / 2;
}

TEST(ResultTest, ValueAndErrorSides)
{
    const Result<int> good = half(8);
    ASSERT_TRUE(good);
    EXPECT_EQ(*good, 4);

    const Result<int> bad = half(7);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().text, "odd value");
    EXPECT_EQ(bad.error().file, "numbers.txt");
    EXPECT_EQ(bad.error().line, 3u);
}

TEST(ResultTest, MoveOnlyValueLeavesTheResult)
{
    Result<std::unique_ptr<int>> made = std::make_unique<int>(5);
    ASSERT_TRUE(made);
    std::unique_ptr<int> taken = std::move(made).value();
    EXPECT_EQ(*taken, 5);
}

TEST(ResultTest, VoidResultIsSuccessUntilGivenAnError)
{
    const Result<void> ok;
    EXPECT_TRUE(ok);
    const Result<void> failed = makeError("disk full");
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().text, "disk full");
}

TEST(ResultTest, DescribeNamesFileAndLineOnce)
{
    struct Case {
        Error error;
        std::string expected;
    };
    const Case cases[] = {
        {{"no root", "", std::nullopt}, "no root"},
        {{"no root", "a.eds", std::nullopt}, "a.eds: no root"},
        {{"bad key", "a.eds", 12}, "a.eds:12: bad key"},
        {{"a.eds is not XML", "a.eds", 4}, "a.eds is not XML"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.error.describe(), c.expected) << c.expected;
}

} // namespace
} // namespace setforge
