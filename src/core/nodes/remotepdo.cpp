#include "core/nodes/remotepdo.h"

#include "core/nodes/edsvalue.h"

namespace setforge {

std::string RemotePdo::mappedNames() const
{
    std::string names;
    for (const RemotePdoObject& object : mapped) {
        if (!names.empty())
            names += ", ";
        names += object.name.empty() ? hexText(object.index, 4) : object.name;
    }
    return names;
}

std::vector<RemotePdo> listDefaultPdos(const EdsDevice& device, bool transmit, int nodeId)
{
    const std::uint16_t communicationBase = transmit ? 0x1800 : 0x1400;
    const std::uint16_t mappingBase = transmit ? 0x1A00 : 0x1600;
    std::vector<RemotePdo> pdos;
    for (int n = 0; n < 512; ++n) {
        const auto commIndex = static_cast<std::uint16_t>(communicationBase + n);
        const EdsObject* communication = device.findObject(commIndex);
        if (communication == nullptr)
            continue;
        RemotePdo pdo;
        pdo.transmit = transmit;
        pdo.number = n + 1;
        std::uint64_t cobId = 0;
        const EdsEntry* cobEntry = device.findEntry(commIndex, 1);
        const Result<EdsNumber> read = cobEntry ? readEdsNumber(cobEntry->defaultValue, nodeId)
                                                : Result<EdsNumber>(makeError("no COB-ID"));
        if (read && !read->negative) {
            cobId = read->value;
        } else {
            if (cobEntry != nullptr)
                pdo.problem = "COB-ID: " + (read ? std::string() : read.error().text);
            if (n < 4)
                cobId = static_cast<std::uint64_t>((transmit ? 0x180 : 0x200) + 0x100 * n + nodeId);
        }
        pdo.cobId = static_cast<std::uint32_t>(cobId & 0x1FFFFFFF);
        pdo.valid = (cobId & 0x80000000u) == 0;
        if (const EdsEntry* type = device.findEntry(commIndex, 2)) {
            const Result<EdsNumber> value = readEdsNumber(type->defaultValue, nodeId);
            if (value && !value->negative && value->value <= 255)
                pdo.transmissionType = static_cast<int>(value->value);
        }
        if (const EdsEntry* timer = device.findEntry(commIndex, 5)) {
            const Result<EdsNumber> value = readEdsNumber(timer->defaultValue, nodeId);
            if (value && !value->negative && value->value <= 65535)
                pdo.eventTimer = static_cast<int>(value->value);
        }
        const auto mapIndex = static_cast<std::uint16_t>(mappingBase + n);
        if (const EdsObject* mapping = device.findObject(mapIndex)) {
            int count = 64;
            if (const EdsEntry* countEntry = device.findEntry(mapIndex, 0)) {
                const Result<EdsNumber> value = readEdsNumber(countEntry->defaultValue, nodeId);
                if (value && !value->negative && value->value <= 64)
                    count = static_cast<int>(value->value);
            }
            for (const EdsEntry& entry : mapping->entries) {
                if (entry.subIndex == 0 || entry.subIndex > count)
                    continue;
                const Result<EdsNumber> read = readEdsNumber(entry.defaultValue, nodeId);
                if (!read || read->negative || read->value == 0 || read->value > 0xFFFFFFFFu)
                    continue;
                const EdsNumber& value = *read;
                RemotePdoObject object;
                object.index = static_cast<std::uint16_t>(value.value >> 16);
                object.subIndex = static_cast<std::uint8_t>((value.value >> 8) & 0xFF);
                object.bits = static_cast<int>(value.value & 0xFF);
                object.firstByte = pdo.bits / 8 + 1;
                if (const EdsEntry* target = device.findEntry(object.index, object.subIndex))
                    object.name = target->name;
                pdo.bits += object.bits;
                pdo.mapped.push_back(std::move(object));
            }
        }
        pdos.push_back(std::move(pdo));
    }
    return pdos;
}

std::vector<std::string> describePdoBytes(const RemotePdo& pdo)
{
    std::vector<std::string> lines;
    for (const RemotePdoObject& object : pdo.mapped) {
        const int last = object.firstByte + (object.bits + 7) / 8 - 1;
        std::string line = "Byte " + std::to_string(object.firstByte);
        if (last > object.firstByte)
            line += "\xE2\x80\x93" + std::to_string(last); // en dash
        line += ": " + hexText(object.index, 4);
        if (object.subIndex != 0) {
            line += '.';
            line += std::to_string(object.subIndex);
        }
        if (!object.name.empty())
            line += " " + object.name;
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace setforge
