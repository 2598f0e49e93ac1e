#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "core/app/appstate.h"
#include "core/app/settings.h"
#include "core/base/paths.h"
#include "core/lang/languagefile.h"
#include "core/lang/uitexts.h"
#include "testutil.h"

namespace setforge {

namespace {

// Every entry under `root`: files with their bytes, directories marked, so a test can
// show that reading bad input changed nothing on disk.
std::map<std::string, std::string> snapshot(const std::filesystem::path& root)
{
    std::map<std::string, std::string> entries;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        const std::string rel = e.path().lexically_relative(root).generic_string();
        entries[rel] = e.is_directory() ? "<dir>" : readTestFile(pathToUtf8(e.path()));
    }
    return entries;
}

std::string binaryJunk(std::size_t size)
{
    std::string bytes(size, '\0');
    std::uint32_t x = 2463534242u;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x & 0xFF);
    }
    // No language line can hide in it.
    for (std::size_t i = 0; (i = bytes.find("STR", i)) != std::string::npos;)
        bytes[i] = 's';
    return bytes;
}

// A bad thing standing where a settings or language file should be.
struct Hostile {
    const char* name;
    std::function<void(const std::string& path)> make;
};

const Hostile kHostile[] = {
    {"binary bytes with NULs", [](const std::string& p) { writeTestFile(p, binaryJunk(4096)); }},
    {"empty file", [](const std::string& p) { writeTestFile(p, ""); }},
    {"UTF-16 text without a mark",
     [](const std::string& p) { writeTestFile(p, std::string("<\0a\0/\0>\0", 8)); }},
    {"50 MB of text", [](const std::string& p) { writeTestFile(p, std::string(50u << 20, 'A')); }},
    {"200000 nested elements",
     [](const std::string& p) {
         std::string xml;
         for (int i = 0; i < 200000; ++i)
             xml += "<a>";
         for (int i = 0; i < 200000; ++i)
             xml += "</a>";
         writeTestFile(p, xml);
     }},
    {"a directory", [](const std::string& p) { std::filesystem::create_directory(pathFromUtf8(p)); }},
};

void expectDefaultSettings(const Settings& s, const char* name)
{
    const Settings d;
    EXPECT_EQ(s.projectName, d.projectName) << name;
    EXPECT_EQ(s.deviceIp, d.deviceIp) << name;
    EXPECT_EQ(s.languageName, d.languageName) << name;
    EXPECT_EQ(s.enableInternet || s.enableUpdate || s.enableJumpFieldTables || s.doubleClickAutoSize, false)
        << name;
}

// A settings file that is not a settings document gives every default at start, and reading
// it leaves it as it was; only the workspace directories appear.
TEST(Hostile, SettingsFileThatIsNotSettingsGivesDefaultsAndStaysUntouched)
{
    for (const Hostile& h : kHostile) {
        TempDir dir;
        const std::string path = dir.file("Setforge.xml");
        h.make(path);
        const auto before = snapshot(dir.path());

        expectDefaultSettings(readSettings(path), h.name);
        EXPECT_EQ(snapshot(dir.path()), before) << h.name;

        AppState state;
        startWorkspace(state, dir.utf8());
        expectDefaultSettings(currentSettings(state), h.name);
        EXPECT_FALSE(state.hasProject()) << h.name;
        auto after = snapshot(dir.path());
        for (const char* created : {"MASTER", "PROJECTS", "LANGUAGE"})
            EXPECT_EQ(after.erase(created), 1u) << h.name << ": " << created;
        EXPECT_EQ(after, before) << h.name;
    }
}

