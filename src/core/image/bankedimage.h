#pragma once

#include "core/image/parameterblock.h"
#include "core/image/tablearea.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

// The banked image: bank1_ESP32.bin (the parameter block) and bank2_ESP32.bin (the tables).
struct BankedImage {
    ParameterBlock parameters;
    TableArea tables;
    int deviceType = 0;
};

// Fills both banks from the project's files, from the defaults on, sets the table directory
// and the checksum, and returns them with the device type. Writes no file. Throws
// CompileStopped for a file that is not well-formed XML and for a table with more entries than
// its capacity ("Too many entries in the RPDO mapping table: 600 (at most 512)").
BankedImage compileBankedImage(ProjectDocuments& docs);

// The refusal of a table that holds `wanted` entries.
std::string tooManyEntriesMessage(const char* tableName, std::size_t wanted, std::size_t capacity);

} // namespace setforge
