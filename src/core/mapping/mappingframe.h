#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/mapping/registerentry.h"

namespace setforge {

// What every frame of a mapping editor has: its entries and the number of data bytes it offers.
// The frame owns its entries; they keep their creation order and are never sorted.
struct MappingFrame {
    virtual ~MappingFrame() = default;

    // The frame's line in the editor's frame list, its columns separated by tab characters.
    virtual std::string listLine() const = 0;
    // The frame's COB-ID as a number; nothing for a frame without one (an emergency) or whose
    // COB-ID text is not a number from 0 up.
    virtual std::optional<std::uint32_t> cobIdNumber() const { return std::nullopt; }
    // The first register of the frame's own register block (a transmit PDO's Address Start)
    // when its text is a register number 0..65535; nothing for a frame without one.
    virtual std::optional<int> blockStart() const { return std::nullopt; }

    std::vector<RegisterEntry> entries;
    int byteCount = 8;
};

} // namespace setforge
