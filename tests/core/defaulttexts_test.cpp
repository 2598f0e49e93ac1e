#include "core/lang/defaulttexts.h"

#include <gtest/gtest.h>

#include <string>

namespace setforge {

namespace {

// Index ranges that carry a built-in text, one per window block.
struct IndexRange {
    int first;
    int last;
};
constexpr IndexRange kRanges[] = {
    {0, 33},      {100, 110},   {150, 173},   {200, 207},   {250, 259},   {300, 321},   {400, 493},
    {500, 526},   {600, 624},   {700, 715},   {800, 822},   {900, 915},   {1000, 1022}, {1100, 1121},
    {1200, 1225}, {1300, 1315}, {1340, 1348}, {1360, 1364}, {1365, 1383}, {1400, 1405}, {1410, 1413},
    {1420, 1425}, {1440, 1489}, {1500, 1553}, {1556, 1558}, {1580, 1596},
};

const char* findText(int index)
{
    for (std::size_t i = 0; i < kDefaultTextCount; ++i) {
        if (kDefaultTexts[i].index == index)
            return kDefaultTexts[i].text;
    }
    return nullptr;
}

bool inSomeRange(int index)
{
    for (const auto& r : kRanges) {
        if (index >= r.first && index <= r.last)
            return true;
    }
    return false;
}

TEST(DefaultTexts, IndexesStrictlyIncreaseAndLieInTheBlockRanges)
{
    for (std::size_t i = 0; i < kDefaultTextCount; ++i) {
        EXPECT_TRUE(inSomeRange(kDefaultTexts[i].index)) << "index " << kDefaultTexts[i].index;
        if (i > 0) {
            EXPECT_LT(kDefaultTexts[i - 1].index, kDefaultTexts[i].index) << "at entry " << i;
        }
    }
}

TEST(DefaultTexts, EveryRangeIsComplete)
{
    for (const auto& r : kRanges) {
        for (int index = r.first; index <= r.last; ++index) {
            EXPECT_NE(findText(index), nullptr) << "missing index " << index;
        }
    }
}

TEST(DefaultTexts, NoTextIsEmptyOrOnlyBlanks)
{
    for (std::size_t i = 0; i < kDefaultTextCount; ++i) {
        ASSERT_NE(kDefaultTexts[i].text, nullptr) << "index " << kDefaultTexts[i].index;
        const std::string text = kDefaultTexts[i].text;
        EXPECT_NE(text.find_first_not_of(" \t\r\n"), std::string::npos) << "index " << kDefaultTexts[i].index;
    }
}

TEST(DefaultTexts, SpotTextsAreExact)
{
    struct Case {
        int index;
        const char* text;
    };
    const Case cases[] = {
        {9, "None Configuration Opened "},
        {11, "Opened Configuration of the Converter : "},
        {18, "Error! Project not Valid"},
        {105, "Error! Name project is not valid"},
        {202, "List of Avaliable Configurations"},
        {306, " / "},
        {400, "Set Communication"},
        {422, "SDO Client TimeOut (1/10 millisecons)"},
        {478, "Error Ethernet!! IP Address 4 must be between 0 and 255"},
        {489, "Do you want to exit without saving changes?"},
        {516, "Error row "},
        {523, "!! Index must be between 0x1000 and 0xFFFF"},
        {621, "!! Index must be between 0x2000 and 0x5FFF"},
        {803, "ID               Code           Register"},
        {1003, "Cob-ID        Dimension"},
        {1119, "!! Address is already used "},
        {1203, "Cob-ID          Dimension"},
        {1225, "Byte "},
        {1314, "!! Life Time Factor must be between 1 and 255 ms"},
        {1404, "Error! Please set the Set Communication Parameter before to create the GSD file"},
        {1529, "Serch Telvora Device in Network"},
        {1537, "Error!!! Check the Ip Address"},
    };
    for (const auto& c : cases) {
        const char* text = findText(c.index);
        ASSERT_NE(text, nullptr) << "index " << c.index;
        EXPECT_EQ(std::string(text), std::string(c.text)) << "index " << c.index;
    }
}

// Every table dialog lays out its block the same way from its first index:
// caption, description, four buttons, the column titles starting with "N",
// the row-error prefix, the check messages and the delete question last.
TEST(DefaultTexts, TableDialogBlocksFollowTheCommonLayout)
{
    struct Block {
        int first;
        int last;
        int columns;
    };
    const Block blocks[] = {
        {500, 526, 10},  // SDO access
        {600, 624, 9},   // server SDO access
        {700, 715, 5},   // emergency access
        {900, 915, 5},   // receive PDO
        {1100, 1121, 8}, // transmit PDO
        {1300, 1315, 5}, // node guarding
    };
    for (const auto& b : blocks) {
        SCOPED_TRACE(b.first);
        const struct {
            int index;
            const char* text;
        } fixed[] = {
            {b.first + 2, "OK"},
            {b.first + 3, "Cancel"},
            {b.first + 4, "Delete Row"},
            {b.first + 5, "Insert Row"},
            {b.first + 6, "N"},
            {b.first + 6 + b.columns, "Error row "},
            {b.last, "Are you sure to delete the Row number "},
        };
        for (const auto& f : fixed) {
            const char* text = findText(f.index);
            ASSERT_NE(text, nullptr) << "index " << f.index;
            EXPECT_EQ(std::string(text), std::string(f.text)) << "index " << f.index;
        }
        for (int index = b.first + 7 + b.columns; index < b.last; ++index) {
            const char* text = findText(index);
            ASSERT_NE(text, nullptr) << "index " << index;
            EXPECT_EQ(std::string(text).rfind("!!", 0), 0u) << "check message " << index;
        }
    }
}

} // namespace

} // namespace setforge
