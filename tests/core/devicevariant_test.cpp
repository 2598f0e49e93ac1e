#include <gtest/gtest.h>

#include <optional>

#include "core/base/devicevariant.h"

namespace setforge {

namespace {

constexpr auto kWithout = DeviceVariant::WithoutEthernet;
constexpr auto kWith = DeviceVariant::WithEthernet;

struct Case {
    int selectDeviceType;
    DeviceVariant steps;
    DeviceVariant tables;
    std::optional<DeviceVariant> update;
};

// A ParGen.xml edited by hand may hold any integer; the three readings part ways exactly on
// the values other than 0 and 1, so those are the cases that matter.
const Case kCases[] = {
    {0, kWithout, kWithout, kWithout},    {1, kWith, kWith, kWith},
    {2, kWith, kWithout, std::nullopt},   {-1, kWith, kWithout, std::nullopt},
    {255, kWith, kWithout, std::nullopt},
};

} // namespace

TEST(DeviceVariant, EachPartReadsTheStoredIntegerItsOwnWay)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.selectDeviceType);
        EXPECT_EQ(variantForSteps(c.selectDeviceType), c.steps);
        EXPECT_EQ(variantForTables(c.selectDeviceType), c.tables);
        EXPECT_EQ(variantForUpdate(c.selectDeviceType), c.update);
    }
}

} // namespace setforge
