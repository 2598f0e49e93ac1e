#include "core/sim/objectdictionary.h"

#include "core/nodes/edsreader.h"
#include "core/nodes/edsvalue.h"

namespace setforge {

ObjectDictionary ObjectDictionary::fromEds(const EdsDevice& device, int nodeId)
{
    ObjectDictionary dictionary;
    dictionary.m_fromEds = true;
    for (const EdsObject& object : device.objects) {
        for (const EdsEntry& entry : object.entries) {
            const int size = entry.bytes();
            if (size < 1 || size > 8)
                continue;
            Object value;
            value.readOnly = entry.readOnly();
            value.bytes.assign(static_cast<std::size_t>(size), 0);
            const Result<EdsNumber> number = readEdsNumber(resolvedDefault(entry, nodeId), nodeId);
            if (number) {
                // A negative default is stored in two's complement, as the node would hold it.
                const std::uint64_t bits = number->negative ? ~number->value + 1 : number->value;
                for (int i = 0; i < size; ++i)
                    value.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits >> (8 * i));
            }
            dictionary.m_objects[{entry.index, entry.subIndex}] = std::move(value);
        }
    }
    return dictionary;
}

void ObjectDictionary::addZeroObject(std::uint16_t index, std::uint8_t subIndex, int size)
{
    const auto key = std::make_pair(index, subIndex);
    if (m_objects.count(key) != 0)
        return;
    Object object;
    object.bytes.assign(static_cast<std::size_t>(size < 1 ? 1 : (size > 8 ? 8 : size)), 0);
    m_objects[key] = std::move(object);
}

const ObjectDictionary::Object* ObjectDictionary::find(std::uint16_t index, std::uint8_t subIndex) const
{
    const auto it = m_objects.find({index, subIndex});
    return it == m_objects.end() ? nullptr : &it->second;
}

ObjectDictionary::Object* ObjectDictionary::find(std::uint16_t index, std::uint8_t subIndex)
{
    const auto it = m_objects.find({index, subIndex});
    return it == m_objects.end() ? nullptr : &it->second;
}

Result<void> ObjectDictionary::setValue(std::uint16_t index, std::uint8_t subIndex, std::uint64_t value)
{
    Object* object = find(index, subIndex);
    if (!object)
        return makeError("no such object");
    const std::size_t size = object->bytes.size();
    if (size < 8 && (value >> (8 * size)) != 0)
        return makeError("value does not fit the object's " + std::to_string(size) + " bytes");
    for (std::size_t i = 0; i < size; ++i)
        object->bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return {};
}

} // namespace setforge
