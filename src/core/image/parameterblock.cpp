#include "core/image/parameterblock.h"

#include <algorithm>
#include <string>

#include "core/app/xmlfile.h"
#include "core/image/imagetext.h"
#include "core/tables/textint.h"

namespace PF = ParameterField;

namespace {

// Where the updater puts the second bank, and each table's place in it. Entries 1 and 2 have
// no table and point where the RPDO table starts.
constexpr std::uint32_t kTableAddresses[PF::kDirectoryEntries] = {
    0x310000, 0x313000, 0x313000, 0x313000, 0x313200, 0x314200, 0x314300, 0x315300, 0x315400, 0x315800};

// Serial bit rates by the index of the communication parameters' list.
constexpr std::uint32_t kSerialBitRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr std::uint32_t kFallbackSerialBitRate = 9600;

std::uint32_t serialBitRate(std::int32_t index)
{
    if (index < 0 || index >= static_cast<std::int32_t>(std::size(kSerialBitRates)))
        return kFallbackSerialBitRate;
    return kSerialBitRates[index];
}

// Blanks around a hand-edited number are read past, as the plain image reads the same field.
std::uint32_t number(std::string_view text, std::int32_t def)
{
    return static_cast<std::uint32_t>(textToInt(trimBlanks(text), def));
}

std::string attribute(const pugi::xml_node& element, const char* name)
{
    return element.attribute(name).value();
}

bool isTrue(const pugi::xml_node& element, const char* name)
{
    return attribute(element, name) == "true";
}

const Field kAllFields[] = {PF::kCanBitRate,
                            PF::kSerialBitRate,
                            PF::kSerialDataBits,
                            PF::kSerialParity,
                            PF::kSerialStopBits,
                            PF::kModbusDeviceId,
                            PF::kIp[0],
                            PF::kIp[1],
                            PF::kIp[2],
                            PF::kIp[3],
                            PF::kSubnet[0],
                            PF::kSubnet[1],
                            PF::kSubnet[2],
                            PF::kSubnet[3],
                            PF::kGateway[0],
                            PF::kGateway[1],
                            PF::kGateway[2],
                            PF::kGateway[3],
                            PF::kConstant10000,
                            PF::kSerialBitRate2,
                            PF::kSerialDataBits2,
                            PF::kSerialParity2,
                            PF::kSerialStopBits2,
                            PF::kSerialFlags,
                            PF::kCanNodeId,
                            PF::kStartFlags,
                            PF::kNetworkStartDelay,
                            PF::kSdoTimeout,
                            PF::kNetworkStartRegister,
                            PF::kGuardStateRegister1,
                            PF::kGuardStateRegister2,
                            PF::kTableCount[0],
                            PF::kTableCount[1],
                            PF::kTableCount[2],
                            PF::kTableCount[3],
                            PF::kTableCount[4],
                            PF::kTableCount[5],
                            PF::kTableCount[6],
                            PF::kTableCount[7],
                            PF::kTableCount[8],
                            PF::kTableCount[9],
                            PF::kTableAddress[0],
                            PF::kTableAddress[1],
                            PF::kTableAddress[2],
                            PF::kTableAddress[3],
                            PF::kTableAddress[4],
                            PF::kTableAddress[5],
                            PF::kTableAddress[6],
                            PF::kTableAddress[7],
                            PF::kTableAddress[8],
                            PF::kTableAddress[9],
                            PF::kSyncEnable,
                            PF::kSyncPeriod,
                            PF::kConstant1000,
                            PF::kInactivityTimeout,
                            PF::kChecksum};

} // namespace

std::span<const Field> parameterBlockFields()
{
    return kAllFields;
}

void ParameterBlock::setDefaults()
{
    m_bytes.fill(0);
    set(PF::kCanBitRate, 250000);
    set(PF::kSerialBitRate, 9600);
    set(PF::kSerialDataBits, 8);
    const std::uint32_t ip[4] = {192, 168, 0, 10};
    const std::uint32_t subnet[4] = {255, 255, 255, 0};
    for (int i = 0; i < 4; ++i) {
        set(PF::kIp[i], ip[i]);
        set(PF::kSubnet[i], subnet[i]);
        set(PF::kGateway[i], 255);
    }
    set(PF::kConstant10000, 10000);
    set(PF::kSerialBitRate2, 9600);
    set(PF::kSerialDataBits2, 8);
    set(PF::kCanNodeId, 10);
    set(PF::kSdoTimeout, 10000);
    set(PF::kNetworkStartRegister, 1);
    set(PF::kGuardStateRegister1, 2);
    set(PF::kGuardStateRegister2, 3);
    for (std::size_t k = 0; k < PF::kDirectoryEntries; ++k)
        set(PF::kTableAddress[k], kTableAddresses[k]);
}

