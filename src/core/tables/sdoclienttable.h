#pragma once

#include <cstdint>
#include <string>

struct TableDefinition;

// The SDO access table (TFSDOClient, sdo.xml): 1500 rows tying Modbus registers to objects
// of remote CANopen nodes, with unique addresses and the conf byte.
const TableDefinition& sdoClientTable();

// Column numbers of the SDO access grid.
namespace SdoColumn {
inline constexpr int Address = 1, HiByte = 2, LoByte = 3, ReadWrite = 4, DeviceId = 5, Index = 6,
                     SubIndex = 7, NByte = 8, Mnemonic = 9;
}

// The conf byte of a row: (Hi x 32 + RW x 16 + Lo) modulo 256, Hi and Lo read with default 0,
// RW 1 when the R/W text in upper case is "READWRITE".
std::uint8_t sdoConfByte(const std::string& hiByte, const std::string& loByte, const std::string& readWrite);
