#include "core/base/paths.h"
#include "core/lang/defaulttexts.h"
#include "core/lang/languagefile.h"
#include "core/lang/uitexts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

// The language files and flag pictures that ship in the workspace's LANGUAGE
// directory, read through the same loader the program uses.

namespace setforge {

namespace {

const std::string kLanguageDir = SETFORGE_SOURCE_DIR "/workspace/LANGUAGE";

// Marks an entry the language file did not touch; no shipped text can look like this.
const std::string kUntouched = "\x01untouched\x01";

struct Language {
    const char* name;     // file name without ".lng" (UTF-8)
    const char* testName; // plain-ASCII name for the test list
};

const Language kLanguages[] = {
    {"Italiano", "Italiano"},
    {"Deutsch", "Deutsch"},
    {"Fran\xC3\xA7"
     "ais",
     "Francais"},
};

// Names the case in failure messages instead of dumping the struct's bytes.
void PrintTo(const Language& language, std::ostream* os)
{
    *os << language.testName;
}

std::string languageFile(const Language& language)
{
    return joinPath(kLanguageDir, std::string(language.name) + ".lng");
}

std::string readBytes(const std::string& path)
{
    const Result<std::string> read = readWholeFile(path);
    EXPECT_TRUE(read) << path << ": " << read.error().text;
    return read ? *read : std::string();
}

// The table after applying the file on top of a table where every entry is kUntouched.
UiTexts loadOverSentinel(const Language& language)
{
    UiTexts texts;
    for (int i = 0; i < UiTexts::kCount; ++i)
        texts.set(i, kUntouched);
    EXPECT_TRUE(applyLanguageFile(texts, languageFile(language))) << languageFile(language);
    return texts;
}

int countMarks(std::string_view text)
{
    int count = 0;
    for (std::size_t pos = text.find("!!"); pos != std::string_view::npos; pos = text.find("!!", pos + 2))
        ++count;
    return count;
}

bool blank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::size_t leadingBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? text.size() : first;
}

std::size_t trailingBlanks(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? text.size() : text.size() - 1 - last;
}

class ShippedLanguage : public ::testing::TestWithParam<Language> {};

TEST_P(ShippedLanguage, IsUtf8WithByteOrderMarkCrLfAndAHeaderLine)
{
    const std::string bytes = readBytes(languageFile(GetParam()));
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");

    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
    EXPECT_EQ(bytes.find("/#/"), std::string::npos) << "a text would lose its end to a remark";
    // The first line is a header the loader skips, not a text.
    EXPECT_NE(bytes.substr(3, 3), "STR");
}

TEST_P(ShippedLanguage, SetsExactlyTheIndexesThatHaveAnEnglishText)
{
    const UiTexts texts = loadOverSentinel(GetParam());
    std::set<int> expected;
    for (std::size_t i = 0; i < kDefaultTextCount; ++i)
        expected.insert(kDefaultTexts[i].index);
    std::set<int> set;
    for (int i = 0; i < UiTexts::kCount; ++i) {
        if (texts[i] != kUntouched)
            set.insert(i);
    }
    EXPECT_EQ(set.size(), kDefaultTextCount);
    for (int index : expected)
        EXPECT_TRUE(set.count(index)) << "index " << index << " is not set";
    for (int index : set)
        EXPECT_TRUE(expected.count(index)) << "index " << index << " has no English text";
}

TEST_P(ShippedLanguage, KeepsTheShapeOfEveryEnglishText)
{
    const UiTexts texts = loadOverSentinel(GetParam());
    for (std::size_t i = 0; i < kDefaultTextCount; ++i) {
        const int index = kDefaultTexts[i].index;
        const std::string_view english = kDefaultTexts[i].text;
        const std::string& text = texts[index];
        SCOPED_TRACE("index " + std::to_string(index) + ": \"" + text + "\"");
        if (text == kUntouched)
            continue; // reported by the test of the indexes
        if (!blank(english)) {
            EXPECT_FALSE(blank(text));
        }
        // Prefixes such as "Error row " are joined to a number without a blank of their own.
        EXPECT_GE(leadingBlanks(text), leadingBlanks(english));
        EXPECT_GE(trailingBlanks(text), trailingBlanks(english));
        EXPECT_GE(countMarks(text), countMarks(english));
        if (english.substr(0, 2) == "!!") {
            EXPECT_EQ(text.substr(0, 2), "!!") << "a check message follows the row number directly";
        }
        EXPECT_EQ(text.find('\r'), std::string::npos);
        EXPECT_EQ(text.find('\n'), std::string::npos);
    }
}

// A tooltip that names a column or a byte list uses the caption the language shows there.
TEST_P(ShippedLanguage, TooltipsNameColumnsByTheirTranslatedCaptions)
{
    const UiTexts texts = loadOverSentinel(GetParam());
    const UiTexts english;
    const auto trimmed = [](std::string text) {
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        return text;
    };
    struct Case {
        int tip;
        int caption;
        const char* suffix; // added to the caption as the tip names it ("Byte" + " 1")
    };
    const Case kCases[] = {
        {152, 514, ""},   // SDO Hi Byte: NByte
        {153, 514, ""},   // SDO Lo Byte: NByte
        {171, 1112, ""},  // On Timer: Timer (ms)
        {172, 1111, ""},  // Timer: On Timer
        {173, 822, " 1"}, // emergency bytes: Byte 1
    };
    for (const Case& c : kCases) {
        const std::string englishCaption = trimmed(english[c.caption]) + c.suffix;
        const std::string caption = trimmed(texts[c.caption]) + c.suffix;
        ASSERT_NE(english[c.tip].find(englishCaption), std::string::npos) << c.tip;
        EXPECT_NE(texts[c.tip].find(caption), std::string::npos) << c.tip << ": " << texts[c.tip];
        if (caption != englishCaption) {
            EXPECT_EQ(texts[c.tip].find(englishCaption), std::string::npos) << c.tip << ": " << texts[c.tip];
        }
    }
}

// The update dialog's status line: the updater (the program) ended, not the update, and the
// seconds stay on the line of their number.
TEST_P(ShippedLanguage, UpdaterStatusSaysTheUpdaterEndedAndKeepsSecondsWithTheirNumber)
{
    const UiTexts texts = loadOverSentinel(GetParam());
    const UiTexts english;
    for (const UiTexts* table : {&texts, &english}) {
        for (const int index : {1362, 1363, 1364}) {
            const std::string& text = (*table)[index];
            SCOPED_TRACE(std::to_string(index) + ": " + text);
            EXPECT_NE(text.find("pdater"), std::string::npos);
            for (const char* finished : {"Aggiornamento terminato", "Mise \xC3\xA0 jour termin"})
                EXPECT_EQ(text.find(finished), std::string::npos);
            for (std::size_t pos = text.find(" s"); pos != std::string::npos;
                 pos = text.find(" s", pos + 1)) {
                const bool unit = pos + 2 == text.size() || text[pos + 2] == ' ';
                EXPECT_FALSE(unit && pos > 0 &&
                             (std::isdigit(static_cast<unsigned char>(text[pos - 1])) ||
                              text.compare(pos - 2, 2, "%1") == 0))
                    << "a breakable blank before the unit at " << pos;
            }
            if (index != 1362) {
                EXPECT_NE(text.find("\xC2\xA0s"), std::string::npos) << "no no-break space before the unit";
            }
        }
    }
}

TEST_P(ShippedLanguage, LoadsByItsLanguageName)
{
    const Language& language = GetParam();
    const UiTexts expected = loadOverSentinel(language);
    UiTexts texts;
    EXPECT_EQ(loadLanguage(texts, kLanguageDir, language.name), language.name);
    for (std::size_t i = 0; i < kDefaultTextCount; ++i) {
        const int index = kDefaultTexts[i].index;
        EXPECT_EQ(texts[index], expected[index]) << "index " << index;
    }
    // A translated table, not the English one under another name.
    int translated = 0;
    for (std::size_t i = 0; i < kDefaultTextCount; ++i) {
        if (texts[kDefaultTexts[i].index] != kDefaultTexts[i].text)
            ++translated;
    }
    EXPECT_GT(translated, 300);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguage, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return std::string(info.param.testName);
                         });

std::uint32_t readLe(const std::string& bytes, std::size_t offset, int size)
{
    std::uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(k)]);
    return value;
}

TEST(ShippedFlags, EachLanguageAndTheDefaultHaveA24BitBitmap)
{
    const std::string names[] = {"Italiano.bmp", "Deutsch.bmp",
                                 "Fran\xC3\xA7"
                                 "ais.bmp",
                                 "DefaultFlag.bmp"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string path = joinPath(kLanguageDir, name);
        ASSERT_TRUE(isRegularFile(path));
        const std::string bytes = readBytes(path);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(readLe(bytes, 2, 4), bytes.size()) << "declared file size";
        EXPECT_EQ(readLe(bytes, 14, 4), 40u) << "info header size";
        EXPECT_EQ(readLe(bytes, 28, 2), 24u) << "bits per pixel";
        const std::uint32_t width = readLe(bytes, 18, 4);
        const std::uint32_t height = readLe(bytes, 22, 4);
        const std::uint32_t rowSize = (width * 3 + 3) / 4 * 4;
        EXPECT_EQ(readLe(bytes, 10, 4) + rowSize * height, bytes.size()) << "pixel data fills the file";
    }
}

} // namespace

} // namespace setforge
