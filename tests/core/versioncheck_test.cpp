#include <gtest/gtest.h>

#include "core/app/appstate.h"
#include "core/lang/versioncheck.h"

namespace setforge {

namespace {

// Answers of the maker's server against the running version 2.001.
struct AnswerCase {
    const char* answer;
    bool newer;
};

const AnswerCase kAnswers[] = {
    {"VER. 2.105", true},
    {"VER. 2.001", false}, // the running version itself
    {"ver. 0.000", false}, // "no version known", whatever the case
    {"VER. 0.000", false},
    {"VER. 2.1", false},        // too short to read
    {"2.105", true},            // bare version without prefix
    {"  VER. 2.105\r\n", true}, // line end and blanks around the answer
    {"VER. 2.000", false},
    {"VER. 3.000", true},
    {"", false}, // any failure of the query
    {"\r\n", false},
    {"<html><body>Not found</body></html>", false},
    {"VER. abcde", false},
    {"VER.", false},
};

TEST(VersionCheck, AnswersAgainstRunningVersion)
{
    for (const AnswerCase& c : kAnswers)
        EXPECT_EQ(isNewerVersionAnswer(c.answer, kSoftwareVersion), c.newer)
            << "answer \"" << c.answer << "\"";
}

struct ValueCase {
    const char* text;
    int value;
};

const ValueCase kValues[] = {
    {"2.001", 2001},
    {"VER. 2.105", 2105},
    {"VER.  2.105 ", 2105},
    {"2.1", -1},
    {"VER. 2.1", -1},
    {"", -1},
    {"VER. ", -1},
    {"VER. 9.999", 9999},
    {"VER. 2.10x", -1},
    {"VER. 2,105", 2105}, // only the characters' places count
    {"VER. 2.105 beta", 2105},
};

TEST(VersionCheck, ConvVersion)
{
    for (const ValueCase& c : kValues)
        EXPECT_EQ(parseVersion(c.text), c.value) << "text \"" << c.text << "\"";
}

TEST(VersionCheck, QueryAddress)
{
    EXPECT_EQ(versionQueryString(), "nomesw=KX40917");
    EXPECT_EQ(versionQueryUrl("http://127.0.0.1:8080"),
              "http://127.0.0.1:8080/home/download/GetversionSW.asp?nomesw=KX40917");
}

} // namespace

} // namespace setforge
