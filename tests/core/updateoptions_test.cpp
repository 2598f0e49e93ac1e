#include <gtest/gtest.h>

#include "core/update/serialarguments.h"
#include "core/update/serialports.h"
#include "core/update/updateoptions.h"

namespace setforge {

TEST(UpdateOptions, TokensForEveryOptionAndReadBack)
{
    struct Case {
        int option;
        bool readBack;
        const char* tokens;
    };
    const Case kCases[] = {
        {0, true, "FW FR PW PR "},  {0, false, "FW NO PW NO "}, {1, true, "FW FR NO NO "},
        {1, false, "FW NO NO NO "}, {2, true, "NO NO PW PR "},  {2, false, "NO NO PW NO "},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(updateOptionsText("x ", c.option, c.readBack), std::string("x ") + c.tokens)
            << c.option << " " << c.readBack;
}

TEST(SerialArguments, FirmwareWithoutReadBackOnCom3)
{
    const std::string text = serialArgumentText("\\\\.\\COM3", 1, false, "C:\\Setforge\\MASTER",
                                                "C:\\Setforge\\PROJECTS\\Plant 1", '\\');
    EXPECT_EQ(text, "\\\\.\\COM3 FW NO NO NO \"C:\\Setforge\\MASTER\\sim40917.sim\" "
                    "\"C:\\Setforge\\PROJECTS\\Plant 1\\bin\\\"");
}

TEST(SerialArguments, EmptyPortStillLeadsWithTheBlank)
{
    const std::string text = serialArgumentText(serialPortDevice(""), 0, true, "/m", "/p", '/');
#ifdef _WIN32
    EXPECT_EQ(text, "\\\\.\\ FW FR PW PR \"/m/sim40917.sim\" \"/p/bin/\"");
#else
    EXPECT_EQ(text, " FW FR PW PR \"/m/sim40917.sim\" \"/p/bin/\"");
#endif
}

TEST(SerialArguments, PortDeviceOfAListEntry)
{
#ifdef _WIN32
    EXPECT_EQ(serialPortDevice("COM3"), "\\\\.\\COM3");
#else
    EXPECT_EQ(serialPortDevice("/dev/ttyUSB0"), "/dev/ttyUSB0");
#endif
}

TEST(SerialPorts, OrdersByNumberAndKeepsOnlyComWhereAsked)
{
    using Names = std::vector<std::string>;
    EXPECT_EQ(orderPortNames({"COM10", "COM3", "COM1", "COM3", "LPT1", "COM", "COMx2"}, true),
              (Names{"COM1", "COM3", "COM10"}));
    EXPECT_EQ(orderPortNames({"ttyUSB0", "ttyS10", "ttyS2", "ttyACM0"}, false),
              (Names{"ttyACM0", "ttyS2", "ttyS10", "ttyUSB0"}));
    EXPECT_EQ(orderPortNames({}, true), Names{});
}

} // namespace setforge
