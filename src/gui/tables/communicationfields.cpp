#include "gui/tables/communicationfields.h"

namespace setforge::CommunicationForm {

namespace {

using V = ParGenValues;

Field label(Panel panel, const char* name, int caption, Shown shown = Shown::Always)
{
    return {panel, Control::Label, name, caption, TextId::None, TextId::None, false, shown};
}
Field check(Panel panel, const char* name, int caption, int hint, bool V::*flag, Shown shown = Shown::Always)
{
    return {panel, Control::Check, name, caption, hint, TextId::None, true, shown, nullptr, nullptr, flag};
}
Field edit(Panel panel, const char* name, int hint, int unitRange, std::string V::*text, bool tracked = false)
{
    return {panel, Control::Edit, name, TextId::None, hint, unitRange, tracked, Shown::Always, text};
}
Field list(Panel panel, const char* name, int hint, int unitRange, std::span<const char* const> items,
           int V::*index, bool tracked = true)
{
    return {panel,         Control::List, name,  TextId::None, hint,    unitRange, tracked,
            Shown::Always, nullptr,       index, nullptr,      nullptr, items};
}
Field address(const char* name, int firstHint, std::array<std::string, 4> V::*bytes)
{
    return {kEthernetPanel, Control::Address, name,    TextId::None, firstHint, TextId::UnitAddressByte,
            true,           Shown::Always,    nullptr, nullptr,      nullptr,   bytes};
}

// The CANopen numbers, the CAN bit rate and the inactivity time are not tracked: changing
// only them lets Cancel close without asking.
const Field kFields[] = {
    label(kDevicePanel, "L_Select_Device_Device", TextId::DeviceType),
    list(kDevicePanel, "CB_Select_Device_Device", TextId::DeviceTypeHint, TextId::None, kDeviceTypeItems,
         &V::deviceType),

    label(kCanopenPanel, "L_CANopen_IDDevice", TextId::CanopenId),
    edit(kCanopenPanel, "E_CANopen_IDDevice", TextId::CanopenIdHint, TextId::UnitCanopenId, &V::canId),
    label(kCanopenPanel, "L_CANopen_Baudrate", TextId::CanopenBaud),
    list(kCanopenPanel, "CB_CANopen_Baudrate", TextId::CanopenBaudHint, TextId::UnitCanopenBaud,
         kCanBaudItems, &V::canBaud, false),
    check(kCanopenPanel, "CB_CANopen_SetOpe", TextId::OperationalAtStart, TextId::OperationalAtStartHint,
          &V::operationalAtStart),
    check(kCanopenPanel, "CB_CANopen_NetOpe", TextId::NetworkStart, TextId::NetworkStartHint,
          &V::networkStart),
    edit(kCanopenPanel, "E_CANopen_NetOpe_Delay", TextId::NetworkStartDelayHint,
         TextId::UnitNetworkStartDelay, &V::networkStartDelay),
    check(kCanopenPanel, "CB_CANopen_Start_On_Modbus", TextId::StartOnModbus, TextId::StartOnModbusHint,
          &V::startOnModbus),
    edit(kCanopenPanel, "E_CANopen_Start_On_Modbus", TextId::StartOnModbusAddressHint,
         TextId::UnitModbusRegister, &V::startOnModbusAddress),
    label(kCanopenPanel, "L_CANopen_SDO_Timeout", TextId::SdoTimeout),
    edit(kCanopenPanel, "E_CANopen_SDO_Timeout", TextId::SdoTimeoutHint, TextId::UnitSdoTimeout,
         &V::sdoTimeout),
    check(kCanopenPanel, "CB_CANopen_Enable_SYNC", TextId::Sync, TextId::SyncHint, &V::syncEnable),
    edit(kCanopenPanel, "E_CANopen_Enable_SYNC_Time", TextId::SyncTimeHint, TextId::UnitSyncTime,
         &V::syncTime),
    check(kCanopenPanel, "CB_CANopen_Enable_Nodeguard", TextId::Nodeguard, TextId::NodeguardHint,
          &V::nodeguardEnable),
    label(kCanopenPanel, "L_CANopen_Nodeguard_Mod_Add_1", TextId::NodeguardAddress1),
    edit(kCanopenPanel, "E_CANopen_Nodeguard_Mod_Add_1", TextId::NodeguardAddress1Hint,
         TextId::UnitModbusRegister, &V::nodeguardAddress1),
    label(kCanopenPanel, "L_CANopen_Nodeguard_Mod_Add_2", TextId::NodeguardAddress2),
    edit(kCanopenPanel, "E_CANopen_Nodeguard_Mod_Add_2", TextId::NodeguardAddress2Hint,
         TextId::UnitModbusRegister, &V::nodeguardAddress2),

    label(kModbusPanel, "L_ModbusSlave_Serial", TextId::ModbusSerial),
    list(kModbusPanel, "CB_ModbusSlave_Serial", TextId::ModbusSerialHint, TextId::None, kModbusSerialItems,
         &V::modbusSerial),
    label(kModbusPanel, "L_ModbusSlave_Baudrate", TextId::ModbusBaud),
    list(kModbusPanel, "CB_ModbusSlave_Baudrate", TextId::ModbusBaudHint, TextId::UnitModbusBaud,
         kModbusBaudItems, &V::modbusBaud),
    label(kModbusPanel, "L_ModbusSlave_Parity", TextId::ModbusParity),
    list(kModbusPanel, "CB_ModbusSlave_Parity", TextId::ModbusParityHint, TextId::None, kModbusParityItems,
         &V::modbusParity),
    label(kModbusPanel, "L_ModbusSlave_StopBits", TextId::ModbusStopBits, Shown::WithEthernet),
    list(kModbusPanel, "CB_ModbusSlave_StopBits", TextId::ModbusStopBitsHint, TextId::None,
         kModbusStopBitsItems, &V::modbusStopBits),
    label(kModbusPanel, "L_ModbusSlave_IDDevice", TextId::ModbusId),
    edit(kModbusPanel, "E_ModbusSlave_IDDevice", TextId::ModbusIdHint, TextId::UnitModbusId, &V::modbusId,
         true),
    // Without the Ethernet port the protocol takes the place of the inactivity row.
    label(kModbusPanel, "L_ModbusSlave_Protocol", TextId::ModbusProtocol, Shown::WithoutEthernet),
    list(kModbusPanel, "CB_ModbusSlave_Protocol", TextId::ModbusProtocolHint, TextId::None,
         kModbusProtocolItems, &V::modbusProtocol),
    check(kModbusPanel, "CB_ModbusSlave_Modbus_Inactivity_TimeOut", TextId::ModbusInactivity,
          TextId::ModbusInactivityHint, &V::inactivityEnable, Shown::WithEthernet),
    edit(kModbusPanel, "E_ModbusSlave_Modbus_Inactivity_TimeOut", TextId::ModbusInactivityTimeoutHint,
         TextId::UnitInactivityTimeout, &V::inactivityTimeout),

    label(kEthernetPanel, "L_Ethernet_IP", TextId::EthernetIp),
    address("E_Ethernet_IP", TextId::EthernetFirstIpByteHint, &V::ip),
    label(kEthernetPanel, "L_Ethernet_SM", TextId::EthernetMask),
    address("E_Ethernet_SM", TextId::EthernetFirstMaskByteHint, &V::subnetMask),
    check(kEthernetPanel, "CB_Ethernet_En_GAT", TextId::EthernetGateway, TextId::EthernetGatewayHint,
          &V::gatewayEnable),
    address("E_Ethernet_GAT", TextId::EthernetFirstGatewayByteHint, &V::gateway),
};

} // namespace

std::span<const Field> fields()
{
    return kFields;
}

} // namespace setforge::CommunicationForm
