#include "core/report/findingchanges.h"

#include <gtest/gtest.h>

namespace setforge {

using Lines = std::vector<std::string>;

// Rows moved up by a deleted row bring nothing; a new text, a second copy of an old one, or an
// old warning that became an error does.
TEST(FindingChanges, KeepsOnlyWhatTheEditBrought)
{
    ProjectFindings before;
    before.warnings = {"sdo.xml row 5: Hi Byte 3 is above NByte 2", "sdopdo.xml row 2: byte 7 (high) beyond"};
    before.errors = {"Register 9 is claimed by: SDO client (sdo.xml row 3), receive PDO (sdopdo.xml row 4)"};

    ProjectFindings after;
    after.warnings = {"sdo.xml row 4: Hi Byte 3 is above NByte 2", "sdopdo.xml row 1: byte 7 (high) beyond",
                      "sdopdo.xml row 1: byte 7 (high) beyond",
                      "sdopdo.xml row 6: receive PDO 3 does not exist"};
    after.errors = {"Register 9 is claimed by: SDO client (sdo.xml row 2), receive PDO (sdopdo.xml row 3)",
                    "sdo.xml row 4: Hi Byte 3 is above NByte 2"};

    const ProjectFindings added = newFindings(before, after);
    EXPECT_EQ(added.warnings, (Lines{"sdopdo.xml row 1: byte 7 (high) beyond",
                                     "sdopdo.xml row 6: receive PDO 3 does not exist"}));
    EXPECT_EQ(added.errors, (Lines{"sdo.xml row 4: Hi Byte 3 is above NByte 2"}));

    // Nothing new when nothing changed, and everything new from a clean start.
    const ProjectFindings same = newFindings(after, after);
    EXPECT_TRUE(same.warnings.empty());
    EXPECT_TRUE(same.errors.empty());
    EXPECT_EQ(newFindings(ProjectFindings{}, after).warnings, after.warnings);
}

} // namespace setforge
