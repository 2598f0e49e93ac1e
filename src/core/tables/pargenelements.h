#pragma once

#include <array>

namespace setforge {

// The names in ParGen.xml, the communication parameters, written once for every reader and
// writer of the file: the dialog's load and save, the two image compilers, the device-variant
// reading and the register-conflict listing. Elements are listed in the file's order.
namespace ParGenName {
inline constexpr const char* kDeviceType = "Select_Device_Type";
inline constexpr const char* kCanId = "CAN_id";
inline constexpr const char* kCanBaud = "CAN_Baud";
inline constexpr const char* kOperationalAtStart = "operational_at_start"; // attribute kStart
inline constexpr const char* kNetworkStart = "network_start";              // attribute kStart
inline constexpr const char* kNetworkStartDelay = "delay_network_start";   // attribute kDelay
// Attribute kStart; the element after the first one so named holds the register in kAddress.
inline constexpr const char* kNetworkStartModbus = "network_start_modbus";
inline constexpr const char* kSdoTimeout = "CAN_timeoutsdo";
inline constexpr const char* kSyncProducer = "sync_producer";          // kSyncEnable, kSyncTime
inline constexpr const char* kNodeGuardFrame = "send_frame_nodeguard"; // kGuardEnable, kGuardRegister1/2
inline constexpr const char* kModbusSerial = "M_ser";
inline constexpr const char* kModbusBaud = "M_baud";
inline constexpr const char* kModbusParity = "M_parity";
inline constexpr const char* kModbusStopBits = "MODBUS_SLAVE_STOPBITS";
inline constexpr const char* kModbusId = "M_devid";
inline constexpr const char* kModbusProtocol = "Ser_Prot";
inline constexpr const char* kInactivityEnable = "MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY";
inline constexpr const char* kInactivityTimeout = "MODBUS_SLAVE_TIMEOUT_INACTIVITY";
inline constexpr std::array<const char*, 4> kIp = {"Ethernet_IP1", "Ethernet_IP2", "Ethernet_IP3",
                                                   "Ethernet_IP4"};
inline constexpr std::array<const char*, 4> kSubnetMask = {"Ethernet_SM1", "Ethernet_SM2", "Ethernet_SM3",
                                                           "Ethernet_SM4"};
inline constexpr std::array<const char*, 4> kGateway = {"Ethernet_GAT1", "Ethernet_GAT2", "Ethernet_GAT3",
                                                        "Ethernet_GAT4"};
inline constexpr const char* kGatewayEnable = "Ethernet_EN_GAT";

// Attributes.
inline constexpr const char* kStart = "start";
inline constexpr const char* kDelay = "delay";
inline constexpr const char* kAddress = "address";
inline constexpr const char* kSyncEnable = "enable_sync";
inline constexpr const char* kSyncTime = "sync_time";
inline constexpr const char* kGuardEnable = "enable";
inline constexpr const char* kGuardRegister1 = "add_word_1";
inline constexpr const char* kGuardRegister2 = "add_word_2";
} // namespace ParGenName

} // namespace setforge
