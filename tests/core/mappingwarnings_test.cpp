#include <gtest/gtest.h>

#include "core/report/canidentifiers.h"
#include "core/report/mappingintegrity.h"
#include "imagetestproject.h"

namespace setforge {

namespace {

// One table file of a case: its name, root and rows.
struct TableFile {
    const char* name;
    const char* root;
    const char* rows;
};

struct Case {
    const char* what;
    std::vector<TableFile> tables;
    std::vector<std::string> expected;
};

void writeTables(const TempProject& project, const std::vector<TableFile>& tables)
{
    for (const TableFile& t : tables)
        project.table(t.name, t.root, t.rows);
}

const char* kTwoRpdos = "<row cobid=\"0x181\" dimension=\"4\"/><row cobid=\"0x182\" dimension=\"2\"/>";

TEST(MappingIntegrity, RowsNamingMissingFramesOrBytes)
{
    const Case cases[] = {
        {"a mapping within its frames gives nothing",
         {{"rpdodef.xml", "rpdodef", kTwoRpdos},
          {"sdopdo.xml", "sdopdo",
           "<row index=\"1\" nrpdo=\"1\" poscomp=\"67\"/><row index=\"2\" nrpdo=\"2\" poscomp=\"33\"/>"}},
         {}},
        // Receive PDO row 1 deleted: the rows of the old PDO 2 now point past the table, and the
        // rows of the old PDO 1 (Dimension 8) take bytes the new PDO 1 (Dimension 4) lacks.
        {"a deleted receive PDO",
         {{"rpdodef.xml", "rpdodef", "<row cobid=\"0x183\" dimension=\"4\"/>"},
          {"sdopdo.xml", "sdopdo",
           "<row index=\"202\" nrpdo=\"1\" poscomp=\"101\"/><row index=\"210\" nrpdo=\"2\" "
           "poscomp=\"33\"/>"}},
         {"sdopdo.xml row 1: byte 6 (high) and byte 5 (low) beyond the Dimension 4 of receive PDO 1; choose "
          "a byte within the Dimension, or raise the Dimension",
          "sdopdo.xml row 2: receive PDO 2 does not exist (rpdodef.xml has 1); "
          "bank.bin keeps the row, bank2_ESP32.bin drops it; point the entry at an existing receive PDO, or "
          "delete it"}},
        {"only the high byte beyond, and a number that is not one",
         {{"rpdodef.xml", "rpdodef", kTwoRpdos},
          {"sdopdo.xml", "sdopdo",
           "<row index=\"1\" nrpdo=\"2\" poscomp=\"49\"/><row index=\"2\" nrpdo=\"x\"/>"}},
         {"sdopdo.xml row 1: byte 3 (high) beyond the Dimension 2 of receive PDO 2; choose a byte within the "
          "Dimension, or raise the Dimension",
          "sdopdo.xml row 2: receive PDO \"x\" does not exist (rpdodef.xml has 2); "
          "bank.bin keeps the row, bank2_ESP32.bin drops it; point the entry at an existing receive PDO, or "
          "delete it"}},
        {"a mapping without its PDO table",
         {{"sdopdo.xml", "sdopdo", "<row index=\"1\" nrpdo=\"1\" poscomp=\"0\"/>"}},
         {"sdopdo.xml row 1: receive PDO 1 does not exist (rpdodef.xml has 0); "
          "bank.bin keeps the row, bank2_ESP32.bin drops it; point the entry at an existing receive PDO, or "
          "delete it"}},
        // An invalid Dimension is the table check's to report; bytes are not weighed against it.
        {"a PDO whose Dimension is not valid",
         {{"rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"9\"/>"},
          {"sdopdo.xml", "sdopdo", "<row index=\"1\" nrpdo=\"1\" poscomp=\"153\"/>"}},
         {}},
        {"the transmit mapping",
         {{"Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x201\" Dimension=\"1\"/>"},
          {"Transmit_PDO_Define.xml", "Transmit_PDO_Define",
           "<row Index=\"300\" NrPdo=\"1\" PosComp=\"2\"/><row Index=\"301\" NrPdo=\"0\" PosComp=\"1\"/>"}},
         {"Transmit_PDO_Define.xml row 1: byte 2 (low) beyond the Dimension 1 of transmit PDO 1; choose a "
          "byte within the Dimension, or raise the Dimension",
          "Transmit_PDO_Define.xml row 2: transmit PDO 0 does not exist (Transmit_Pdo.xml has 1); "
          "bank2_ESP32.bin drops the row (bank.bin holds no transmit PDO mapping); point the entry at an "
          "existing transmit PDO, or delete it"}},
        {"emergency words beyond the table and beyond byte 5",
         {{"emcydef.xml", "EMCY", "<row ID_EMCY=\"2\"/>"},
          {"emcyword.xml", "EMCY_Word",
           "<EMCY_ROW><Dati Dati_Word=\"400\" Dati_Byte=\"85\"/><Dati Dati_Word=\"401\" "
           "Dati_Byte=\"6\"/></EMCY_ROW>"
           "<EMCY_ROW><Dati Dati_Word=\"410\" Dati_Byte=\"1\"/><Dati Dati_Word=\"411\" "
           "Dati_Byte=\"1\"/></EMCY_ROW>"
           "<EMCY_ROW/>"}},
         {"emcyword.xml emergency 1 word 2: byte 6 (low) beyond the 5 bytes of an emergency; choose an EMCY "
          "byte from 1 to 5",
          "emcyword.xml emergency 2: emergency 2 does not exist (emcydef.xml has 1); its 2 word(s) are "
          "dropped from bank.bin and bank2_ESP32.bin; add the emergency, or delete its words"}},
    };
    for (const Case& c : cases) {
        TempProject project;
        writeTables(project, c.tables);
        EXPECT_EQ(mappingIntegrityWarnings(project.files()), c.expected) << c.what;
    }
}

TEST(CanIdentifiers, DuplicatesAndPredefinedIdentifiers)
{
    const Case cases[] = {
        {"distinct PDOs and unrelated nodes give nothing",
         {{"rpdodef.xml", "rpdodef", "<row cobid=\"0x181\"/><row cobid=\"0x182\"/>"},
          {"Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x201\"/>"},
          {"sdo.xml", "sdo", "<row devIDB=\"2\"/>"}},
         {}},
        {"one COB-ID written two ways within a table and again across the tables",
         {{"rpdodef.xml", "rpdodef", "<row cobid=\"0x181\"/><row cobid=\"385\"/><row cobid=\"0x182\"/>"},
          {"Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"$181\"/><row COB-ID=\"0x182\"/>"}},
         {"COB-ID 0x181 is used by more than one PDO: receive PDO 1 (rpdodef.xml row 1), receive PDO 2 "
          "(rpdodef.xml row 2), transmit PDO 1 (Transmit_Pdo.xml row 1); give each PDO a COB-ID of its own",
          "COB-ID 0x182 is used by more than one PDO: receive PDO 3 (rpdodef.xml row 3), transmit PDO 2 "
          "(Transmit_Pdo.xml row 2); give each PDO a COB-ID of its own"}},
        {"the SDO channels of a node of the SDO table",
         {{"sdo.xml", "sdo", "<row devIDB=\"2\"/><row devIDB=\"0x2\"/><row devIDB=\"200\"/>"},
          {"rpdodef.xml", "rpdodef", "<row cobid=\"0x602\"/>"},
          {"Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x582\"/><row COB-ID=\"0x583\"/>"}},
         {"receive PDO 1 (rpdodef.xml row 1): COB-ID 0x602 is the SDO request identifier of node 2 "
          "(sdo.xml); choose another COB-ID",
          "transmit PDO 1 (Transmit_Pdo.xml row 1): COB-ID 0x582 is the SDO response identifier of node 2 "
          "(sdo.xml); choose another COB-ID"}},
        {"EMCY, node guarding, NMT, SYNC and TIME",
         {{"emcydef.xml", "EMCY", "<row ID_EMCY=\"5\"/>"},
          {"NodeGuard.xml", "Node_Guarding", "<row NodeID=\"7\"/>"},
          {"rpdodef.xml", "rpdodef",
           "<row cobid=\"0x85\"/><row cobid=\"0x707\"/><row cobid=\"0\"/><row cobid=\"0x80\"/><row "
           "cobid=\"0x100\"/>"
           "<row cobid=\"0x86\"/><row cobid=\"0x708\"/>"}},
         {"receive PDO 1 (rpdodef.xml row 1): COB-ID 0x085 is the EMCY identifier of node 5 (emcydef.xml); "
          "choose another COB-ID",
          "receive PDO 2 (rpdodef.xml row 2): COB-ID 0x707 is the node guarding identifier of node 7 "
          "(NodeGuard.xml); choose another COB-ID",
          "receive PDO 3 (rpdodef.xml row 3): COB-ID 0x000 is the NMT identifier; choose another COB-ID",
          "receive PDO 4 (rpdodef.xml row 4): COB-ID 0x080 is the SYNC identifier; choose another COB-ID",
          "receive PDO 5 (rpdodef.xml row 5): COB-ID 0x100 is the TIME identifier; choose another COB-ID"}},
        {"COB-IDs that are not numbers are skipped; choose another COB-ID",
         {{"rpdodef.xml", "rpdodef", "<row cobid=\"\"/><row cobid=\"abc\"/><row/>"}},
         {}},
    };
    for (const Case& c : cases) {
        TempProject project;
        writeTables(project, c.tables);
        EXPECT_EQ(canIdentifierWarnings(project.files()), c.expected) << c.what;
    }
}

} // namespace

} // namespace setforge
