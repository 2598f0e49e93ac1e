#include "core/image/projectwarnings.h"

#include <gtest/gtest.h>

#include "core/base/projectfiles.h"
#include "imagetestproject.h"

namespace setforge {

namespace {

const char* kEthernet = "<Par_Gen><Select_Device_Type>1</Select_Device_Type></Par_Gen>";
const char* kSerial = "<Par_Gen><Select_Device_Type>0</Select_Device_Type></Par_Gen>";
const char* kGuardOn =
    "<Par_Gen><Select_Device_Type>1</Select_Device_Type>"
    "<send_frame_nodeguard enable=\"true\" add_word_1=\"12\" add_word_2=\"13\"/></Par_Gen>";
const char* kGuardOff =
    "<Par_Gen><Select_Device_Type>1</Select_Device_Type>"
    "<send_frame_nodeguard enable=\"false\" add_word_1=\"12\" add_word_2=\"13\"/></Par_Gen>";

struct File {
    const char* name;
    const char* content;
};

// Each case is a small project (ParGen.xml first) and every warning it must give, in order.
struct Case {
    const char* what;
    std::vector<File> files;
    std::vector<std::string> expected;
};

std::string sdoRow(int conf, int nbyte)
{
    return "<row conf=\"" + std::to_string(conf) +
           "\" IndexA=\"100\" devIDB=\"2\" IndexB=\"0x6041\" SubindexB=\"0\" "
           "nbyteB=\"" +
           std::to_string(nbyte) + "\"/>";
}

TEST(ProjectWarnings, EachWarningWithItsFileAndRow)
{
    // conf: Hi Byte in bits 7-5, Lo Byte in bits 2-0. 65 = Hi 2, Lo 1; 131 = Hi 4, Lo 3.
    const std::string sdo =
        "<sdo>" + sdoRow(65, 2) + sdoRow(131, 2) + sdoRow(16, 4) + sdoRow(131, 4) + "</sdo>";
    const Case kCases[] = {
        {"SDO bytes above NByte, and no byte at all (R/W alone)",
         {{"ParGen.xml", kEthernet}, {"sdo.xml", sdo.c_str()}},
         {"sdo.xml row 2: Hi Byte 4 is above NByte 2; choose Hi Byte 2 or less, or raise NByte",
          "sdo.xml row 2: Lo Byte 3 is above NByte 2; choose Lo Byte 2 or less, or raise NByte",
          "sdo.xml row 3: Hi Byte and Lo Byte are both 0, so the register takes no byte of the object; "
          "choose a Hi Byte or a Lo Byte"}},
        {"mapping entries with selector 0",
         {{"ParGen.xml", kEthernet},
          {"sdopdo.xml", "<sdopdo><row index=\"200\" subindex=\"0\" nrpdo=\"1\" poscomp=\"33\"/>"
                         "<row index=\"201\" subindex=\"0\" nrpdo=\"1\" poscomp=\"0\"/></sdopdo>"},
          {"Transmit_PDO_Define.xml", "<Transmit_PDO_Define><row Index=\"300\" NrPdo=\"1\" PosComp=\"0x00\" "
                                      "Send_on_Write=\"0\"/></Transmit_PDO_Define>"},
          {"emcyword.xml", "<EMCY_Word><EMCY_ROW><Dati Dati_Word=\"400\" Dati_Byte=\"18\"/></EMCY_ROW>"
                           "<EMCY_ROW><Dati Dati_Word=\"410\" Dati_Byte=\"16\"/><Dati Dati_Word=\"411\" "
                           "Dati_Byte=\"0\"/></EMCY_ROW></EMCY_Word>"}},
         {"sdopdo.xml row 2: the byte selection fills neither half of register 201; choose a byte for the "
          "high or the low half, or delete the entry",
          "Transmit_PDO_Define.xml row 1: the byte selection fills neither half of register 300; choose a "
          "byte for the high or the low half, or delete the entry",
          "emcyword.xml emergency 2 word 2: the byte selection fills neither half of register 411; choose a "
          "byte for the high or the low half, or delete the entry"}},
        {"node guarding off with rows",
         {{"ParGen.xml", kGuardOff},
          {"NodeGuard.xml", "<Node_Guarding><row NodeID=\"2\" GuardTime=\"100\" LifeTimeFactor=\"3\"/>"
                            "<row NodeID=\"3\" GuardTime=\"100\" LifeTimeFactor=\"3\"/></Node_Guarding>"}},
         {"NodeGuard.xml: 2 node(s) listed while node guarding is off in the communication parameters; turn "
          "node guarding on, or delete the rows"}},
        {"node guarding on with rows",
         {{"ParGen.xml", kGuardOn},
          {"NodeGuard.xml", "<Node_Guarding><row NodeID=\"2\" GuardTime=\"100\" LifeTimeFactor=\"3\"/>"
                            "</Node_Guarding>"}},
         {}},
        {"node guarding off without rows",
         {{"ParGen.xml", kGuardOff}, {"NodeGuard.xml", "<Node_Guarding/>"}},
         {}},
        {"Ethernet transmit PDO never sent, and an Address Start left from the serial variant",
         {{"ParGen.xml", kEthernet},
          {"Transmit_Pdo.xml",
           "<Trasmit_PDO>"
           "<row COB-ID=\"0x202\" Dimension=\"2\" SMA=\"\" OnChange=\"Y\" OnTimer=\"N\" Timer=\"0\"/>"
           "<row COB-ID=\"0x203\" Dimension=\"2\" SMA=\"\" OnChange=\"n\" OnTimer=\"N\" Timer=\"0\"/>"
           "<row COB-ID=\"0x204\" Dimension=\"2\" SMA=\"300\" OnChange=\"N\" OnTimer=\"y\" "
           "Timer=\"100\"/></Trasmit_PDO>"},
          {"Transmit_PDO_Define.xml",
           "<Transmit_PDO_Define><row Index=\"300\" NrPdo=\"1\" PosComp=\"33\" Send_on_Write=\"0\"/>"
           "<row Index=\"301\" NrPdo=\"2\" PosComp=\"33\" Send_on_Write=\"0\"/>"
           "<row Index=\"302\" NrPdo=\"3\" PosComp=\"33\" Send_on_Write=\"0\"/></Transmit_PDO_Define>"}},
         {"Transmit_Pdo.xml row 2: neither On Change nor On Timer is ticked and no mapped register sends on "
          "Modbus write, so the PDO is never sent; tick On Change or On Timer, or delete the row",
          "Transmit_Pdo.xml row 3: Address Start 300 is hidden with the Ethernet port but still goes into "
          "bank.bin; clear Address Start, or choose the device without Ethernet port"}},
        {"Ethernet transmit PDOs sent on Modbus write, and one without any mapped register",
         {{"ParGen.xml", kEthernet},
          {"Transmit_Pdo.xml",
           "<Trasmit_PDO>"
           "<row COB-ID=\"0x202\" Dimension=\"2\" SMA=\"\" OnChange=\"N\" OnTimer=\"N\" Timer=\"0\"/>"
           "<row COB-ID=\"0x203\" Dimension=\"2\" SMA=\"\" OnChange=\"Y\" OnTimer=\"N\" Timer=\"0\"/>"
           "</Trasmit_PDO>"},
          {"Transmit_PDO_Define.xml",
           "<Transmit_PDO_Define><row Index=\"300\" NrPdo=\"1\" PosComp=\"33\" Send_on_Write=\"0\"/>"
           "<row Index=\"301\" NrPdo=\"1\" PosComp=\"33\" Send_on_Write=\"1\"/></Transmit_PDO_Define>"}},
         {"Transmit_Pdo.xml row 2: no register is mapped to this transmit PDO, so it carries no Modbus data "
          "and the report shows no register for it; map registers to it in the transmit PDO mapping, or "
          "delete the row"}},
        {"serial variant: hidden sending and time-out columns that still hold values",
         {{"ParGen.xml", kSerial},
          {"Transmit_Pdo.xml",
           "<Trasmit_PDO>"
           "<row COB-ID=\"0x202\" Dimension=\"2\" SMA=\"300\" OnChange=\"N\" OnTimer=\"N\" Timer=\"0\"/>"
           "<row COB-ID=\"0x203\" Dimension=\"2\" SMA=\"310\" OnChange=\"Y\" OnTimer=\"Y\" "
           "Timer=\"100\"/></Trasmit_PDO>"},
          {"rpdodef.xml", "<rpdodef><row cobid=\"0x182\" dimension=\"8\" TimeOut=\"\"/>"
                          "<row cobid=\"0x183\" dimension=\"8\" TimeOut=\"1000\"/></rpdodef>"}},
         {"rpdodef.xml row 2: TimeOut 1000 is hidden without the Ethernet port but still goes into "
          "bank2_ESP32.bin; clear TimeOut, or choose the device with Ethernet port",
          "Transmit_Pdo.xml row 2: On Change is hidden without the Ethernet port but still goes into "
          "bank2_ESP32.bin; untick On Change, or choose the device with Ethernet port",
          "Transmit_Pdo.xml row 2: On Timer (100 ms) is hidden without the Ethernet port but still goes into "
          "bank2_ESP32.bin; untick On Timer, or choose the device with Ethernet port"}},
        {"serial variant: a transmit PDO mapping it does not use",
         {{"ParGen.xml", kSerial},
          {"Transmit_PDO_Define.xml",
           "<Transmit_PDO_Define><row Index=\"300\" NrPdo=\"1\" PosComp=\"18\"/>"
           "<row Index=\"301\" NrPdo=\"1\" PosComp=\"52\"/></Transmit_PDO_Define>"}},
         {"Transmit_PDO_Define.xml: unused by the variant without Ethernet port (Select_Device_Type 0), "
          "whose "
          "transmit PDOs send the register blocks of Transmit_Pdo.xml; its 2 row(s) claim no register; "
          "delete its rows, or choose the device with Ethernet port"}},
        {"a device type other than 0 has the Ethernet port and uses the mapping",
         {{"ParGen.xml", "<Par_Gen><Select_Device_Type>2</Select_Device_Type></Par_Gen>"},
          {"Transmit_PDO_Define.xml", "<Transmit_PDO_Define><row Index=\"300\" NrPdo=\"1\" PosComp=\"18\"/>"
                                      "</Transmit_PDO_Define>"}},
         {}},
        {"serial variant with an empty mapping file",
         {{"ParGen.xml", kSerial}, {"Transmit_PDO_Define.xml", "<Transmit_PDO_Define/>"}},
         {}},
        {"files that do not parse give no warning",
         {{"ParGen.xml", "<Par_Gen"}, {"sdo.xml", "<sdo><row"}, {"NodeGuard.xml", "<Node_Guarding><row"}},
         {}},
    };
    for (const Case& c : kCases) {
        TempProject project;
        for (const File& file : c.files)
            project.write(file.name, file.content);
        EXPECT_EQ(projectWarnings(makeProjectFiles(project.dir())), c.expected) << c.what;
    }
}

} // namespace

} // namespace setforge
