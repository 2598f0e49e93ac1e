#pragma once

#include <string>
#include <vector>

#include "core/base/projectfiles.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

// Warnings about the CAN identifiers of the two PDO tables: one per COB-ID that more than one
// PDO uses (within a table or across both), in increasing COB-ID order; then, for each PDO in
// table order (receive, then transmit), one per predefined identifier its COB-ID equals: NMT
// 0x000, SYNC 0x080, TIME 0x100, or the SDO request 0x600 + node and response 0x580 + node of a
// node of the SDO table, the EMCY 0x080 + node of a node of the emergency table, the node
// guarding 0x700 + node of a node of the node-guarding table. Rows whose COB-ID or node is not
// a number are skipped; missing or unreadable files give no warning.
std::vector<std::string> canIdentifierWarnings(ProjectDocuments& docs);
// The same over the files at `files`, each read once.
std::vector<std::string> canIdentifierWarnings(const ProjectFiles& files);

} // namespace setforge
