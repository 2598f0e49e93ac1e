#include <gtest/gtest.h>

#include "core/app/appstate.h"
#include "core/app/settings.h"
#include "testutil.h"

namespace setforge {

namespace {

const char* kFull =
    "<Conf_Settings><lastproj><projectname>Plant A</projectname></lastproj>"
    "<lastipadd><ipaddress>127.0.0.1</ipaddress></lastipadd>"
    "<lastlang><language>Deutsch</language></lastlang>"
    "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
    "<enable_jump_field_tables>1</enable_jump_field_tables><Double_Click_Auto_Size>1</Double_Click_Auto_Size>"
    "</lastinternet></Conf_Settings>";

struct SectionCase {
    const char* name;
    std::string xml;
    Settings expected;
};

Settings make(std::string project, std::string ip, std::string lang, bool a, bool b, bool c, bool d)
{
    Settings s;
    s.projectName = std::move(project);
    s.deviceIp = std::move(ip);
    s.languageName = std::move(lang);
    s.enableInternet = a;
    s.enableUpdate = b;
    s.enableJumpFieldTables = c;
    s.doubleClickAutoSize = d;
    return s;
}

std::string without(const std::string& xml, const std::string& part)
{
    std::string result = xml;
    result.erase(result.find(part), part.size());
    return result;
}

void expectEqual(const Settings& got, const Settings& want, const char* name)
{
    EXPECT_EQ(got.projectName, want.projectName) << name;
    EXPECT_EQ(got.deviceIp, want.deviceIp) << name;
    EXPECT_EQ(got.languageName, want.languageName) << name;
    EXPECT_EQ(got.enableInternet, want.enableInternet) << name;
    EXPECT_EQ(got.enableUpdate, want.enableUpdate) << name;
    EXPECT_EQ(got.enableJumpFieldTables, want.enableJumpFieldTables) << name;
    EXPECT_EQ(got.doubleClickAutoSize, want.doubleClickAutoSize) << name;
}

// Each missing section takes its own defaults; the others are still read.
TEST(Settings, DefaultsSectionBySection)
{
    const std::string full = kFull;
    const SectionCase cases[] = {
        {"complete", full, make("Plant A", "127.0.0.1", "Deutsch", true, true, true, true)},
        {"no lastproj", without(full, "<lastproj><projectname>Plant A</projectname></lastproj>"),
         make("", "127.0.0.1", "Deutsch", true, true, true, true)},
        {"no lastipadd", without(full, "<lastipadd><ipaddress>127.0.0.1</ipaddress></lastipadd>"),
         make("Plant A", "192.168.2.205", "Deutsch", true, true, true, true)},
        {"no lastlang", without(full, "<lastlang><language>Deutsch</language></lastlang>"),
         make("Plant A", "127.0.0.1", "English", true, true, true, true)},
        {"no update flag", without(full, "<enable_update>1</enable_update>"),
         make("Plant A", "127.0.0.1", "Deutsch", true, false, true, true)},
        {"no lastinternet", full.substr(0, full.find("<lastinternet>")) + "</Conf_Settings>",
         make("Plant A", "127.0.0.1", "Deutsch", false, false, false, false)},
        {"flags not exactly 1",
         "<Conf_Settings><lastinternet><enable_internet>true</enable_internet><enable_update> "
         "1</enable_update>"
         "<enable_jump_field_tables>0</enable_jump_field_tables><Double_Click_Auto_Size/></lastinternet></"
         "Conf_Settings>",
         make("", "192.168.2.205", "English", false, false, false, false)},
        {"root of another name", "<Other>" + full.substr(15, full.size() - 15 - 16) + "</Other>",
         make("Plant A", "127.0.0.1", "Deutsch", true, true, true, true)},
        {"declaration and comment before the root", "<?xml version=\"1.0\"?><!-- hand edited -->" + full,
         make("Plant A", "127.0.0.1", "Deutsch", true, true, true, true)},
        {"not XML", "this is not XML <", Settings{}},
        {"empty", "", Settings{}},
    };
    for (const SectionCase& c : cases)
        expectEqual(parseSettings(c.xml), c.expected, c.name);
}

TEST(Settings, MissingFileGivesDefaults)
{
    TempDir dir;
    expectEqual(readSettings(dir.file("Setforge.xml")), Settings{}, "missing");
}

TEST(Settings, WrittenShapeAndRoundTrip)
{
    TempDir dir;
    const Settings s = make("Plant A", "127.0.0.1", "Deutsch", false, true, false, true);
    ASSERT_TRUE(writeSettings(dir.file("Setforge.xml"), s));
    EXPECT_EQ(readTestFile(dir.file("Setforge.xml")),
              "<Conf_Settings><lastproj><projectname>Plant A</projectname></lastproj>"
              "<lastipadd><ipaddress>127.0.0.1</ipaddress></lastipadd>"
              "<lastlang><language>Deutsch</language></lastlang>"
              "<lastinternet><enable_internet>0</enable_internet><enable_update>1</enable_update>"
              "<enable_jump_field_tables>0</enable_jump_field_tables>"
              "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet></Conf_Settings>");
    expectEqual(readSettings(dir.file("Setforge.xml")), s, "round trip");
}

TEST(Settings, FirstStartInEmptyDirectory)
{
    TempDir dir;
    AppState state;
    startWorkspace(state, dir.utf8());
    for (const char* sub : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(std::filesystem::is_directory(dir.path() / sub)) << sub;
    EXPECT_FALSE(state.hasProject());
    EXPECT_EQ(state.languageName, "English");
    EXPECT_EQ(state.deviceIp, "192.168.2.205");
    ASSERT_TRUE(saveSettings(state));
    expectEqual(readSettings(dir.file("Setforge.xml")), Settings{}, "written on exit");
    EXPECT_NE(readTestFile(dir.file("Setforge.xml")).find("<projectname/>"), std::string::npos)
        << readTestFile(dir.file("Setforge.xml"));
}

TEST(Settings, DeletedProjectIsNotOpenedButRemembered)
{
    TempDir dir;
    Settings s;
    s.projectName = "Gone";
    s.languageName = "Missing";
    ASSERT_TRUE(writeSettings(dir.file("Setforge.xml"), s));
    AppState state;
    startWorkspace(state, dir.utf8());
    EXPECT_FALSE(state.hasProject());
    EXPECT_EQ(state.projectName, "Gone");
    EXPECT_EQ(state.languageName, "English"); // its language file is missing
    ASSERT_TRUE(saveSettings(state));
    EXPECT_EQ(readSettings(dir.file("Setforge.xml")).projectName, "Gone");
    EXPECT_EQ(readSettings(dir.file("Setforge.xml")).languageName, "English");
}

} // namespace

namespace {

// A text the reader would change if written as it is (a carriage return becomes a line feed,
// a text of blanks only is dropped) is written as character references and reads back exactly.
TEST(Settings, EveryTextReadsBackExactly)
{
    const char* kTexts[] = {"a\rb", "\r\n", " ", "\n\t ", "  two  ", "x&<>\"'y", "\x01", "\xC3\x9C"};
    TempDir dir;
    for (const char* text : kTexts) {
        const Settings s = make(text, text, text, true, false, true, false);
        ASSERT_TRUE(writeSettings(dir.file("Setforge.xml"), s));
        expectEqual(readSettings(dir.file("Setforge.xml")), s, text);
    }
}

} // namespace

} // namespace setforge
