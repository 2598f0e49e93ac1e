#include "core/nodes/edsdevice.h"

#include <algorithm>

#include "core/nodes/edsdatatype.h"

namespace setforge {

int EdsEntry::bytes() const
{
    return edsDataTypeBytes(dataType);
}

const EdsObject* EdsDevice::findObject(std::uint16_t index) const
{
    const auto found = std::lower_bound(objects.begin(), objects.end(), index,
                                        [](const EdsObject& o, std::uint16_t i) { return o.index < i; });
    return found != objects.end() && found->index == index ? &*found : nullptr;
}

const EdsEntry* EdsDevice::findEntry(std::uint16_t index, std::uint8_t subIndex) const
{
    const EdsObject* object = findObject(index);
    if (object == nullptr)
        return nullptr;
    for (const EdsEntry& entry : object->entries)
        if (entry.subIndex == subIndex)
            return &entry;
    return nullptr;
}

} // namespace setforge