int ParameterBlock::readParGen(const pugi::xml_node& root)
{
    const auto text = [&root](const char* name) { return childText(root, name); };
    const auto element = [&root](const char* name) { return childElement(root, name); };

    const int deviceType = textToInt(text("Select_Device_Type"), 0);
    set(PF::kCanNodeId, number(text("CAN_id"), 10));
    // Products are taken modulo 2^32, as the 32-bit fields hold them.
    set(PF::kCanBitRate, number(text("CAN_Baud"), 1000) * 1000u);

    std::uint32_t flags = 0;
    if (isTrue(element("operational_at_start"), "start"))
        flags |= kStartOperational;
    if (isTrue(element("network_start"), "start"))
        flags |= kStartNetwork;
    set(PF::kNetworkStartDelay, number(attribute(element("delay_network_start"), "delay"), 10) * 1000u);
    set(PF::kSdoTimeout, number(text("CAN_timeoutsdo"), 10000));
    const pugi::xml_node startOnModbus = element("network_start_modbus");
    if (isTrue(startOnModbus, "start"))
        flags |= kStartOnModbus;
    // The register is the second of two consecutive elements of that name.
    const pugi::xml_node registerElement = startOnModbus ? nextElement(startOnModbus) : pugi::xml_node();
    set(PF::kNetworkStartRegister, number(attribute(registerElement, "address"), 11));

    const pugi::xml_node guard = element("send_frame_nodeguard");
    if (isTrue(guard, "enable"))
        flags |= kStartNodeGuarding;
    set(PF::kGuardStateRegister1, number(attribute(guard, "add_word_1"), 12));
    set(PF::kGuardStateRegister2, number(attribute(guard, "add_word_2"), 13));
    set(PF::kStartFlags, flags);

    const pugi::xml_node sync = element("sync_producer");
    set(PF::kSyncEnable, isTrue(sync, "enable_sync") ? 1 : 0);
    set(PF::kSyncPeriod, number(attribute(sync, "sync_time"), 0) * 1000u);
    set(PF::kConstant1000, 1000);

    std::uint32_t serialFlags = get(PF::kSerialFlags) & ~1u;
    if (text("M_ser") == "0")
        serialFlags |= 1u;
    set(PF::kSerialFlags, serialFlags);

    const std::uint32_t bitRate = serialBitRate(textToInt(text("M_baud"), 7));
    set(PF::kSerialBitRate, bitRate);
    set(PF::kSerialBitRate2, bitRate);

    // The file counts 1 even and 2 odd; the device the other way round.
    std::uint32_t parity = number(text("M_parity"), 0);
    if (parity == 1)
        parity = 2;
    else if (parity == 2)
        parity = 1;
    set(PF::kSerialParity, parity);
    set(PF::kSerialParity2, parity);

    const std::uint32_t stopBits = number(text("MODBUS_SLAVE_STOPBITS"), 0);
    set(PF::kSerialStopBits, stopBits);
    set(PF::kSerialStopBits2, stopBits);
    set(PF::kModbusDeviceId, number(text("M_devid"), 1));

    set(PF::kInactivityTimeout, 0);
    if (text("MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY") == "1")
        set(PF::kInactivityTimeout, number(text("MODBUS_SLAVE_TIMEOUT_INACTIVITY"), 0));

    const char* ipNames[4] = {"Ethernet_IP1", "Ethernet_IP2", "Ethernet_IP3", "Ethernet_IP4"};
    const char* subnetNames[4] = {"Ethernet_SM1", "Ethernet_SM2", "Ethernet_SM3", "Ethernet_SM4"};
    const char* gatewayNames[4] = {"Ethernet_GAT1", "Ethernet_GAT2", "Ethernet_GAT3", "Ethernet_GAT4"};
    const std::int32_t ipDefaults[4] = {192, 168, 0, 5};
    const std::int32_t subnetDefaults[4] = {255, 255, 255, 0};
    const std::int32_t gatewayDefaults[4] = {192, 168, 0, 1};
    for (int i = 0; i < 4; ++i) {
        set(PF::kIp[i], number(text(ipNames[i]), ipDefaults[i]));
        set(PF::kSubnet[i], number(text(subnetNames[i]), subnetDefaults[i]));
        set(PF::kGateway[i], number(text(gatewayNames[i]), gatewayDefaults[i]));
    }
    const pugi::xml_node enableGateway = element("Ethernet_EN_GAT");
    if (!enableGateway || elementText(enableGateway) == "0")
        for (int i = 0; i < 4; ++i)
            set(PF::kGateway[i], 255);
    return deviceType;
}

void ParameterBlock::setTableCount(std::size_t k, std::uint32_t count)
{
    if (k < PF::kDirectoryEntries)
        set(PF::kTableCount[k], count);
}

std::uint32_t ParameterBlock::computeChecksum(std::span<const std::uint8_t> bytes)
{
    std::uint32_t sum = 0;
    const std::size_t n = std::min(bytes.size(), kChecksummedBytes);
    for (std::size_t i = 0; i < n; ++i)
        sum += bytes[i];
    return sum;
}

void ParameterBlock::pack()
{
    set(PF::kChecksum, computeChecksum(m_bytes));
}
