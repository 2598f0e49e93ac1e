#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/result.h"
#include "core/nodes/edsdevice.h"

namespace setforge {

// The object dictionary of one simulated remote node: each object's bytes, least significant
// first, and whether an SDO client may write it.
class ObjectDictionary {
public:
    struct Object {
        std::vector<std::uint8_t> bytes; // 1..8 bytes
        bool readOnly = false;           // ro or const in the EDS
    };

    // The dictionary of `device` for node `nodeId`: every entry of a fixed size of 1 to 8 bytes,
    // its DefaultValue ($NODEID resolved) as its bytes; an entry without a default, or with one
    // that is not a number, holds 0.
    static ObjectDictionary fromEds(const EdsDevice& device, int nodeId);

    // Adds `index`/`subIndex` with `size` bytes of 0 when it is not there yet.
    void addZeroObject(std::uint16_t index, std::uint8_t subIndex, int size);

    // The object, or nullptr.
    const Object* find(std::uint16_t index, std::uint8_t subIndex) const;
    Object* find(std::uint16_t index, std::uint8_t subIndex);

    // Sets the object's bytes to `value`, least significant byte first. Refuses a value that
    // does not fit the object's size.
    Result<void> setValue(std::uint16_t index, std::uint8_t subIndex, std::uint64_t value);

    bool fromEdsFile() const { return m_fromEds; }
    std::size_t size() const { return m_objects.size(); }

private:
    std::map<std::pair<std::uint16_t, std::uint8_t>, Object> m_objects;
    bool m_fromEds = false;
};

} // namespace setforge
