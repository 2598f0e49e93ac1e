#include "core/image/binarylayout.h"

#include <cstdio>

namespace setforge {

void putField(std::uint8_t* base, const Field& field, std::uint32_t value)
{
    std::uint8_t* p = base + field.offset;
    switch (field.type) {
    case FieldType::U8:
        p[0] = static_cast<std::uint8_t>(value);
        break;
    case FieldType::U16LE:
        p[0] = static_cast<std::uint8_t>(value);
        p[1] = static_cast<std::uint8_t>(value >> 8);
        break;
    case FieldType::U16BE:
        p[0] = static_cast<std::uint8_t>(value >> 8);
        p[1] = static_cast<std::uint8_t>(value);
        break;
    case FieldType::U32LE:
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<std::uint8_t>(value >> (8 * i));
        break;
    case FieldType::U32BE:
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<std::uint8_t>(value >> (8 * (3 - i)));
        break;
    }
}

std::uint32_t getField(const std::uint8_t* base, const Field& field)
{
    const std::uint8_t* p = base + field.offset;
    switch (field.type) {
    case FieldType::U8:
        return p[0];
    case FieldType::U16LE:
        return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
    case FieldType::U16BE:
        return static_cast<std::uint32_t>((p[0] << 8) | p[1]);
    case FieldType::U32LE:
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    case FieldType::U32BE:
        return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
               (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
    }
    return 0;
}

bool putRecord(std::uint8_t* base, const RecordLayout& layout, std::initializer_list<std::uint32_t> values)
{
    if (values.size() != layout.fields.size())
        return false;
    for (std::size_t i = 0; i < layout.size; ++i)
        base[i] = 0;
    std::size_t i = 0;
    for (const std::uint32_t value : values)
        putField(base, layout.fields[i++], value);
    return true;
}

bool appendRecord(std::vector<std::uint8_t>& out, const RecordLayout& layout,
                  std::initializer_list<std::uint32_t> values)
{
    if (values.size() != layout.fields.size())
        return false;
    const std::size_t start = out.size();
    out.resize(start + layout.size);
    return putRecord(out.data() + start, layout, values);
}

std::string describeRecord(const std::uint8_t* base, const RecordLayout& layout)
{
    std::string text;
    for (const Field& field : layout.fields) {
        const std::uint32_t value = getField(base, field);
        char buffer[64];
        if (fieldWidth(field.type) == 1)
            std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(value));
        else
            std::snprintf(buffer, sizeof buffer, "%u (0x%0*X)", static_cast<unsigned>(value),
                          static_cast<int>(2 * fieldWidth(field.type)), static_cast<unsigned>(value));
        if (!text.empty())
            text += ' ';
        text += field.name;
        text += '=';
        text += buffer;
    }
    return text;
}

} // namespace setforge
