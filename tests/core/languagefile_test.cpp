#include <gtest/gtest.h>

#include "core/lang/languagefile.h"
#include "core/lang/uitexts.h"
#include "testutil.h"

namespace setforge {

namespace {

struct LineCase {
    const char* line;
    int index;        // entry expected to change, or -1 when the line must change nothing
    const char* text; // its new text
};

// One line at a time on fresh defaults; each case says which entry it sets, if any.
const LineCase kLineCases[] = {
    {"STR0015 = New project", 15, "New project"},
    {"STR15=New project", 1, "New project"},  // the character before "=" is skipped
    {"   STR16 = Open it   ", 16, "Open it"}, // blanks around the line are ignored
    {"\tSTR16 = Open it\t", 16, "Open it"},
    {"str16 = Open it", -1, ""}, // lower case is not a text line
    {"STR1599 = Last", 1599, "Last"},
    {"STR1600 = Past the end", -1, ""},
    {"STR-1 = Negative", -1, ""},
    {"STR 0x10 = Hex index", 16, "Hex index"},
    {"STRabc = Not a number", -1, ""},
    {"STR15 New project", -1, ""},  // no "="
    {"STR15 = ", -1, ""},           // empty text
    {"STR15 = a=b=c", 15, "a=b=c"}, // only the first "=" separates
    {"STR15 = Text   /#/ a remark", 15, "Text"},
    {"STR15 = /#/ only a remark", -1, ""},
    {"STR9 = \xC2\xB6None open \xC2\xB6", 9, "None open "},
    {"STR9 = \xC2\xB6  both ends  \xC2\xB6 /#/ r", 9, "  both ends  "},
    {"STR9 = \xC2\xB6no closing", 9, "no closing"},
    {"STR9 = \xC2\xB6\xC2\xB6", 9, ""}, // two pilcrows: an empty text
    {"STR9 = text\xC2\xB6 cut here", 9, "text"},
    {"; STR15 = comment line", -1, ""},
    {"STR = no index", -1, ""},
};

TEST(LanguageFile, LineRules)
{
    for (const LineCase& c : kLineCases) {
        UiTexts texts;
        const UiTexts defaults;
        applyLanguageText(texts, c.line);
        for (int i = 0; i < UiTexts::kCount; ++i) {
            if (i == c.index) {
                EXPECT_EQ(texts[i], c.text) << "line: " << c.line;
            } else {
                EXPECT_EQ(texts[i], defaults[i]) << "line: " << c.line << " changed index " << i;
            }
        }
    }
}

TEST(LanguageFile, LineEndsAndLaterLinesWin)
{
    UiTexts texts;
    applyLanguageText(texts, "STR0 = A\r\nSTR1 = B\nSTR2 = C\rSTR3 = D\r\n\r\nSTR0 = E");
    EXPECT_EQ(texts[0], "E");
    EXPECT_EQ(texts[1], "B");
    EXPECT_EQ(texts[2], "C");
    EXPECT_EQ(texts[3], "D");
    EXPECT_EQ(texts[4], "Step 4");
}

struct EncodingCase {
    const char* name;
    std::string bytes;
};

TEST(LanguageFile, EncodingsGiveTheSameText)
{
    // "STR0 = Début" in every encoding the loader knows.
    const std::string utf8Body = "STR0 = D\xC3\xA9"
                                 "but\r\n";
    std::string utf16le = "\xFF\xFE";
    std::string utf16be = "\xFE\xFF";
    const char16_t body16[] = u"STR0 = D\u00E9but\r\n";
    for (const char16_t* p = body16; *p; ++p) {
        utf16le += static_cast<char>(*p & 0xFF);
        utf16le += static_cast<char>(*p >> 8);
        utf16be += static_cast<char>(*p >> 8);
        utf16be += static_cast<char>(*p & 0xFF);
    }
    const EncodingCase cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8Body},
        {"UTF-16 LE", utf16le},
        {"UTF-16 BE", utf16be},
        {"UTF-8 without mark", utf8Body},
        {"Windows-1252 without mark", std::string("STR0 = D\xE9"
                                                  "but\r\n")},
    };
    for (const EncodingCase& c : cases) {
        TempDir dir;
        writeTestFile(dir.file("Test.lng"), c.bytes);
        UiTexts texts;
        ASSERT_TRUE(applyLanguageFile(texts, dir.file("Test.lng"))) << c.name;
        EXPECT_EQ(texts[0], "D\xC3\xA9"
                            "but")
            << c.name;
    }
}

TEST(LanguageFile, Windows1252HighControlRange)
{
    // 0x80 is the euro sign in Windows-1252, not a C1 control.
    EXPECT_EQ(decodeTextFile("\x80 5"), "\xE2\x82\xAC 5");
}

TEST(LanguageFile, LoadLanguageFallsBackToEnglish)
{
    TempDir dir;
    UiTexts texts;
    writeTestFile(dir.file("Deutsch.lng"), "STR0 = Anfang\r\n");
    EXPECT_EQ(loadLanguage(texts, dir.utf8(), "Deutsch"), "Deutsch");
    EXPECT_EQ(texts[0], "Anfang");
    EXPECT_EQ(texts[15], "New Configuration"); // untouched entries keep English

    // A missing language: English, with English.lng applied when present.
    EXPECT_EQ(loadLanguage(texts, dir.utf8(), "Klingon"), "English");
    EXPECT_EQ(texts[0], "Begin");
    writeTestFile(dir.file("English.lng"), "STR0 = Start here\r\n");
    EXPECT_EQ(loadLanguage(texts, dir.utf8(), "Klingon"), "English");
    EXPECT_EQ(texts[0], "Start here");
}

TEST(LanguageFile, UnreadableFileLeavesDefaults)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "Broken.lng");
    UiTexts texts;
    EXPECT_FALSE(applyLanguageFile(texts, dir.file("Broken.lng")));
    EXPECT_EQ(texts[0], "Begin");
}

TEST(UiTextsTable, DefaultsAndBlanks)
{
    const UiTexts texts;
    EXPECT_EQ(texts[9], "None Configuration Opened ");
    EXPECT_EQ(texts[34], " ");
    EXPECT_EQ(texts[1599], " ");
    EXPECT_EQ(texts[1600], "");
    EXPECT_EQ(texts[-1], "");
}

} // namespace

} // namespace setforge
