#include "core/image/parameterblock.h"

#include <algorithm>
#include <string>

#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/image/imagetext.h"
#include "core/image/tablearea.h"
#include "core/tables/pargenelements.h"

namespace setforge {

namespace PG = ParGenName;

namespace PF = ParameterField;

namespace {

// Where the updater puts the second bank.
constexpr std::uint32_t kBankAddress = 0x310000;

// Each directory entry's address: where its table lies in the loaded bank. An entry without a
// table (1 and 2) points where the next entry's table starts.
constexpr std::array<std::uint32_t, PF::kDirectoryEntries> tableAddresses()
{
    std::array<std::uint32_t, PF::kDirectoryEntries> addresses{};
    std::uint32_t next = kBankAddress + static_cast<std::uint32_t>(kBankSize);
    for (std::size_t k = PF::kDirectoryEntries; k-- > 0;) {
        for (const TableLayout& layout : kBankTables)
            if (layout.directoryEntry == k)
                next = kBankAddress + static_cast<std::uint32_t>(layout.offset);
        addresses[k] = next;
    }
    return addresses;
}
constexpr std::array<std::uint32_t, PF::kDirectoryEntries> kTableAddresses = tableAddresses();

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

constexpr Field kAllFields[] = {PF::kCanBitRate,
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

// Every field lies in the block, before the checksum or as the checksum, none overlapping.
static_assert(fieldsFitRecord(kAllFields, ParameterBlock::kSize),
              "parameter block fields overflow or overlap");
static_assert(PF::kChecksum.offset == ParameterBlock::kChecksummedBytes);

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

    const int deviceType = textToInt(text(PG::kDeviceType), 0);
    set(PF::kCanNodeId, number(text(PG::kCanId), 10));
    // Products are taken modulo 2^32, as the 32-bit fields hold them.
    set(PF::kCanBitRate, number(text(PG::kCanBaud), 1000) * 1000u);

    std::uint32_t flags = 0;
    if (isTrue(element(PG::kOperationalAtStart), PG::kStart))
        flags |= kStartOperational;
    if (isTrue(element(PG::kNetworkStart), PG::kStart))
        flags |= kStartNetwork;
    set(PF::kNetworkStartDelay, number(attribute(element(PG::kNetworkStartDelay), PG::kDelay), 10) * 1000u);
    set(PF::kSdoTimeout, number(text(PG::kSdoTimeout), 10000));
    const pugi::xml_node startOnModbus = element(PG::kNetworkStartModbus);
    if (isTrue(startOnModbus, PG::kStart))
        flags |= kStartOnModbus;
    // The register is the second of two consecutive elements of that name.
    const pugi::xml_node registerElement = startOnModbus ? nextElement(startOnModbus) : pugi::xml_node();
    set(PF::kNetworkStartRegister, number(attribute(registerElement, PG::kAddress), 11));

    const pugi::xml_node guard = element(PG::kNodeGuardFrame);
    if (isTrue(guard, PG::kGuardEnable))
        flags |= kStartNodeGuarding;
    set(PF::kGuardStateRegister1, number(attribute(guard, PG::kGuardRegister1), 12));
    set(PF::kGuardStateRegister2, number(attribute(guard, PG::kGuardRegister2), 13));
    set(PF::kStartFlags, flags);

    const pugi::xml_node sync = element(PG::kSyncProducer);
    set(PF::kSyncEnable, isTrue(sync, PG::kSyncEnable) ? 1 : 0);
    set(PF::kSyncPeriod, number(attribute(sync, PG::kSyncTime), 0) * 1000u);
    set(PF::kConstant1000, 1000);

    std::uint32_t serialFlags = get(PF::kSerialFlags) & ~1u;
    if (text(PG::kModbusSerial) == "0")
        serialFlags |= 1u;
    set(PF::kSerialFlags, serialFlags);

    const std::uint32_t bitRate = serialBitRate(textToInt(text(PG::kModbusBaud), 7));
    set(PF::kSerialBitRate, bitRate);
    set(PF::kSerialBitRate2, bitRate);

    // The file counts 1 even and 2 odd; the device the other way round.
    std::uint32_t parity = number(text(PG::kModbusParity), 0);
    if (parity == 1)
        parity = 2;
    else if (parity == 2)
        parity = 1;
    set(PF::kSerialParity, parity);
    set(PF::kSerialParity2, parity);

    const std::uint32_t stopBits = number(text(PG::kModbusStopBits), 0);
    set(PF::kSerialStopBits, stopBits);
    set(PF::kSerialStopBits2, stopBits);
    set(PF::kModbusDeviceId, number(text(PG::kModbusId), 1));

    set(PF::kInactivityTimeout, 0);
    if (text(PG::kInactivityEnable) == "1")
        set(PF::kInactivityTimeout, number(text(PG::kInactivityTimeout), 0));

    const std::int32_t ipDefaults[4] = {192, 168, 0, 5};
    const std::int32_t subnetDefaults[4] = {255, 255, 255, 0};
    const std::int32_t gatewayDefaults[4] = {192, 168, 0, 1};
    for (int i = 0; i < 4; ++i) {
        set(PF::kIp[i], number(text(PG::kIp[i]), ipDefaults[i]));
        set(PF::kSubnet[i], number(text(PG::kSubnetMask[i]), subnetDefaults[i]));
        set(PF::kGateway[i], number(text(PG::kGateway[i]), gatewayDefaults[i]));
    }
    const pugi::xml_node enableGateway = element(PG::kGatewayEnable);
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

} // namespace setforge
