#pragma once

#include <string>
#include <vector>

#include "core/nodes/edsdevice.h"

namespace setforge {

class Grid;

// Whether an EDS entry can fill an SDO access row, whose NByte is 1, 2 or 4.
enum class SdoFit {
    Fits,
    Text,     // VISIBLE_STRING, OCTET_STRING or UNICODE_STRING
    Domain,   // DOMAIN
    Size,     // a fixed size other than 1, 2 or 4 bytes, or no known size
    WriteOnly // access wo: every row reads its object, ReadOnly and ReadWrite alike
};

// The fit of `entry`.
SdoFit sdoFit(const EdsEntry& entry);

// Outcome of filling SDO rows from an entry.
enum class SdoPickOutcome {
    Filled,
    DoesNotFit,   // sdoFit(entry) is not Fits; nothing changed
    NoRoomBelow,  // the high word needs a row below and the last row is used or `row` is the last
    NoFreeAddress // no Modbus address up to 65535 is free for a row; nothing changed
};

// Fills grid row `row` (1..N) of the SDO access table from `entry` of node `nodeId`: Device ID,
// Index as "0x6041", SubIndex in decimal, NByte, R/W ("ReadOnly" for ro and const, otherwise
// "ReadWrite"), Mnemonic := the entry's name, and Hi/Lo Byte 0/1 for one byte, 2/1 for two and
// four. A row without an Address gets the first free one above every address in the table.
// With `alsoHighWord` and a four-byte entry, a row is inserted below with Hi/Lo 4/3, the
// next free Address after the row's, and the name followed by `highWordSuffix`. The rows are
// validated later, as typed rows are.
SdoPickOutcome fillSdoRows(Grid& grid, int row, const EdsEntry& entry, int nodeId, bool alsoHighWord,
                           const std::string& highWordSuffix);

// The same for several entries at once, in their order: the first fills `row` as above, each
// further row (a further entry, or a high word) is inserted below the one before and takes
// the next free Address after it. DoesNotFit when any entry does not fit or `entries` is
// empty; NoRoomBelow unless the grid's last rows, one per inserted row, have no Address.
// Nothing changes unless every row can be filled.
SdoPickOutcome fillSdoRows(Grid& grid, int row, const std::vector<EdsEntry>& entries, int nodeId,
                           bool alsoHighWord, const std::string& highWordSuffix);

} // namespace setforge
