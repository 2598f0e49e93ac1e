#pragma once

#include <string>
#include <vector>

#include "core/base/projectfiles.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

// The mappings point at PDOs and emergencies by position only, so inserting or deleting a table
// row leaves them pointing at the wrong frame or at none. Returns one warning per mapping row
// (sdopdo.xml, Transmit_PDO_Define.xml, emcyword.xml) that names a PDO or emergency that does
// not exist, saying which image keeps or drops it, and one per row that takes a byte beyond its PDO's
// Dimension or beyond the 5 bytes of an emergency. Rows of a PDO whose Dimension is not 1..8 are not examined
// for bytes (the table check reports it). Missing or unreadable files give no warning.
std::vector<std::string> mappingIntegrityWarnings(ProjectDocuments& docs);
std::vector<std::string> mappingIntegrityWarnings(const ProjectFiles& files);

} // namespace setforge
