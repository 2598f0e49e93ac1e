#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/nodes/edsdevice.h"

namespace setforge {

// One object a PDO's default mapping places in its data.
struct RemotePdoObject {
    std::uint16_t index = 0;
    std::uint8_t subIndex = 0;
    int bits = 0;      // length the mapping gives
    std::string name;  // the entry's ParameterName, "" when the EDS lacks the entry
    int firstByte = 0; // 1-based data byte where it starts (bits rounded down to bytes)
};

// One default PDO of a node as its EDS describes it.
struct RemotePdo {
    bool transmit = false;     // a TPDO of the node (0x1800/0x1A00), else an RPDO (0x1400/0x1600)
    int number = 0;            // 1-based PDO number
    std::uint32_t cobId = 0;   // COB-ID resolved for the node, bits 0..28 (the CAN identifier)
    bool valid = true;         // bit 31 of the COB-ID clear
    int transmissionType = -1; // sub-index 2, -1 when absent
    int eventTimer = -1;       // sub-index 5 in ms, -1 when absent
    int bits = 0;              // sum of the mapped lengths
    std::vector<RemotePdoObject> mapped;
    std::string problem; // why a value could not be read ("" when all read)

    // The length in bytes, rounded up.
    int bytes() const { return (bits + 7) / 8; }
    // False for a PDO the node has switched off (COB-ID bit 31) or that maps no data: no table
    // row can be filled from it.
    bool usable() const { return valid && bits > 0; }
    // The mapped objects' names joined with ", " ("0x6041" for an entry without a name).
    std::string mappedNames() const;
};

// The node's default transmit (`transmit` true) or receive PDOs: one per communication object
// 0x1800+n (0x1400+n) present in `device`, in number order. COB-IDs are resolved for `nodeId`;
// a missing COB-ID takes the predefined connection set's (0x180 + 0x100 x n + node for TPDO1..4,
// 0x200 + 0x100 x n + node for RPDO1..4). The mapping comes from 0x1A00+n (0x1600+n): sub-index
// 0 gives the count, each entry's DefaultValue 0xIIIISSLL the object and its length in bits.
// Sub-index 2 of the communication object gives the transmission type, sub-index 5 the event
// timer.
std::vector<RemotePdo> listDefaultPdos(const EdsDevice& device, bool transmit, int nodeId);

// "Byte 1–2: 0x6041 Statusword" for each mapped object, one text per object, for showing what
// each data byte of the PDO carries.
std::vector<std::string> describePdoBytes(const RemotePdo& pdo);

} // namespace setforge
