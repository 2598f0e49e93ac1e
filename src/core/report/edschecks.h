#pragma once

#include <string>
#include <vector>

#include "core/tables/projectdocuments.h"

namespace setforge {

// The project against the EDS of each node in its catalogue (Nodes.xml beside ParGen.xml):
//  - an SDO row of a catalogued node whose object or sub-index the EDS lacks, whose NByte is not
//    the object's size, that is ReadWrite on an ro or const object, or that reads a wo object;
//  - a receive PDO whose COB-ID is a transmit PDO of a catalogued node with another length, and
//    a transmit PDO whose COB-ID is a receive PDO of one with another length;
//  - such a PDO that the node's EDS makes synchronous (transmission type 0..240) while the
//    SYNC producer is off in ParGen.xml.
// One line per finding, "<file> row N: ...", with what to do. Nodes without an EDS, and
// catalogues or EDS files that cannot be read, are skipped silently (the nodes window reports
// those); an unreadable ParGen.xml skips the SYNC check only.
std::vector<std::string> edsCatalogueWarnings(ProjectDocuments& docs);

} // namespace setforge
