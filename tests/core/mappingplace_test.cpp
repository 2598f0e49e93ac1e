#include "core/mapping/mappingplace.h"

#include <gtest/gtest.h>

#include "testutil.h"

namespace setforge {

// Row 4 is the second entry of frame 2 (row 2 is the first); a comment is no row; a row naming
// no frame, a row past the end and row 0 have no place.
TEST(MappingPlace, FlatRowsTakeTheirFrameAndTheirTurnInIt)
{
    TempDir dir;
    const std::string file = dir.file("Transmit_PDO_Define.xml");
    writeTestFile(file,
                  "<Transmit_PDO_Define><row Index=\"1\" NrPdo=\"1\" PosComp=\"18\"/>"
                  "<row Index=\"2\" NrPdo=\"2\" PosComp=\"18\"/><!-- note -->"
                  "<row Index=\"3\" NrPdo=\"1\" PosComp=\"18\"/><row Index=\"4\" NrPdo=\"2\" PosComp=\"18\"/>"
                  "<row Index=\"5\" NrPdo=\"x\" PosComp=\"18\"/></Transmit_PDO_Define>");
    struct Case {
        int row;
        int frame;
        int entry;
    };
    const Case cases[] = {{1, 0, 0}, {2, 1, 0}, {3, 0, 1}, {4, 1, 1}, {5, -1, -1}, {6, -1, -1}, {0, -1, -1}};
    for (const Case& c : cases) {
        const MappingPlace place = placeOfMappingRow(kTransmitPdoMapping, file, c.row, 0);
        EXPECT_EQ(place.frame, c.frame) << c.row;
        EXPECT_EQ(place.entry, c.entry) << c.row;
    }
    EXPECT_EQ(placeOfMappingRow(kTransmitPdoMapping, dir.file("missing.xml"), 1, 0).frame, -1);
}

// An emergency's finding names the emergency and its word: they are the frame and the entry.
TEST(MappingPlace, EmergencyWordIsTheEntryOfItsEmergency)
{
    const MappingPlace place = placeOfMappingRow(kEmergencyMapping, "", 3, 2);
    EXPECT_EQ(place.frame, 2);
    EXPECT_EQ(place.entry, 1);
    EXPECT_EQ(placeOfMappingRow(kEmergencyMapping, "", 3, 0).entry, -1);
}

} // namespace setforge
