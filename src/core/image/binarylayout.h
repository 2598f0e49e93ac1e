#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace setforge {

// How one field of a binary record is stored.
enum class FieldType { U8, U16LE, U16BE, U32LE, U32BE };

// One field of a binary record: its name (for dumps), its byte offset in the record and its type.
struct Field {
    const char* name;
    std::size_t offset;
    FieldType type;
};

// A record type: its fields and its total size in bytes (bytes no field names are 0).
struct RecordLayout {
    const char* name;
    std::span<const Field> fields;
    std::size_t size;
};

// Width of a field type in bytes.
constexpr std::size_t fieldWidth(FieldType type)
{
    switch (type) {
    case FieldType::U8:
        return 1;
    case FieldType::U16LE:
    case FieldType::U16BE:
        return 2;
    case FieldType::U32LE:
    case FieldType::U32BE:
        return 4;
    }
    return 0;
}

// True when every field lies inside a record of `size` bytes and no two fields share a byte.
// Layouts are checked with this at compile time, next to where they are written.
constexpr bool fieldsFitRecord(std::span<const Field> fields, std::size_t size)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t begin = fields[i].offset;
        const std::size_t end = begin + fieldWidth(fields[i].type);
        if (fieldWidth(fields[i].type) == 0 || end > size)
            return false;
        for (std::size_t j = i + 1; j < fields.size(); ++j) {
            const std::size_t otherBegin = fields[j].offset;
            const std::size_t otherEnd = otherBegin + fieldWidth(fields[j].type);
            if (begin < otherEnd && otherBegin < end)
                return false;
        }
    }
    return true;
}

// Stores the low bits of `value` that the field's width holds, in the field's byte order, at
// `base` + the field's offset. The caller guarantees the bytes exist.
void putField(std::uint8_t* base, const Field& field, std::uint32_t value);

// Reads a field stored by putField.
std::uint32_t getField(const std::uint8_t* base, const Field& field);

// Writes one record at `base`: `values` in the order of the layout's fields, the other bytes 0.
// Refuses a list that does not hold exactly one value per field: returns false and writes
// nothing, so a value can never land in the wrong field.
bool putRecord(std::uint8_t* base, const RecordLayout& layout, std::initializer_list<std::uint32_t> values);

// Appends one record to `out` (see putRecord); on a wrong number of values returns false and
// appends nothing.
bool appendRecord(std::vector<std::uint8_t>& out, const RecordLayout& layout,
                  std::initializer_list<std::uint32_t> values);

// "name=value" pairs of one stored record, for dumps: "IndexA=100 conf=65 ...", values in decimal
// and, for 16- and 32-bit fields, also in hexadecimal.
std::string describeRecord(const std::uint8_t* base, const RecordLayout& layout);

} // namespace setforge
