#include <gtest/gtest.h>

#include "core/image/registerconflicts.h"
#include "core/image/sharedregisters.h"
#include "core/lang/uitexts.h"
#include "core/mapping/mappingmodel.h"
#include "imagetestproject.h"

namespace setforge {

namespace {

std::vector<std::string> conflictLines(const TempProject& project)
{
    std::vector<std::string> result;
    for (const RegisterConflict& conflict : findRegisterConflicts(collectRegisterClaims(project.files())))
        result.push_back(describeConflict(conflict));
    return result;
}

const char* kParGenSerial =
    "<Par_Gen><Select_Device_Type>0</Select_Device_Type><network_start_modbus start=\"true\"/>"
    "<network_start_modbus address=\"11\"/><send_frame_nodeguard enable=\"true\" add_word_1=\"12\" "
    "add_word_2=\"13\"/>"
    "</Par_Gen>";

TEST(RegisterConflicts, EveryClaimantIsNamed)
{
    TempProject project;
    project.write("ParGen.xml", kParGenSerial);
    project.table("sdo.xml", "sdo", "<row conf=\"0\" IndexA=\"100\"/><row conf=\"0\" IndexA=\"0xC\"/>");
    project.table("rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"8\"/>");
    // The second row names no RPDO and is never compiled: it claims nothing.
    project.table("sdopdo.xml", "sdopdo",
                  "<row index=\"$64\" nrpdo=\"1\" poscomp=\"0\"/><row index=\"11\" nrpdo=\"2\"/>");
    project.table("emcydef.xml", "EMCY", "<row ID_EMCY=\"1\"/>");
    project.table("emcyword.xml", "EMCY_Word",
                  "<EMCY_ROW><Dati Dati_Word=\"201\" Dati_Byte=\"1\"/></EMCY_ROW>"
                  "<EMCY_ROW><Dati Dati_Word=\"11\" Dati_Byte=\"1\"/></EMCY_ROW>");
    // Dimension 3 takes two registers: 200 and 201. The TPDO mapping row naming 200 claims
    // nothing: without an Ethernet port the PDO sends its register block.
    project.table("Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x281\" Dimension=\"3\" SMA=\"200\"/>");
    project.table("Transmit_PDO_Define.xml", "Transmit_PDO_Define",
                  "<row Index=\"200\" NrPdo=\"1\" PosComp=\"18\"/>");
    const std::vector<std::string> expected = {
        "Register 12 is claimed by: SDO table (sdo.xml row 2), first node guarding state register "
        "(ParGen.xml)",
        "Register 100 is claimed by: SDO table (sdo.xml row 1), RPDO mapping (sdopdo.xml row 1)",
        "Register 201 is claimed by: EMCY words (emcyword.xml emergency 1 word 1), TPDO register block "
        "(Transmit_Pdo.xml row 1)"};
    EXPECT_EQ(conflictLines(project), expected);
}

// Transmit_PDO_Define.xml claims its registers only where a device type with Ethernet port
// reads it; "any other value" than 0 is such a type.
TEST(RegisterConflicts, TheTransmitMappingClaimsOnlyWithTheEthernetPort)
{
    const std::vector<std::string> clash = {"Register 300 is claimed by: SDO table (sdo.xml row 1), TPDO "
                                            "mapping (Transmit_PDO_Define.xml row 1)"};
    const struct {
        const char* deviceType;
        std::vector<std::string> expected;
    } cases[] = {{"0", {}}, {"1", clash}, {"2", clash}};
    for (const auto& c : cases) {
        TempProject project;
        project.write("ParGen.xml", std::string("<Par_Gen><Select_Device_Type>") + c.deviceType +
                                        "</Select_Device_Type></Par_Gen>");
        project.table("sdo.xml", "sdo", "<row conf=\"65\" IndexA=\"300\"/>");
        project.table("Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x281\" Dimension=\"2\" SMA=\"\"/>");
        project.table("Transmit_PDO_Define.xml", "Transmit_PDO_Define",
                      "<row Index=\"300\" NrPdo=\"1\" PosComp=\"18\"/>");
        EXPECT_EQ(conflictLines(project), c.expected) << "Select_Device_Type " << c.deviceType;
    }
}

TEST(RegisterConflicts, SwitchedOffFeaturesAndTheEthernetVariantClaimLess)
{
    TempProject project;
    project.write(
        "ParGen.xml",
        "<Par_Gen><Select_Device_Type>1</Select_Device_Type><network_start_modbus start=\"false\"/>"
        "<network_start_modbus address=\"11\"/><send_frame_nodeguard enable=\"false\" add_word_1=\"12\" "
        "add_word_2=\"12\"/></Par_Gen>");
    project.table("sdo.xml", "sdo", "<row conf=\"0\" IndexA=\"11\"/><row conf=\"0\" IndexA=\"12\"/>");
    // With an Ethernet port the PDO data come from the mapping, not from a register block.
    project.table("Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x281\" Dimension=\"8\" SMA=\"11\"/>");
    EXPECT_TRUE(conflictLines(project).empty());
}

TEST(RegisterConflicts, SdoTimeoutCutShortInThePlainImageIsAWarning)
{
    TempProject project;
    project.write("ParGen.xml", "<Par_Gen><CAN_timeoutsdo>100000</CAN_timeoutsdo></Par_Gen>");
    const std::vector<std::string> warnings = plainImageWarnings(project.files());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "ParGen.xml: the SDO client timeout 100000 is cut to 16 bits in bank.bin (stored "
                           "as 34464); set a timeout of 65535 ms or less");
    project.write("ParGen.xml", "<Par_Gen><CAN_timeoutsdo>65535</CAN_timeoutsdo></Par_Gen>");
    EXPECT_TRUE(plainImageWarnings(project.files()).empty());
}

} // namespace

