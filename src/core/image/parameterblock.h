#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include <pugixml.hpp>

#include "core/image/binarylayout.h"

namespace setforge {

// The fields of the banked image's first bank, all little-endian. Bytes no field names are 0.
namespace ParameterField {
inline constexpr Field kCanBitRate{"CAN bit rate (bit/s)", 0x000, FieldType::U32LE};
inline constexpr Field kSerialBitRate{"serial bit rate (bit/s)", 0x00C, FieldType::U32LE};
inline constexpr Field kSerialDataBits{"serial data bits", 0x010, FieldType::U16LE};
inline constexpr Field kSerialParity{"serial parity code", 0x012, FieldType::U16LE};
inline constexpr Field kSerialStopBits{"serial stop-bit code", 0x014, FieldType::U32LE};
inline constexpr Field kModbusDeviceId{"Modbus device ID", 0x018, FieldType::U32LE};
inline constexpr Field kIp[4] = {{"IP address byte 1", 0x028, FieldType::U8},
                                 {"IP address byte 2", 0x029, FieldType::U8},
                                 {"IP address byte 3", 0x02A, FieldType::U8},
                                 {"IP address byte 4", 0x02B, FieldType::U8}};
inline constexpr Field kSubnet[4] = {{"subnet mask byte 1", 0x02C, FieldType::U8},
                                     {"subnet mask byte 2", 0x02D, FieldType::U8},
                                     {"subnet mask byte 3", 0x02E, FieldType::U8},
                                     {"subnet mask byte 4", 0x02F, FieldType::U8}};
inline constexpr Field kGateway[4] = {{"gateway byte 1", 0x030, FieldType::U8},
                                      {"gateway byte 2", 0x031, FieldType::U8},
                                      {"gateway byte 3", 0x032, FieldType::U8},
                                      {"gateway byte 4", 0x033, FieldType::U8}};
inline constexpr Field kConstant10000{"constant 10000", 0x034, FieldType::U16LE};
inline constexpr Field kSerialBitRate2{"serial bit rate, second copy", 0x03C, FieldType::U32LE};
inline constexpr Field kSerialDataBits2{"serial data bits, second copy", 0x040, FieldType::U16LE};
inline constexpr Field kSerialParity2{"serial parity code, second copy", 0x042, FieldType::U16LE};
inline constexpr Field kSerialStopBits2{"serial stop-bit code, second copy", 0x044, FieldType::U32LE};
inline constexpr Field kSerialFlags{"serial interface flags (bit 0 RS232)", 0x061, FieldType::U8};
inline constexpr Field kCanNodeId{"CANopen node ID", 0x09C, FieldType::U32LE};
inline constexpr Field kStartFlags{"start flags", 0x0A0, FieldType::U32LE};
inline constexpr Field kNetworkStartDelay{"network start delay (ms)", 0x0A4, FieldType::U32LE};
inline constexpr Field kSdoTimeout{"SDO client timeout", 0x0A8, FieldType::U32LE};
inline constexpr Field kNetworkStartRegister{"network start register", 0x0AC, FieldType::U32LE};
inline constexpr Field kGuardStateRegister1{"node guarding state register 1", 0x0B0, FieldType::U32LE};
inline constexpr Field kGuardStateRegister2{"node guarding state register 2", 0x0B4, FieldType::U32LE};
inline constexpr std::size_t kDirectoryEntries = 10;
inline constexpr Field kTableCount[kDirectoryEntries] = {
    {"table 0 count", 0x0B8, FieldType::U32LE}, {"table 1 count", 0x0BC, FieldType::U32LE},
    {"table 2 count", 0x0C0, FieldType::U32LE}, {"table 3 count", 0x0C4, FieldType::U32LE},
    {"table 4 count", 0x0C8, FieldType::U32LE}, {"table 5 count", 0x0CC, FieldType::U32LE},
    {"table 6 count", 0x0D0, FieldType::U32LE}, {"table 7 count", 0x0D4, FieldType::U32LE},
    {"table 8 count", 0x0D8, FieldType::U32LE}, {"table 9 count", 0x0DC, FieldType::U32LE}};
inline constexpr Field kTableAddress[kDirectoryEntries] = {
    {"table 0 address", 0x0E0, FieldType::U32LE}, {"table 1 address", 0x0E4, FieldType::U32LE},
    {"table 2 address", 0x0E8, FieldType::U32LE}, {"table 3 address", 0x0EC, FieldType::U32LE},
    {"table 4 address", 0x0F0, FieldType::U32LE}, {"table 5 address", 0x0F4, FieldType::U32LE},
    {"table 6 address", 0x0F8, FieldType::U32LE}, {"table 7 address", 0x0FC, FieldType::U32LE},
    {"table 8 address", 0x100, FieldType::U32LE}, {"table 9 address", 0x104, FieldType::U32LE}};
inline constexpr Field kSyncEnable{"SYNC producer on", 0x168, FieldType::U32LE};
inline constexpr Field kSyncPeriod{"SYNC period (us)", 0x16C, FieldType::U32LE};
inline constexpr Field kConstant1000{"constant 1000 (ParGen.xml present)", 0x170, FieldType::U32LE};
inline constexpr Field kInactivityTimeout{"Modbus inactivity timeout", 0x17C, FieldType::U32LE};
inline constexpr Field kChecksum{"checksum", 0x7FC, FieldType::U32LE};
} // namespace ParameterField

// Bits of the start flags field.
inline constexpr std::uint32_t kStartOperational = 1u << 0;
inline constexpr std::uint32_t kStartNetwork = 1u << 1;
inline constexpr std::uint32_t kStartOnModbus = 1u << 2;
inline constexpr std::uint32_t kStartNodeGuarding = 1u << 3;

// Every named field of the block in offset order (for dumps).
std::span<const Field> parameterBlockFields();

// The first bank of the banked image: the communication parameters, the table directory and a
// checksum, 2048 bytes.
class ParameterBlock {
public:
    static constexpr std::size_t kSize = 2048;
    // The bytes the checksum sums: every byte before the checksum field.
    static constexpr std::size_t kChecksummedBytes = 0x7FC;

    // Starts with the defaults.
    ParameterBlock() { setDefaults(); }

    // Every byte 0, then the default values, the ten table addresses included.
    void setDefaults();

    // Reads the communication parameters from the root of ParGen.xml into the block. Missing
    // elements, attributes or numbers give each value its own default. Returns the device type.
    int readParGen(const pugi::xml_node& root);

    // Directory entry k (0..9): the number of used entries of that table.
    void setTableCount(std::size_t k, std::uint32_t count);

    // Stores the checksum of the first 0x7FC bytes at 0x7FC.
    void pack();

    // The sum of the first 0x7FC bytes of `bytes` as an unsigned 32-bit number; `bytes` must
    // hold at least that many.
    static std::uint32_t computeChecksum(std::span<const std::uint8_t> bytes);

    std::uint32_t get(const Field& field) const { return getField(m_bytes.data(), field); }
    void set(const Field& field, std::uint32_t value) { putField(m_bytes.data(), field, value); }
    const std::array<std::uint8_t, kSize>& bytes() const { return m_bytes; }

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};

} // namespace setforge
