#pragma once

#include <cstdint>
#include <string>

namespace setforge {

struct TableDefinition;

// The SDO access table (TFSDOClient, sdo.xml): 1500 rows tying Modbus registers to objects
// of remote CANopen nodes, with unique addresses and the conf byte.
const TableDefinition& sdoClientTable();

// Column numbers of the SDO access grid.
namespace SdoColumn {
inline constexpr int Address = 1, HiByte = 2, LoByte = 3, ReadWrite = 4, DeviceId = 5, Index = 6,
                     SubIndex = 7, NByte = 8, Mnemonic = 9;
}

// The attribute of sdo.xml that holds the conf byte of Hi Byte, R/W and Lo Byte together.
inline constexpr const char* kSdoConfAttribute = "conf";

// The conf byte of a row: (Hi x 32 + RW x 16 + Lo) modulo 256, Hi and Lo read with default 0,
// RW 1 when the R/W text in upper case is "READWRITE".
std::uint8_t sdoConfByte(const std::string& hiByte, const std::string& loByte, const std::string& readWrite);

// What the conf byte carries, as the table's cells hold it: Hi Byte from bits 7-5, R/W from
// bit 4, Lo Byte from bits 2-0. Bit 3, which sdoConfByte leaves 0 for cells within 0 … 4, is
// given apart so a reader can tell a conf that no saved row produces.
struct SdoConfParts {
    unsigned hiByte = 0;
    unsigned loByte = 0;
    bool readWrite = false;
    bool bit3 = false;
};

// Splits a conf byte into its parts; the inverse of sdoConfByte for Hi and Lo in 0 … 7.
SdoConfParts splitSdoConf(std::uint8_t conf);

// The R/W cell's text for a conf: "ReadWrite" or "ReadOnly".
const char* sdoReadWriteText(bool readWrite);

} // namespace setforge
