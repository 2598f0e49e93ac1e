#include "core/lang/languagefolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/base/paths.h"
#include "core/lang/languagefile.h"
#include "core/lang/uitexts.h"
#include "testutil.h"

namespace setforge {

namespace {

// The workspace's LANGUAGE folder and the shipped one of an installed program.
struct Folders {
    TempDir dir;
    std::string own = pathToUtf8(dir.path() / "own");
    std::string shipped = pathToUtf8(dir.path() / "shipped");
    Folders()
    {
        std::filesystem::create_directory(pathFromUtf8(own));
        std::filesystem::create_directory(pathFromUtf8(shipped));
    }
    void put(const std::string& folder, const std::string& name, const std::string& content)
    {
        writeTestFile(joinPath(folder, name), content);
    }
};

TEST(LanguageFolders, ListsBothFoldersOnceEach)
{
    Folders f;
    f.put(f.shipped, "Deutsch.lng", "");
    f.put(f.shipped, "Italiano.lng", "");
    f.put(f.own, "Deutsch.lng", "");
    f.put(f.own, "Plant.lng", "");
    f.put(f.own, "english.lng", "");
    const std::vector<std::string> expected = {"Deutsch.lng", "english.lng", "Italiano.lng", "Plant.lng"};
    EXPECT_EQ(LanguageFolders(f.own, f.shipped).fileNames(), expected);
    // A portable copy has the workspace's folder alone.
    const std::vector<std::string> own = {"Deutsch.lng", "english.lng", "Plant.lng"};
    EXPECT_EQ(LanguageFolders(f.own).fileNames(), own);
    // A shipped folder that is not there adds nothing.
    EXPECT_EQ(LanguageFolders(f.own, f.shipped + "-missing").fileNames(), own);
}

TEST(LanguageFolders, TheUsersFileWins)
{
    Folders f;
    f.put(f.shipped, "Deutsch.lng", "header\nSTR0 = Anfang\n");
    f.put(f.own, "Deutsch.lng", "header\nSTR0 = Beginn\n");
    f.put(f.shipped, "Italiano.lng", "header\nSTR0 = Inizio\n");
    const LanguageFolders folders(f.own, f.shipped);
    struct Case {
        const char* language;
        const char* expectedName;
        const char* expectedText;
    };
    const Case kCases[] = {
        {"Deutsch", "Deutsch", "Beginn"},
        {"Italiano", "Italiano", "Inizio"},
        {"Klingon", "English", "Begin"},
    };
    for (const Case& c : kCases) {
        UiTexts texts;
        EXPECT_EQ(loadLanguage(texts, folders, c.language), c.expectedName) << c.language;
        EXPECT_EQ(texts[0], c.expectedText) << c.language;
    }
    // English.lng is looked for in the shipped folder too when a language is missing.
    f.put(f.shipped, "English.lng", "header\nSTR0 = Start here\n");
    UiTexts texts;
    EXPECT_EQ(loadLanguage(texts, folders, "Klingon"), "English");
    EXPECT_EQ(texts[0], "Start here");
}

TEST(LanguageFolders, FlagPictures)
{
    Folders f;
    f.put(f.shipped, "Deutsch.bmp", "BM");
    f.put(f.shipped, "DefaultFlag.bmp", "BM");
    f.put(f.own, "Plant.bmp", "BM");
    const LanguageFolders folders(f.own, f.shipped);
    EXPECT_EQ(folders.flagPicture("Deutsch"), joinPath(f.shipped, "Deutsch.bmp"));
    EXPECT_EQ(folders.flagPicture("Plant"), joinPath(f.own, "Plant.bmp"));
    EXPECT_EQ(folders.flagPicture("Italiano"), joinPath(f.shipped, "DefaultFlag.bmp"));
    f.put(f.own, "Deutsch.bmp", "BM");
    EXPECT_EQ(folders.flagPicture("Deutsch"), joinPath(f.own, "Deutsch.bmp"));
    EXPECT_EQ(LanguageFolders(f.own).flagPicture("Italiano"), "");
}

} // namespace

} // namespace setforge
