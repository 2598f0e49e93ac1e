#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/projectfiles.h"

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

// Every register the project's files give to the device: the SDO table, the RPDO mapping (rows
// naming an existing RPDO), the emergency words (of existing emergencies), the TPDO register
// blocks (device without Ethernet port only), the TPDO mapping (rows naming an existing TPDO),
// the network start register (when start on Modbus is on) and the two node-guarding state
// registers (when node guarding is on). Values that are not registers 0..65535 are left out: the
// table checks report them. A file that is missing or not well-formed claims nothing; its
// parser error goes to `errors`.
std::vector<RegisterClaim> collectRegisterClaims(const ProjectFiles& files,
                                                 std::vector<std::string>* errors = nullptr);

// The registers claimed more than once, in increasing register order.
std::vector<RegisterConflict> findRegisterConflicts(const std::vector<RegisterClaim>& claims);

// One line per conflict: "Register 100 is claimed by: A, B".
std::string describeConflict(const RegisterConflict& conflict);

// Valid values that the plain image cannot hold whole and cuts short, one warning each
// (an SDO client timeout above 65535 is kept in 16 bits there).
std::vector<std::string> plainImageWarnings(const ProjectFiles& files);

} // namespace setforge
