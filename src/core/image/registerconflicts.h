#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/projectfiles.h"
#include "core/image/registermap.h"

namespace setforge {

// One use of a Modbus register by a part of the project.
struct RegisterClaim {
    std::uint16_t reg = 0;
    std::string claimant; // "SDO table (sdo.xml row 3)"
};

// A register that more than one part of the project uses, with every claimant in claim order.
struct RegisterConflict {
    std::uint16_t reg = 0;
    std::vector<std::string> claimants;
};

// The claims of a register map (registermap.h), grouped by register in increasing order and,
// within a register, in the order conflict messages list them: SDO table, RPDO mapping, EMCY
// words, TPDO register blocks, TPDO mapping, network start, node guarding; each by row.
std::vector<RegisterClaim> claimsOfRegisterMap(const std::vector<RegisterMapEntry>& map);

// claimsOfRegisterMap(buildRegisterMap(files)): every register the project's files give to the
// device, as the map finds them.
std::vector<RegisterClaim> collectRegisterClaims(const ProjectFiles& files);

// The registers claimed more than once, in increasing register order.
std::vector<RegisterConflict> findRegisterConflicts(const std::vector<RegisterClaim>& claims);

// One line per conflict: "Register 100 is claimed by: A, B".
std::string describeConflict(const RegisterConflict& conflict);

// Valid values that the plain image cannot hold whole and cuts short, one warning each
// (an SDO client timeout above 65535 is kept in 16 bits there).
std::vector<std::string> plainImageWarnings(ProjectDocuments& docs);
std::vector<std::string> plainImageWarnings(const ProjectFiles& files);

} // namespace setforge
