#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/base/projectfiles.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

// Where a register claim comes from. The order is the report's sort order after the register.
enum class ClaimSource { Sdo, Rpdo, Tpdo, Emcy, NodeGuarding, NetworkStart };

// What the Modbus master does with a register.
enum class RegisterAccess { Read, Write, ReadWrite };

// One use of a Modbus register, with everything a Modbus master programmer needs to know.
struct RegisterMapEntry {
    std::uint16_t reg = 0;
    ClaimSource source = ClaimSource::Sdo;
    std::string file; // project file name, "sdo.xml"
    std::string row;  // 1-based row as `check` numbers it; "2.1" = emergency 2, word 1; "" for ParGen.xml
    std::size_t rowNumber = 0; // the row (the emergency for words) as a number, for sorting; 0 for none
    std::size_t subNumber = 0; // the word of an emergency, 0 otherwise
    RegisterAccess access = RegisterAccess::Read;
    std::optional<int> nodeId; // SDO: remote node; EMCY: sending node
    std::string object;        // SDO: "0x6041:0"; EMCY: the error code "0x8130"
    std::optional<int> cobId;  // PDO COB-ID; EMCY: 0x80 + node
    int highByte = 0;      // source byte (object byte for SDO, frame byte otherwise) of the high byte; 0 none
    int lowByte = 0;       // the same for the low byte
    std::string mnemonic;  // the row's mnemonic as typed ("" where the table has none)
    bool conflict = false; // another entry claims the same register
};

// Every register claim of the project, sorted by register, then source, then row: the SDO
// table, the RPDO mapping (rows naming an existing RPDO), the emergency words (of existing
// emergencies), the TPDO register blocks (device without Ethernet port only), the TPDO mapping
// (device with Ethernet port only, rows naming an existing TPDO), the network start register (when start on
// Modbus is on) and the two node-guarding state registers (when node guarding is on). Values that are not
// registers 0..65535 are left out: the table checks report them. Mapping rows naming a PDO or
// emergency that does not exist claim nothing (the mapping warnings report them). A file that
// is missing, unreadable or not well-formed claims nothing. This is the one walk of the claims:
// the conflict check (registerconflicts.h) is derived from it.
std::vector<RegisterMapEntry> buildRegisterMap(ProjectDocuments& docs);
// The same over the files at `files`, each read once.
std::vector<RegisterMapEntry> buildRegisterMap(const ProjectFiles& files);

// "SDO", "RPDO", "TPDO", "EMCY", "node guarding", "network start".
const char* claimSourceName(ClaimSource source);

// "read", "write", "read/write".
const char* registerAccessName(RegisterAccess access);

// "0x0064" for 100: four hexadecimal digits, upper case.
std::string hex4(unsigned value);

// "0x181" for 385: at least three hexadecimal digits, upper case.
std::string hexCobId(unsigned value);

} // namespace setforge
