#include <gtest/gtest.h>

#include "core/update/commandline.h"

namespace setforge {

TEST(SplitWindowsArguments, QuotesGroupAndBackslashesStay)
{
    using Args = std::vector<std::string>;
    struct Case {
        const char* text;
        Args args;
    };
    const Case kCases[] = {
        {"", {}},
        {"   ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  a   b  ", {"a", "b"}},
        // The serial updater's text: the bin folder ends with a backslash before its quote.
        {"\\\\.\\COM3 FW NO NO NO \"C:\\My Dir\\MASTER\\sim40917.sim\" \"C:\\My Dir\\P\\bin\\\"",
         {"\\\\.\\COM3", "FW", "NO", "NO", "NO", "C:\\My Dir\\MASTER\\sim40917.sim", "C:\\My Dir\\P\\bin\\"}},
        {"/dev/ttyUSB0 NO NO PW PR \"/tmp/a b/MASTER/sim40917.sim\" \"/tmp/a b/p/bin/\"",
         {"/dev/ttyUSB0", "NO", "NO", "PW", "PR", "/tmp/a b/MASTER/sim40917.sim", "/tmp/a b/p/bin/"}},
        {"\"\"", {""}},
        {"a \"\" b", {"a", "", "b"}},
        {"ab\"c d\"ef", {"abc def"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"\"open end", {"open end"}},
        {"a\\\\b \\\"c", {"a\\\\b", "\\c"}},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(splitWindowsArguments(c.text), c.args) << c.text;
}

} // namespace setforge
