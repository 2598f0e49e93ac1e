#include "core/report/findinglocation.h"

#include <gtest/gtest.h>

#include "core/lang/uitexts.h"

namespace setforge {

namespace {

struct Case {
    const char* line;
    const char* file;
    int row;
    int column;
    int word;
};

} // namespace

// Every shape a check line takes. Column numbers are the tables' own: SDO 1 Address, 2 Hi Byte,
// 7 SubIndex; "Index" must not be read inside "SubIndex".
TEST(FindingLocation, ReadsFileRowAndColumnFromEachLineShape)
{
    const UiTexts texts;
    const Case cases[] = {
        {"warning: sdo.xml row 3: Hi Byte 4 is above NByte 2", "sdo.xml", 3, 2, 0},
        {"warning: sdo.xml row 12: the SubIndex 0x20 is not in the EDS", "sdo.xml", 12, 7, 0},
        {"error: sdo.xml: Error row 1234!! Address is already used", "sdo.xml", 1234, 1, 0},
        {"warning: sdopdo.xml row 5: receive PDO 9 does not exist (sdopdo.xml has 2)", "sdopdo.xml", 5, -1,
         0},
        {"warning: emcyword.xml emergency 2 word 3: byte 7 (high) beyond the 5 bytes", "emcyword.xml", 2, -1,
         3},
        {"error: Register 100 is claimed by: SDO client (sdo.xml row 4), receive PDO (sdopdo.xml row 2)",
         "sdo.xml", 4, -1, 0},
        {"error: ParGen.xml: not well-formed (line 1)", "ParGen.xml", 0, -1, 0},
        {"Transmit_PDO_Define.xml row 7: the byte selection fills neither half", "Transmit_PDO_Define.xml", 7,
         -1, 0},
        {"warning: compile: the plain image cuts the SDO time-out", "", 0, -1, 0},
        {"warning: sdo.xml rows are fine", "", 0, -1, 0},
    };
    for (const Case& c : cases) {
        const FindingLocation location = locateFinding(c.line, texts);
        EXPECT_EQ(location.file, c.file) << c.line;
        EXPECT_EQ(location.row, c.row) << c.line;
        EXPECT_EQ(location.column, c.column) << c.line;
        EXPECT_EQ(location.word, c.word) << c.line;
    }
}

// In another language the table's own check reads "Fehler Zeile N" and names the column by its
// translated caption; both come from the texts the window shows.
TEST(FindingLocation, ReadsATranslatedTableCheck)
{
    UiTexts texts;
    texts.set(516, "Fehler Zeile ");
    texts.set(508, "Hi-Byte");
    const FindingLocation location =
        locateFinding("sdo.xml: Fehler Zeile 9!! Hi-Byte muss zwischen 0 und 4 liegen", texts);
    EXPECT_EQ(location.file, "sdo.xml");
    EXPECT_EQ(location.row, 9);
    EXPECT_EQ(location.column, 2);
    EXPECT_EQ(location.columnCaption, "Hi-Byte");
}

} // namespace setforge
