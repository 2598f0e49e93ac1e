#include <gtest/gtest.h>

#include <string>

#include "fuzz/support/framedproject.h"
#include "testutil.h"

namespace setforge {

namespace {

FramedProject split(const std::string& bytes)
{
    return splitFramedProject(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(FramedProject, SplitsChunksByRule)
{
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string bytes;
        int file; // the one file expected present, -1 for none
        std::string content;
    };
    const Case cases[] = {
        {"empty input", "", -1, ""},
        {"dangling header bytes", "\x01\x05"s, -1, ""},
        {"one chunk",
         "\x02\x03\x00"
         "abc"s,
         2, "abc"},
        {"selector wraps modulo 9", "\x0B\x01\x00z"s, 2, "z"},
        {"selector 255", "\xFF\x01\x00z"s, 255 % 9, "z"},
        {"length is little-endian and cut at the end", "\x00\x00\x01xy"s, 0, "xy"},
        {"empty chunk makes a present empty file", "\x08\x00\x00"s, 8, ""},
        {"chunks for one file append",
         "\x04\x01\x00"
         "a"
         "\x0D\x02\x00"
         "bc"s,
         4, "abc"},
    };
    for (const Case& c : cases) {
        const FramedProject p = split(c.bytes);
        for (std::size_t f = 0; f < FramedProject::kFileCount; ++f) {
            const bool expectPresent = static_cast<int>(f) == c.file;
            EXPECT_EQ(p.present[f], expectPresent) << c.name << ", file " << f;
            EXPECT_EQ(p.content[f], expectPresent ? c.content : "") << c.name << ", file " << f;
        }
    }
}

TEST(FramedProject, FrameIsTheInverseOfSplit)
{
    FramedProject project;
    project.present[0] = true;
    project.content[0] = std::string(70000, 'P') + "end"; // needs two chunks
    project.present[3] = true;                            // present but empty
    project.present[8] = true;
    project.content[8] = std::string("\0\xFF<row/>", 8);
    const std::string framed = frameProject(project);
    const FramedProject back = split(framed);
    for (std::size_t f = 0; f < FramedProject::kFileCount; ++f) {
        EXPECT_EQ(back.present[f], project.present[f]) << f;
        EXPECT_EQ(back.content[f], project.content[f]) << f;
    }
}

TEST(FramedProject, WritesOnlyPresentFilesUnderTheirProjectNames)
{
    TempDir dir;
    FramedProject project;
    project.present[0] = true;
    project.content[0] = "<ParGen/>";
    project.present[8] = true;
    ASSERT_TRUE(writeFramedProject(project, dir.utf8()));
    EXPECT_EQ(readTestFile(dir.file("ParGen.xml")), "<ParGen/>");
    EXPECT_EQ(readTestFile(dir.file("NodeGuard.xml")), "");
    EXPECT_EQ(readTestFile(dir.file("sdo.xml")), "<missing>");
    EXPECT_FALSE(writeFramedProject(project, dir.file("no-such-dir")));
}

} // namespace

} // namespace setforge
