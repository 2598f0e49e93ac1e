#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/lang/languagelist.h"
#include "core/lang/uitexts.h"

namespace setforge {

namespace {

// A fresh folder below the system's temporary directory, removed at the end.
class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() / ("setforge-lang-" + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    std::string utf8() const { return pathToUtf8(m_path); }
    std::string file(const std::string& name) const { return joinPath(utf8(), name); }
    void touch(const std::string& name) const { ASSERT_TRUE(writeFileAtomic(file(name), "STR0000 = x\n")); }

private:
    std::filesystem::path m_path;
};

TEST(LanguageList, SortedIgnoringCaseOnlyLanguageFiles)
{
    TempDir dir;
    for (const char* name : {"italiano.lng", "\xC3\x89ire.lng", "Deutsch.lng", "English.lng", "espanol.lng",
                             "notes.txt", "English.bmp", "lng"})
        dir.touch(name);
    std::filesystem::create_directory(pathFromUtf8(dir.file("Folder.lng")));
    // Letters fold to lower case; names beyond ASCII come after the ASCII ones.
    const std::vector<std::string> expected = {"Deutsch.lng", "English.lng", "espanol.lng", "italiano.lng",
                                               "\xC3\x89ire.lng"};
    EXPECT_EQ(listLanguages(dir.utf8()), expected);
}

TEST(LanguageList, MissingDirectoryGivesEmptyList)
{
    TempDir dir;
    EXPECT_TRUE(listLanguages(dir.file("absent")).empty());
}

TEST(LanguageList, ExtensionSpelledExactlyAndFileReadable)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows names ignore case and have no read permission bits; the attribute "
                    "filter test covers Windows";
#else
    TempDir dir;
    dir.touch("Upper.LNG");
    dir.touch("Locked.lng");
    dir.touch("Open.lng");
    std::filesystem::permissions(pathFromUtf8(dir.file("Locked.lng")), std::filesystem::perms::none);
    std::vector<std::string> expected = {"Open.lng"};
    // The super-user reads any file, so the locked one stays listed then.
    if (geteuid() == 0)
        expected.insert(expected.begin(), "Locked.lng");
    EXPECT_EQ(listLanguages(dir.utf8()), expected);
#endif
}

TEST(LanguageList, AttributeFilter)
{
    struct Case {
        std::uint32_t attributes;
        bool listed;
    };
    const Case cases[] = {
        {0x0080, true},                   // normal
        {0x0020, true},                   // archive
        {0x0026, true},                   // hidden, system, archive
        {0x2200, true},                   // sparse, not content indexed
        {0x0000, true},  {0x0021, false}, // read-only
        {0x0010, false},                  // directory
        {0x0120, false},                  // temporary
        {0x0820, false},                  // compressed
        {0x1020, false},                  // offline
        {0x4020, false},                  // encrypted
        {0x0420, false},                  // reparse point
    };
    for (const Case& c : cases)
        EXPECT_EQ(isListableLanguageAttributes(c.attributes), c.listed) << "attributes " << c.attributes;
}

TEST(LanguageList, Pages)
{
    struct Case {
        int count, page, pageCount;
        bool previous, next;
        int first, slots;
    };
    const Case cases[] = {
        {0, 1, 0, false, true, 0, 0}, // no languages: Next shown, without effect
        {1, 1, 1, false, false, 0, 1}, {6, 1, 1, false, false, 0, 6}, {7, 1, 2, false, true, 0, 6},
        {7, 2, 2, true, false, 6, 1},  {13, 2, 3, true, true, 6, 6},  {13, 3, 3, true, false, 12, 1},
    };
    for (const Case& c : cases) {
        const LanguagePage p = languagePage(c.count, c.page);
        SCOPED_TRACE(testing::Message() << c.count << " languages, page " << c.page);
        EXPECT_EQ(p.pageCount, c.pageCount);
        EXPECT_EQ(p.previousVisible, c.previous);
        EXPECT_EQ(p.nextVisible, c.next);
        EXPECT_EQ(p.first, c.first);
        EXPECT_EQ(p.slotCount, c.slots);
    }
}

TEST(LanguageList, TurningPages)
{
    EXPECT_EQ(turnLanguagePage(7, 1, true), 2);
    EXPECT_EQ(turnLanguagePage(7, 2, true), 2);
    EXPECT_EQ(turnLanguagePage(7, 2, false), 1);
    EXPECT_EQ(turnLanguagePage(7, 1, false), 1);
    EXPECT_EQ(turnLanguagePage(0, 1, true), 1);
}

TEST(LanguageList, NamesAndFlags)
{
    TempDir dir;
    EXPECT_EQ(languageNameOf("Deutsch.lng"), "Deutsch");
    EXPECT_EQ(flagPicturePath(dir.utf8(), "Deutsch"), "");
    dir.touch("DefaultFlag.bmp");
    EXPECT_EQ(flagPicturePath(dir.utf8(), "Deutsch"), dir.file("DefaultFlag.bmp"));
    dir.touch("Deutsch.bmp");
    EXPECT_EQ(flagPicturePath(dir.utf8(), "Deutsch"), dir.file("Deutsch.bmp"));
}

TEST(LanguageList, Question)
{
    UiTexts texts;
    EXPECT_EQ(languageQuestion(texts, "English", "Deutsch"),
              "Do you want to change the Language from English to Deutsch?");
}

// The toolkit's own texts follow the shipped languages only; a user's own language file and
// English keep them English, and a near-miss name must not pick a locale.
TEST(ToolkitLocale, MapsTheShippedLanguagesOnly)
{
    struct Case {
        const char* name;
        const char* locale;
    };
    const Case cases[] = {
        {"Italiano", "it"},
        {"Deutsch", "de"},
        {"Fran\xC3\xA7"
         "ais",
         "fr"},
        {"Francais", "fr"},
        // File names on Windows ignore case, so the language names do too.
        {"DEUTSCH", "de"},
        {"italiano", "it"},
        {"FRAN\xC3\x87"
         "AIS",
         "fr"},
        {"English", ""},
        {"", ""},
        // A user's own language, and names that only resemble a shipped one.
        {"Espa\xC3\xB1ol", ""},
        {"Deutsch2", ""},
        {" Deutsch", ""},
        {"Ital", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toolkitLocaleOf(c.name), c.locale) << c.name;
}

} // namespace

} // namespace setforge
