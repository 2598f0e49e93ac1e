#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/image/binarylayout.h"
#include "core/image/tablearea.h"

namespace setforge {

namespace {

using FT = FieldType;

// Three fields with a gap at byte 3, so a zeroed record and a refused one look different.
constexpr Field kFields[] = {{"a", 0, FT::U16LE}, {"b", 2, FT::U8}, {"c", 4, FT::U32BE}};
constexpr RecordLayout kRecord{"test record", kFields, 8};

struct CountCase {
    const char* what;
    std::initializer_list<std::uint32_t> values;
    bool accepted;
};

// One value too few used to leave the last field 0, one too many was dropped silently; both
// hide a value written into the wrong field, so both are refused now.
const CountCase kCountCases[] = {
    {"exact", {0x0102, 0x03, 0x04050607}, true},
    {"one too few", {0x0102, 0x03}, false},
    {"one too many", {0x0102, 0x03, 0x04050607, 9}, false},
    {"none", {}, false},
};

TEST(BinaryLayout, PutRecordRefusesAWrongNumberOfValues)
{
    for (const CountCase& c : kCountCases) {
        std::array<std::uint8_t, 8> bytes;
        bytes.fill(0xAA);
        EXPECT_EQ(putRecord(bytes.data(), kRecord, c.values), c.accepted) << c.what;
        const std::array<std::uint8_t, 8> expected =
            c.accepted ? std::array<std::uint8_t, 8>{0x02, 0x01, 0x03, 0, 0x04, 0x05, 0x06, 0x07}
                       : std::array<std::uint8_t, 8>{0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
        EXPECT_EQ(bytes, expected) << c.what;

        std::vector<std::uint8_t> out = {0x55};
        EXPECT_EQ(appendRecord(out, kRecord, c.values), c.accepted) << c.what;
        EXPECT_EQ(out.size(), c.accepted ? 9u : 1u) << c.what;
    }
}

TEST(BinaryLayout, TableAreaRefusesAnEntryWithAWrongNumberOfValues)
{
    TableArea area;
    // The node guarding entry has three fields.
    EXPECT_FALSE(area.append(BankTable::NodeGuarding, {100, 5}));
    EXPECT_FALSE(area.append(BankTable::NodeGuarding, {100, 5, 3, 1}));
    EXPECT_EQ(area.wanted(BankTable::NodeGuarding), 0u);
    EXPECT_TRUE(area.append(BankTable::NodeGuarding, {100, 5, 3}));
    EXPECT_EQ(area.count(BankTable::NodeGuarding), 1u);
    const std::size_t at = tableLayout(BankTable::NodeGuarding).offset;
    EXPECT_EQ(area.bytes()[at], 100);
    EXPECT_EQ(area.bytes()[at + 2], 5);
    EXPECT_EQ(area.bytes()[at + 3], 3);
}

struct FitCase {
    const char* what;
    std::vector<Field> fields;
    std::size_t size;
    bool fits;
};

TEST(BinaryLayout, FieldsFitRecordFindsOverflowAndOverlap)
{
    const FitCase cases[] = {
        {"side by side", {{"a", 0, FT::U16LE}, {"b", 2, FT::U16BE}}, 4, true},
        {"last byte past the end", {{"a", 0, FT::U16LE}, {"b", 2, FT::U32LE}}, 5, false},
        {"overlap by one byte", {{"a", 0, FT::U32LE}, {"b", 3, FT::U8}}, 8, false},
        {"same offset", {{"a", 1, FT::U8}, {"b", 1, FT::U8}}, 2, false},
        {"later field overlaps an earlier one", {{"b", 4, FT::U16LE}, {"a", 3, FT::U16LE}}, 8, false},
    };
    for (const FitCase& c : cases)
        EXPECT_EQ(fieldsFitRecord(c.fields, c.size), c.fits) << c.what;
}

} // namespace

} // namespace setforge