namespace {

std::vector<std::string> sharedLines(const MappingModel& model, const TempProject& project)
{
    std::vector<std::string> result;
    ProjectDocuments docs(project.files());
    const ProjectDocuments::File own = ProjectDocuments::fileOf(model.format().mapFile);
    for (const RegisterConflict& conflict : registersSharedWithOtherTables(model, docs, own))
        result.push_back(describeConflict(conflict));
    return result;
}

// The editor's unsaved entries count instead of its file; only registers the editor shares
// with another table are named.
TEST(SharedRegisters, EditedEntriesAgainstTheOtherTables)
{
    TempProject project;
    project.write("ParGen.xml", kParGenSerial);
    project.table("sdo.xml", "sdo", "<row conf=\"0\" IndexA=\"100\"/><row conf=\"0\" IndexA=\"300\"/>");
    project.table("rpdodef.xml", "rpdodef",
                  "<row cobid=\"0x181\" dimension=\"8\"/><row cobid=\"0x182\" dimension=\"2\"/>");
    // On file the mapping uses 300; the editor has moved it to 0x64 and added 12 and 500.
    project.table("sdopdo.xml", "sdopdo", "<row index=\"300\" nrpdo=\"1\" poscomp=\"0\"/>");
    MappingModel model(kReceivePdoMapping);
    ASSERT_TRUE(model.load(project.files()));
    UiTexts texts;
    ASSERT_TRUE(model.modifyEntry(0, 0, {"0x64", 1, 0, 0}, texts).done());
    ASSERT_TRUE(model.addEntry(1, {"12", 1, 0, 0}, texts).done());
    ASSERT_TRUE(model.addEntry(1, {"500", 2, 0, 0}, texts).done());
    const std::vector<std::string> expected = {
        "Register 12 is claimed by: first node guarding state register (ParGen.xml), RPDO mapping (this "
        "editor, frame 2)",
        "Register 100 is claimed by: SDO table (sdo.xml row 1), RPDO mapping (this editor, frame 1)"};
    EXPECT_EQ(sharedLines(model, project), expected);

    // Registers that other tables share among themselves are not the editor's business.
    project.table("emcydef.xml", "EMCY", "<row ID_EMCY=\"1\"/>");
    project.table("emcyword.xml", "EMCY_Word",
                  "<EMCY_ROW><Dati Dati_Word=\"300\" Dati_Byte=\"1\"/></EMCY_ROW>");
    EXPECT_EQ(sharedLines(model, project), expected);
    ASSERT_TRUE(model.deleteEntry(0, 0).done());
    ASSERT_TRUE(model.deleteEntry(1, 0).done());
    EXPECT_TRUE(sharedLines(model, project).empty());
}

} // namespace

} // namespace setforge