// The explicit save replaces a junk settings file with a clean one; where a directory stands
// in its place the save fails with a message naming the path and the directory stays.
TEST(Hostile, ExplicitSaveOverJunkSettings)
{
    TempDir dir;
    writeTestFile(dir.file("Setforge.xml"), binaryJunk(1000));
    AppState state;
    startWorkspace(state, dir.utf8());
    state.projectName = "Line 7";
    ASSERT_TRUE(saveSettings(state));
    EXPECT_EQ(readSettings(dir.file("Setforge.xml")).projectName, "Line 7");

    TempDir other;
    std::filesystem::create_directory(other.path() / "Setforge.xml");
    AppState blocked;
    startWorkspace(blocked, other.utf8());
    const Result<void> r = saveSettings(blocked);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error().text.find("Setforge.xml"), std::string::npos) << r.error().text;
    EXPECT_TRUE(std::filesystem::is_directory(other.path() / "Setforge.xml"));
    EXPECT_TRUE(std::filesystem::is_empty(other.path() / "Setforge.xml"));
}

// Writing the settings where it cannot succeed (permission bits do not stop root, so these are
// failures no user can bypass) reports an error with the path and changes nothing on disk.
TEST(Hostile, SettingsWriteFailuresChangeNothing)
{
    TempDir dir;
    writeTestFile(dir.file("plain"), "a regular file");
    std::filesystem::create_directory(dir.path() / "Setforge.xml");
    writeTestFile(dir.file("Setforge.xml") + "/inside", "kept");
    const auto before = snapshot(dir.path());
    const std::string targets[] = {
        dir.file("Setforge.xml"),              // a directory (not empty) named like the file
        dir.file("plain") + "/Setforge.xml",   // a path under a regular file
        dir.file("missing") + "/Setforge.xml", // a folder that does not exist
    };
    for (const std::string& target : targets) {
        const Result<void> r = writeSettings(target, Settings{});
        EXPECT_FALSE(r) << target;
        EXPECT_NE(r.error().text.find(target), std::string::npos) << r.error().text;
    }
    EXPECT_EQ(snapshot(dir.path()), before);
}

// A language file that is not a language file changes no text and stays as it is; the
// language name stays the one asked for, since its file exists.
TEST(Hostile, LanguageFileThatIsNotTextLeavesTheDefaults)
{
    const UiTexts defaults;
    for (const Hostile& h : kHostile) {
        TempDir dir;
        h.make(dir.file("Hostile.lng"));
        const auto before = snapshot(dir.path());
        UiTexts texts;
        texts.set(3, "changed before the load");
        EXPECT_EQ(loadLanguage(texts, dir.utf8(), "Hostile"), "Hostile") << h.name;
        for (int i = 0; i < UiTexts::kCount; ++i)
            ASSERT_EQ(texts[i], defaults[i]) << h.name << ", text " << i;
        EXPECT_EQ(snapshot(dir.path()), before) << h.name;
    }
}

// A 50 MB language file of valid lines is read whole: the last line for an index wins and the
// text of a single huge line comes through entire.
TEST(Hostile, FiftyMegabyteLanguageFile)
{
    TempDir dir;
    const std::string line = "STR0100 = Repeated text\r\n";
    std::string content;
    content.reserve((50u << 20) + 64);
    while (content.size() < (50u << 20) - 4096)
        content += line;
    content += "STR0100 = Last\r\nSTR0101 = ";
    const std::size_t hugeText = (50u << 20) - content.size();
    content.append(hugeText, 'h');
    writeTestFile(dir.file("Big.lng"), content);

    UiTexts texts;
    EXPECT_EQ(loadLanguage(texts, dir.utf8(), "Big"), "Big");
    EXPECT_EQ(texts[100], "Last");
    EXPECT_EQ(texts[101].size(), hugeText);
    EXPECT_EQ(texts[102], UiTexts()[102]);
}

} // namespace

namespace {

// A file name near the file system's 255-byte limit still saves: the temporary file beside it
// must not need a longer name than the target itself.
TEST(Hostile, LongestFileNameStillSaves)
{
    TempDir dir;
    const std::string name = std::string(250, 'n') + ".xml";
    const std::string path = dir.file(name);
    writeTestFile(path, "old");
    ASSERT_EQ(readTestFile(path), "old");
    const Result<void> r = writeSettings(path, Settings{});
    ASSERT_TRUE(r) << r.error().text;
    EXPECT_EQ(readTestFile(path), settingsXml(Settings{}));
}

} // namespace

} // namespace setforge
