#include <gtest/gtest.h>

#include "core/image/compileimages.h"
#include "imagetestproject.h"

namespace setforge {

namespace {

using Bytes = std::vector<std::uint8_t>;

struct CompileRun {
    CompiledImages images;
    std::vector<std::string> messages;
};

CompileRun compile(const TempProject& project)
{
    CompileRun run;
    run.images =
        compileImages(project.files(), [&run](const CompileMessage& m) { run.messages.push_back(m.text); });
    return run;
}

// The worked example of the byte-slot numbering, as the whole bank.bin: slots are numbered
// across messages in first-met order, the low part first, shared within one message only.
TEST(EmcyLists, SlotExampleWordForWord)
{
    TempProject project;
    project.table("emcydef.xml", "EMCY",
                  "<row ID_EMCY=\"5\" EMCY_Error_Code=\"0x8130\" Error_Register=\"0x11\" Mnemonic=\"\"/>"
                  "<row ID_EMCY=\"6\" EMCY_Error_Code=\"0x1000\" Error_Register=\"1\" Mnemonic=\"\"/>");
    project.table(
        "emcyword.xml", "EMCY_Word",
        "<EMCY_ROW><Dati Dati_Word=\"100\" Dati_Byte=\"18\"/><Dati Dati_Word=\"101\" Dati_Byte=\"32\"/>"
        "</EMCY_ROW><EMCY_ROW><Dati Dati_Word=\"200\" Dati_Byte=\"17\"/></EMCY_ROW>");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    const Bytes expected = {// header: SDO 32, EMCY 32, EMCY words 51, then 69 for the four empty sections and
                            // the absent parameters
                            0x20, 0, 0, 0, 0x20, 0, 0, 0, 0x33, 0, 0, 0, 0x45, 0, 0, 0, 0x45, 0, 0, 0, 0x45,
                            0, 0, 0, 0x45, 0, 0, 0, 0x45, 0, 0, 0,
                            // message 0: COB 5, code 0x8130 LE, register 0x11, 2 words: (0, 0x12), (1, 0x20)
                            0x05, 0x30, 0x81, 0x11, 0x02, 0x00, 0x00, 0x12, 0x01, 0x00, 0x20,
                            // message 1: COB 6, code 0x1000, register 1, 1 word: (2, 0x11)
                            0x06, 0x00, 0x10, 0x01, 0x01, 0x02, 0x00, 0x11,
                            // EmcyWord: {100, hi 1, lo 0}, {101, hi 0, lo none}, {200, hi 2, lo 2}
                            0x64, 0x00, 0x01, 0x00, 0x00, 0x00, 0x65, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xC8,
                            0x00, 0x02, 0x00, 0x02, 0x00};
    EXPECT_EQ(run.images.plain.bytes, expected);
    EXPECT_EQ(run.images.plain.counts[1], 2u);
    EXPECT_EQ(run.images.plain.counts[2], 3u);
}

TEST(EmcyLists, SharedSlotsEmptyMessagesAndSurplusRows)
{
    TempProject project;
    project.table("emcydef.xml", "EMCY",
                  "<row ID_EMCY=\" 5\" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>"
                  "<row ID_EMCY=\"6\" EMCY_Error_Code=\"2\" Error_Register=\"2\"/>"
                  "<row ID_EMCY=\"7\" EMCY_Error_Code=\"3\" Error_Register=\"3\"/>");
    // Selector 0 takes no slot; the same selector twice shares both slots; an EMCY_ROW without
    // words is a 5-byte record; the third emergency has no EMCY_ROW and is left out.
    project.table(
        "emcyword.xml", "EMCY_Word",
        "<EMCY_ROW><Dati Dati_Word=\"1\" Dati_Byte=\"0\"/><Dati Dati_Word=\"2\" Dati_Byte=\"0x34\"/>"
        "<Dati Dati_Word=\"3\" Dati_Byte=\"52\"/></EMCY_ROW><EMCY_ROW/>");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    const Bytes& image = run.images.plain.bytes;
    const Bytes emcy(image.begin() + 32, image.begin() + 32 + 14 + 5);
    EXPECT_EQ(emcy, (Bytes{0x05, 0x01, 0x00, 0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x34, 0x02, 0x00, 0x34,
                           0x06, 0x02, 0x00, 0x02, 0x00}));
    const Bytes words(image.begin() + 51, image.begin() + 51 + 18);
    EXPECT_EQ(words, (Bytes{0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03,
                            0x00, 0x01, 0x00, 0x00, 0x00}));
}

TEST(EmcyLists, MissingWordFileIsAnnounced)
{
    TempProject project;
    project.table("emcydef.xml", "EMCY", "<row ID_EMCY=\"5\" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>");
    const CompileRun run = compile(project);
    ASSERT_TRUE(run.images.ok);
    ASSERT_FALSE(run.messages.empty());
    EXPECT_EQ(run.messages[0], "File EMCY Word xml not found");
    EXPECT_EQ(run.images.plain.counts[1], 0u);
}

// Values the device cannot take stop the whole update, with the text named; nothing is written.
TEST(EmcyLists, InvalidValuesStopTheUpdate)
{
    const struct {
        const char* def;
        const char* words;
        const char* message;
    } cases[] = {
        {"<row ID_EMCY=\"5 \" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>", "<EMCY_ROW/>",
         "Invalid number \"5 \" for ID_EMCY in emcydef.xml"},
        {"<row ID_EMCY=\"5\" EMCY_Error_Code=\"\" Error_Register=\"1\"/>", "<EMCY_ROW/>",
         "Invalid number \"\" for EMCY_Error_Code in emcydef.xml"},
        {"<row ID_EMCY=\"5\" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>",
         "<EMCY_ROW><Dati Dati_Word=\"abc\" Dati_Byte=\"1\"/></EMCY_ROW>",
         "Invalid number \"abc\" for Dati_Word in emcyword.xml"},
        // A sixth byte would index past the five bytes an emergency carries.
        {"<row ID_EMCY=\"5\" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>",
         "<EMCY_ROW><Dati Dati_Word=\"1\" Dati_Byte=\"22\"/></EMCY_ROW>",
         "Invalid byte selector 0x16 (22) in emcyword.xml: an emergency offers bytes 1 to 5 only"},
        {"<row ID_EMCY=\"5\" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>",
         "<EMCY_ROW><Dati Dati_Word=\"1\" Dati_Byte=\"0x61\"/></EMCY_ROW>",
         "Invalid byte selector 0x61 (0x61) in emcyword.xml: an emergency offers bytes 1 to 5 only"},
    };
    for (const auto& c : cases) {
        TempProject project;
        project.table("emcydef.xml", "EMCY", c.def);
        project.table("emcyword.xml", "EMCY_Word", c.words);
        std::vector<std::string> messages;
        EXPECT_FALSE(compileAndWriteImages(
            project.dir(), [&messages](const CompileMessage& m) { messages.push_back(m.text); }));
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back(), c.message);
        EXPECT_FALSE(pathExists(joinPath(project.dir(), "bin")));
    }
}

TEST(EmcyLists, MoreThan255WordsStopTheUpdate)
{
    TempProject project;
    project.table("emcydef.xml", "EMCY", "<row ID_EMCY=\"5\" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>");
    std::string words;
    for (int i = 0; i < 256; ++i)
        words += "<Dati Dati_Word=\"" + std::to_string(i) + "\" Dati_Byte=\"1\"/>";
    project.table("emcyword.xml", "EMCY_Word", "<EMCY_ROW>" + words + "</EMCY_ROW>");
    const CompileRun run = compile(project);
    EXPECT_FALSE(run.images.ok);
    EXPECT_EQ(run.messages.back(), "Too many words for emergency 1 in emcyword.xml: 256 (at most 255)");
}

} // namespace

} // namespace setforge
