#pragma once

#include <string>

#include "core/mapping/mappingframe.h"

namespace setforge {

// One receive or transmit PDO as a mapping editor sees it: the texts of its table row as stored.
struct PdoFrame : MappingFrame {
    // Create: a frame without entries. `byteCount` is textToInt(dim, 8).
    PdoFrame(std::string cobId, std::string dim);

    // "cobId<tab>dimension".
    std::string listLine() const override;
    // textToInt of the COB-ID text ("0x285", "645"), when it gives a number from 0 up.
    std::optional<std::uint32_t> cobIdNumber() const override;
    // textToInt of addressStart, when it gives a register number 0..65535.
    std::optional<int> blockStart() const override;

    std::string cobId;        // COB-ID text of the frame's row
    std::string dimension;    // Dimension text of the frame's row
    std::string addressStart; // Address Start text of a transmit PDO's row; empty for a receive PDO
};

} // namespace setforge
