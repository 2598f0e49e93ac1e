#include <gtest/gtest.h>

#include <string>

#include "core/image/imagedump.h"
#include "core/tables/sdoclienttable.h"

namespace setforge {

namespace {

struct ConfCase {
    unsigned conf;
    const char* text;
};

// The SDO save packs Hi Byte × 32 + 16 for ReadWrite + Lo Byte; the dump must take each part
// from its own bits, so every part is moved on its own at least once.
TEST(SdoConfText, SpellsOutEachPartOfTheConfByte)
{
    const ConfCase cases[] = {
        // Both bytes none, read-only: the all-zero conf.
        {0, "conf 0x00 (Hi Byte: none, Lo Byte: none, R/W: ReadOnly)"},
        // Demo's first row: Hi 2, Lo 1, read-only.
        {65, "conf 0x41 (Hi Byte: object byte 2, Lo Byte: object byte 1, R/W: ReadOnly)"},
        // Hi 4, Lo 4, read-write: the largest conf a saved row gives.
        {148, "conf 0x94 (Hi Byte: object byte 4, Lo Byte: object byte 4, R/W: ReadWrite)"},
        // R/W alone: bit 4 is neither byte.
        {16, "conf 0x10 (Hi Byte: none, Lo Byte: none, R/W: ReadWrite)"},
        // Lo alone and Hi alone, so a swap of the two shows.
        {3, "conf 0x03 (Hi Byte: none, Lo Byte: object byte 3, R/W: ReadOnly)"},
        {96, "conf 0x60 (Hi Byte: object byte 3, Lo Byte: none, R/W: ReadOnly)"},
        // 0x65 is Hi 3, read-only, Lo 5: not the Hi 2 / Lo 1 of the decimal conf "65".
        {0x65, "conf 0x65 (Hi Byte: object byte 3, Lo Byte: object byte 5, R/W: ReadOnly)"},
        // Bit 3 belongs to no cell; a hand-edited conf of 8 must not read as Lo Byte 8.
        {8, "conf 0x08 (Hi Byte: none, Lo Byte: none, R/W: ReadOnly, bit 3 set)"},
        // Every bit set: a hand-edited "255", which the table loads as 7, 7, ReadWrite.
        {255, "conf 0xFF (Hi Byte: object byte 7, Lo Byte: object byte 7, R/W: ReadWrite, bit 3 set)"},
    };
    for (const ConfCase& c : cases)
        EXPECT_EQ(sdoConfText(static_cast<std::uint8_t>(c.conf)), c.text) << "conf " << c.conf;
}

// The dump's split must be the exact inverse of what the SDO table saves.
TEST(SdoConfText, SplitIsTheInverseOfTheSave)
{
    for (unsigned hi = 0; hi <= 7; ++hi)
        for (unsigned lo = 0; lo <= 7; ++lo)
            for (const char* rw : {"ReadOnly", "ReadWrite", "readwrite"}) {
                const std::uint8_t conf = sdoConfByte(std::to_string(hi), std::to_string(lo), rw);
                const SdoConfParts parts = splitSdoConf(conf);
                EXPECT_EQ(parts.hiByte, hi) << conf;
                EXPECT_EQ(parts.loByte, lo) << conf;
                EXPECT_EQ(parts.readWrite, std::string(rw) != "ReadOnly") << conf;
                EXPECT_FALSE(parts.bit3) << conf;
            }
}

TEST(ByteChoiceText, NamesObjectFrameAndEmergencyBytesAndNone)
{
    struct Case {
        unsigned byte;
        SelectedBytes of;
        const char* text;
    };
    const Case cases[] = {
        {0, SelectedBytes::Object, "none"},
        {0, SelectedBytes::Frame, "none"},
        {2, SelectedBytes::Object, "object byte 2"},
        {1, SelectedBytes::Frame, "frame byte 1"},
        {8, SelectedBytes::Frame, "frame byte 8"},
        // The emergency editor's names: its bytes follow the 3 bytes of code and register.
        {0, SelectedBytes::Emergency, "none"},
        {1, SelectedBytes::Emergency, "EMCY byte 1 (message byte 4)"},
        {5, SelectedBytes::Emergency, "EMCY byte 5 (message byte 8)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(byteChoiceText(c.byte, c.of), c.text) << c.byte;
    EXPECT_EQ(byteSelectionText(2, 0, SelectedBytes::Frame), "Hi Byte: frame byte 2, Lo Byte: none");
}

} // namespace

} // namespace setforge
