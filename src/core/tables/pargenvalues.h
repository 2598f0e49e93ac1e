#pragma once

#include <array>
#include <string>

namespace setforge {

// The fixed items of the communication parameters' drop-down lists, in list order. They are
// not translated. ParGen.xml stores a list's 0-based item index, except for the CAN bit rate.
inline constexpr std::array<const char*, 2> kDeviceTypeItems = {"Device Without Ethernet Port",
                                                                "Device With Ethernet Port"};
inline constexpr std::array<const char*, 9> kCanBaudItems = {"10K",  "20K",  "50K",  "100K", "125K",
                                                             "250K", "500K", "800K", "1000K"};
inline constexpr std::array<const char*, 2> kModbusSerialItems = {"RS232", "RS485"};
inline constexpr std::array<const char*, 8> kModbusBaudItems = {"1200",  "2400",  "4800",  "9600",
                                                                "19200", "38400", "57600", "115200"};
inline constexpr std::array<const char*, 3> kModbusParityItems = {"NONE", "EVEN", "ODD"};
inline constexpr std::array<const char*, 2> kModbusStopBitsItems = {"1 Stop Bits", "2 Stop Bits"};
inline constexpr std::array<const char*, 5> kModbusProtocolItems = {"Modbus RTU", "Modbus ASCII", "JBUS",
                                                                    "Binary", "ASCII"};

// The device variant a reader assumes when ParGen.xml exists but has no Select_Device_Type.
// A project without the file starts from the Ethernet variant (the default below) instead.
inline constexpr int kDeviceTypeWhenElementMissing = 0;

// Every value of the communication parameters, as the dialog edits it. Numbers stay the text
// the user typed; lists hold their item index (which may lie outside the list when a file was
// edited by hand); check boxes are flags. The initial values are the defaults of a project
// that has no ParGen.xml yet, and of any field whose element is missing from the file.
struct ParGenValues {
    int deviceType = 1; // 0: without Ethernet port, other: with Ethernet port

    // CANopen side.
    std::string canId = "1";
    int canBaud = 8; // index in kCanBaudItems, "1000K"
    bool operationalAtStart = false;
    bool networkStart = false;
    std::string networkStartDelay = "10";
    bool startOnModbus = false;
    std::string startOnModbusAddress = "11";
    std::string sdoTimeout = "10000";
    bool syncEnable = false;
    std::string syncTime = "1000";
    bool nodeguardEnable = false;
    std::string nodeguardAddress1 = "12";
    std::string nodeguardAddress2 = "13";

    // Modbus slave on the serial line.
    int modbusSerial = 0;
    int modbusBaud = 7; // "115200"
    int modbusParity = 0;
    int modbusStopBits = 0;
    std::string modbusId = "1";
    int modbusProtocol = 0;
    bool inactivityEnable = false;
    std::string inactivityTimeout = "10000";

    // Ethernet port.
    std::array<std::string, 4> ip = {"192", "168", "0", "5"};
    std::array<std::string, 4> subnetMask = {"255", "255", "255", "0"};
    bool gatewayEnable = false;
    std::array<std::string, 4> gateway = {"192", "168", "0", "1"};

    bool operator==(const ParGenValues&) const = default;
};

} // namespace setforge
