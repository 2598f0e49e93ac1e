#include <gtest/gtest.h>

#include "core/update/ipaddress.h"

namespace setforge {

TEST(IpAddress, SplitsAndChecksEveryPart)
{
    struct Case {
        const char* text;
        bool ok;
        const char* parts[4];
    };
    const Case kCases[] = {
        {"192.168.2.205", true, {"192", "168", "2", "205"}},
        {"  192 . 168 .2 . 205  ", true, {"192", "168", "2", "205"}},
        {"127.0.0.1", true, {"127", "0", "0", "1"}},
        {"0.0.0.0", true, {"0", "0", "0", "0"}},
        {"255.255.255.255", true, {"255", "255", "255", "255"}},
        {"0x0A.0.0.7", true, {"0x0A", "0", "0", "7"}}, // typed numbers read as everywhere else
        {"192.168.2", false, {}},                      // two dots
        {"192.168.2.205.7", false, {}},                // four dots: the fourth part is "205.7"
        {"192.168.2.256", false, {}},                  // a part above 255
        {"192.168.-1.2", false, {}},
        {"192.168..2", false, {}}, // an empty part
        {"a.b.c.d", false, {}},
        {"", false, {}},
        {"localhost", false, {}},
    };
    for (const Case& c : kCases) {
        const IpParts split = splitIpText(c.text);
        EXPECT_EQ(split.ok, c.ok) << c.text;
        if (!c.ok)
            continue;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(split.parts[i], c.parts[i]) << c.text << " part " << i;
    }
}

TEST(IpAddress, JoinsTheFourFields)
{
    EXPECT_EQ(joinIpParts({"127", "0", "0", "1"}), "127.0.0.1");
    EXPECT_EQ(joinIpParts({"", "", "", ""}), "...");
}

} // namespace setforge
