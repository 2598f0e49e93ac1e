#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/image/registermap.h"
#include "core/sim/objectdictionary.h"

namespace setforge {

// A transmit PDO as the virtual converter sends it.
struct SimTpdo {
    std::uint32_t cobId = 0;
    int dimension = 0;          // data bytes, 1..8
    bool registerBlock = false; // variant without Ethernet port: sent on every master write
    bool onChange = false;
    bool onTimer = false;
    int timerMs = 0; // period with onTimer; 0 never
};

// A register claim with what serving it needs beyond the register map.
struct SimClaim {
    RegisterMapEntry entry;
    int objectBytes = 0;      // SDO: NByte of the row
    int tpdo = -1;            // TPDO: index into SimConfig::tpdos
    bool sendOnWrite = false; // TPDO mapping entry: "send on Modbus write"
};

// A node of the node guarding table.
struct SimGuardedNode {
    int nodeId = 0;
    int guardTimeMs = 0;
    int lifeTimeFactor = 1;
};

// The project's Modbus slave settings on the serial line.
struct SimModbusSettings {
    int baud = 115200;
    char parity = 'N'; // 'N', 'E' or 'O'
    int stopBits = 1;
    int unitId = 1;
};

// Everything the virtual converter serves, read once from a project; plain data, so a test or
// a fuzz target can build one by hand.
struct SimConfig {
    std::vector<SimClaim> claims; // the register map's order: by register, then source
    std::vector<SimTpdo> tpdos;   // Transmit_Pdo.xml rows
    bool syncOn = false;
    int syncTimeMs = 1000;
    bool guardOn = false;
    std::vector<SimGuardedNode> guarded; // NodeGuard.xml rows, in order
    bool networkStart = false;           // NMT start after networkStartDelayS at the start
    int networkStartDelayS = 0;
    SimModbusSettings modbus;
    std::map<int, ObjectDictionary> nodes; // one per node ID the project names
};

// The project's register claims. The one place the virtual converter asks the register map;
// parser errors of the project's files go to `errors`.
std::vector<RegisterMapEntry> simRegisterClaims(std::string_view projectDir,
                                                std::vector<std::string>& errors);

// Reads the project at `projectDir` and its node catalogue (Nodes.xml and the EDS copies). A
// missing folder, a project file that is not well-formed, or a catalogue or EDS that cannot be
// read gives an Error naming the file. Nothing is written.
Result<SimConfig> loadSimConfig(std::string_view projectDir);

// Applies a starting-values CSV (header "node,index,sub_index,value", numbers decimal or
// 0x-hexadecimal) to `config`'s nodes. A row for index 0, sub-index 0 sets whether the node
// answers node guarding (0 silent, 1 answering) and goes to `silentNodes`. An unknown node or
// object, a value too wide for its object, or a malformed row gives an Error naming `fileName`
// and the line.
Result<void> applySimValues(std::string_view csv, std::string_view fileName, SimConfig& config,
                            std::map<int, bool>& silentNodes);

} // namespace setforge
