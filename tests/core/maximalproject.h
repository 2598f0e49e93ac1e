#pragma once

// Writes a project whose every banked table is filled to its capacity, with values that pass
// every table check. Shared by the tests and the benchmarks.

#include <optional>
#include <string>

#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/image/tablearea.h"

namespace setforge {

namespace maximal {

inline bool writeTable(const std::string& dir, const char* name, const char* root, const std::string& rows)
{
    const std::string xml = std::string("<") + root + ">" + rows + "</" + root + "><!--SW_VERSION = 2.001-->";
    return static_cast<bool>(writeFileAtomic(joinPath(dir, name), xml));
}

// Fills `dir` with the nine table files at capacity; `extra` adds one entry beyond the
// capacity of that table. Returns false when a file could not be written.
inline bool writeMaximalProject(const std::string& dir, std::optional<BankTable> extra = std::nullopt)
{
    const auto more = [&extra](BankTable table) { return extra && *extra == table ? 1 : 0; };
    std::string rows;

    bool ok = static_cast<bool>(writeFileAtomic(
        joinPath(dir, "ParGen.xml"),
        "<Par_Gen><Select_Device_Type>1</Select_Device_Type><CAN_id>1</CAN_id><CAN_Baud>500</CAN_Baud>"
        "<operational_at_start start=\"true\"/><network_start start=\"true\"/>"
        "<delay_network_start delay=\"5\"/><network_start_modbus start=\"true\"/>"
        "<network_start_modbus address=\"11\"/><CAN_timeoutsdo>10000</CAN_timeoutsdo>"
        "<sync_producer enable_sync=\"true\" sync_time=\"100\"/>"
        "<send_frame_nodeguard enable=\"true\" add_word_1=\"12\" add_word_2=\"13\"/>"
        "<M_ser>1</M_ser><M_baud>7</M_baud><M_parity>0</M_parity>"
        "<MODBUS_SLAVE_STOPBITS>0</MODBUS_SLAVE_STOPBITS><M_devid>1</M_devid><Ser_Prot>0</Ser_Prot>"
        "<MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>0</MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>"
        "<MODBUS_SLAVE_TIMEOUT_INACTIVITY>10000</MODBUS_SLAVE_TIMEOUT_INACTIVITY>"
        "<Ethernet_IP1>192</Ethernet_IP1><Ethernet_IP2>168</Ethernet_IP2><Ethernet_IP3>0</Ethernet_IP3>"
        "<Ethernet_IP4>5</Ethernet_IP4><Ethernet_SM1>255</Ethernet_SM1><Ethernet_SM2>255</Ethernet_SM2>"
        "<Ethernet_SM3>255</Ethernet_SM3><Ethernet_SM4>0</Ethernet_SM4><Ethernet_GAT1>192</Ethernet_GAT1>"
        "<Ethernet_GAT2>168</Ethernet_GAT2><Ethernet_GAT3>0</Ethernet_GAT3><Ethernet_GAT4>1</"
        "Ethernet_GAT4>"
        "<Ethernet_EN_GAT>0</Ethernet_EN_GAT></Par_Gen><!--SW_VERSION = 2.001-->"));

    rows.clear();
    for (int i = 0; i < 1536 + more(BankTable::Sdo); ++i)
        rows +=
            "<row conf=\"65\" IndexA=\"" + std::to_string(20000 + i) +
            "\" SubindexA=\"0\" devIDB=\"5\" IndexB=\"0x6041\" SubindexB=\"0\" nbyteB=\"2\" mnemonico=\"\"/>";
    ok = ok && writeTable(dir, "sdo.xml", "sdo", rows);

    const int rpdos = 64 + more(BankTable::Rpdo);
    rows.clear();
    for (int i = 0; i < rpdos; ++i)
        rows +=
            "<row cobid=\"" + std::to_string(0x181 + i) +
            "\" id_dev_orig=\"1\" dimension=\"8\" posind=\"0\" n_tpdo=\"0\" TimeOut=\"1000\" Mnemonic=\"\"/>";
    ok = ok && writeTable(dir, "rpdodef.xml", "rpdodef", rows);

    rows.clear();
    for (int i = 0; i < 512 + more(BankTable::RpdoMapping); ++i)
        rows += "<row index=\"" + std::to_string(30000 + i) + "\" subindex=\"0\" nrpdo=\"" +
                std::to_string(i % 64 + 1) + "\" poscomp=\"33\"/>";
    ok = ok && writeTable(dir, "sdopdo.xml", "sdopdo", rows);

    rows.clear();
    for (int i = 0; i < 32 + more(BankTable::Tpdo); ++i)
        rows += "<row COB-ID=\"" + std::to_string(0x201 + i) + "\" Dimension=\"8\" SMA=\"" +
                std::to_string(50000 + 4 * i) +
                "\" OnChange=\"Y\" OnTimer=\"Y\" Timer=\"100\" Mnemonic=\"\"/>";
    ok = ok && writeTable(dir, "Transmit_Pdo.xml", "Trasmit_PDO", rows);

    rows.clear();
    for (int i = 0; i < 512 + more(BankTable::TpdoMapping); ++i)
        rows += "<row Index=\"" + std::to_string(40000 + i) + "\" NrPdo=\"" + std::to_string(i % 32 + 1) +
                "\" PosComp=\"18\" Send_on_Write=\"1\"/>";
    ok = ok && writeTable(dir, "Transmit_PDO_Define.xml", "Transmit_PDO_Define", rows);

    rows.clear();
    for (int i = 0; i < 64 + more(BankTable::NodeGuarding); ++i)
        rows += "<row NodeID=\"" + std::to_string(i + 1) +
                "\" GuardTime=\"1000\" LifeTimeFactor=\"3\" Mnemonic=\"\"/>";
    ok = ok && writeTable(dir, "NodeGuard.xml", "Node_Guarding", rows);

    rows.clear();
    for (int i = 0; i < 128 + more(BankTable::Emcy); ++i)
        rows += "<row ID_EMCY=\"" + std::to_string(i % 127 + 1) +
                "\" EMCY_Error_Code=\"0x8130\" Error_Register=\"0x11\" Mnemonic=\"\"/>";
    ok = ok && writeTable(dir, "emcydef.xml", "EMCY", rows);

    rows.clear();
    int word = 10000;
    for (int i = 0; i < 128; ++i) {
        rows += "<EMCY_ROW>";
        const int words = 8 + (i == 0 ? more(BankTable::EmcyWord) : 0);
        for (int k = 0; k < words; ++k)
            rows += "<Dati Dati_Word=\"" + std::to_string(word++) + "\" Dati_Byte=\"" +
                    std::to_string(16 * (k % 5 + 1) + (k + 1) % 5) + "\"/>";
        rows += "</EMCY_ROW>";
    }
    ok = ok && writeTable(dir, "emcyword.xml", "EMCY_Word", rows);
    return ok;
}

} // namespace maximal

} // namespace setforge
