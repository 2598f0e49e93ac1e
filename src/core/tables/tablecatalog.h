#pragma once

#include <string_view>
#include <vector>

namespace setforge {

struct TableDefinition;

// The five table definitions in the order of the configuration steps: SDO access, emergency
// access, receive PDO, transmit PDO, node guarding.
const std::vector<const TableDefinition*>& tableDefinitions();

// The definition whose dialog name ("TFNodeGuard") or file name ("NodeGuard.xml", letters
// compared case-insensitively) is `name`, or nullptr.
const TableDefinition* findTableDefinition(std::string_view name);

} // namespace setforge
