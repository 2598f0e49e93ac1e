#pragma once

#include <string>

#include "core/tables/projectdocuments.h"

namespace setforge {

class UiTexts;

// What the communication dialog says after a save that changed the device type.
struct VariantSwitchNotice {
    // The message: a heading, what the new variant needs, what it hides. Empty when the two
    // types show the same tables.
    std::string text;
    // True when some transmit PDO has an Address Start and no mapping entries: its block can
    // become its entries (MappingModel::fillFromBlockStarts).
    bool offersMapping = false;
};

// The notice for a switch of Select_Device_Type from `oldType` to `newType`, read the way the
// table dialogs read it (only 1 has the Ethernet port). Each item names, as "rows 1, 4", the
// rows that lack what the new variant needs, or that hold what it hides; at most twelve rows
// are named, then "...". `docs` holds the project as saved, the mapping included.
VariantSwitchNotice variantSwitchNotice(ProjectDocuments& docs, int oldType, int newType,
                                        const UiTexts& texts);

} // namespace setforge
