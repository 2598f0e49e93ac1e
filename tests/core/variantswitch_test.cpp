#include "core/image/variantswitch.h"

#include <gtest/gtest.h>

#include <string>

#include "core/lang/uitexts.h"
#include "imagetestproject.h"

namespace setforge {

namespace {

// Three receive PDOs (time-out blank, 500, 0) and three transmit PDOs: row 1 with Address
// Start 100 and no trigger, row 2 without Address Start and On Timer ticked, row 3 with
// Address Start 200 and already mapped.
void writeProject(const TempProject& project)
{
    project.table(
        "rpdodef.xml", "rpdodef",
        R"(<row cobid="0x181" dimension="2" TimeOut=""/><row cobid="0x182" dimension="2" TimeOut="500"/>)"
        R"(<row cobid="0x183" dimension="2" TimeOut="0"/>)");
    project.table("Transmit_Pdo.xml", "Trasmit_PDO",
                  R"(<row COB-ID="0x201" Dimension="4" SMA="100" OnChange="N" OnTimer="N"/>)"
                  R"(<row COB-ID="0x202" Dimension="2" SMA="" OnChange="N" OnTimer="Y" Timer="100"/>)"
                  R"(<row COB-ID="0x203" Dimension="2" SMA="200" OnChange="Y" OnTimer="N"/>)");
    project.table("Transmit_PDO_Define.xml", "Transmit_PDO_Define",
                  R"(<row Index="200" NrPdo="3" PosComp="33" Send_on_Write="0"/>)");
}

TEST(VariantSwitch, NamesWhatTheNewVariantNeedsAndHides)
{
    TempProject project;
    writeProject(project);
    UiTexts texts;
    const std::string toEthernet = "The device type changes.\n\nThe new variant needs:\n"
                                   "- Receive PDO time-outs (Set Receive PDO, TimeOut): rows 1\n"
                                   "- Transmit triggers (Set Transmit PDO, On Change / On Timer): rows 1\n"
                                   "- The transmit mapping (Define Transmit PDO Frames): rows 1, 2\n\n"
                                   "The new variant hides (the values stay in the files):\n"
                                   "- Address Start values (Set Transmit PDO): rows 1, 3";
    const std::string toSerial = "The device type changes.\n\nThe new variant needs:\n"
                                 "- Address Start values (Set Transmit PDO): rows 2\n\n"
                                 "The new variant hides (the values stay in the files):\n"
                                 "- Receive PDO time-outs (Set Receive PDO, TimeOut): rows 2\n"
                                 "- Transmit triggers (Set Transmit PDO, On Change / On Timer): rows 2, 3\n"
                                 "- The transmit mapping (Define Transmit PDO Frames): rows 3";
    struct Case {
        int from, to;
        const std::string& text;
        bool offersMapping; // row 1's block at 100 is unmapped; row 3 is mapped already
    };
    const std::string none;
    const Case kCases[] = {
        {0, 1, toEthernet, true},
        {1, 0, toSerial, false},
        // The tables read only 1 as the Ethernet variant: 2 shows what 0 shows.
        {2, 1, toEthernet, true},
        {0, 2, none, false},
        {1, 1, none, false},
    };
    for (const Case& c : kCases) {
        ProjectDocuments docs(project.files());
        const VariantSwitchNotice notice = variantSwitchNotice(docs, c.from, c.to, texts);
        EXPECT_EQ(notice.text, c.text) << c.from << " -> " << c.to;
        EXPECT_EQ(notice.offersMapping, c.offersMapping) << c.from << " -> " << c.to;
    }
}

TEST(VariantSwitch, OffersMappingOnlyForUnmappedBlocksAndCutsLongRowLists)
{
    TempProject project;
    std::string rows;
    for (int i = 0; i < 14; ++i)
        rows += R"(<row COB-ID="0x201" Dimension="2" SMA="" OnChange="N" OnTimer="N"/>)";
    project.table("Transmit_Pdo.xml", "Trasmit_PDO", rows);
    UiTexts texts;
    ProjectDocuments docs(project.files());
    const VariantSwitchNotice notice = variantSwitchNotice(docs, 0, 1, texts);
    EXPECT_FALSE(notice.offersMapping);
    EXPECT_NE(notice.text.find("On Timer): rows 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, ...\n"),
              std::string::npos)
        << notice.text;
    // No receive PDO file: the item is listed without rows.
    EXPECT_NE(notice.text.find("TimeOut)\n"), std::string::npos) << notice.text;
}

} // namespace

} // namespace setforge
