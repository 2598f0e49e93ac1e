#include "core/nodes/edsdatatype.h"

#include <cstdio>

namespace setforge {

namespace {

// The codes of CiA 301's static data types and the record types an EDS refers to.
constexpr EdsDataType kDataTypes[] = {
    {0x0001, "BOOLEAN", 1},         {0x0002, "INTEGER8", 1},
    {0x0003, "INTEGER16", 2},       {0x0004, "INTEGER32", 4},
    {0x0005, "UNSIGNED8", 1},       {0x0006, "UNSIGNED16", 2},
    {0x0007, "UNSIGNED32", 4},      {0x0008, "REAL32", 4},
    {0x0009, "VISIBLE_STRING", 0},  {0x000A, "OCTET_STRING", 0},
    {0x000B, "UNICODE_STRING", 0},  {0x000C, "TIME_OF_DAY", 6},
    {0x000D, "TIME_DIFFERENCE", 6}, {0x000F, "DOMAIN", 0},
    {0x0010, "INTEGER24", 3},       {0x0011, "REAL64", 8},
    {0x0012, "INTEGER40", 5},       {0x0013, "INTEGER48", 6},
    {0x0014, "INTEGER56", 7},       {0x0015, "INTEGER64", 8},
    {0x0016, "UNSIGNED24", 3},      {0x0018, "UNSIGNED40", 5},
    {0x0019, "UNSIGNED48", 6},      {0x001A, "UNSIGNED56", 7},
    {0x001B, "UNSIGNED64", 8},      {0x0020, "PDO_COMMUNICATION_PARAMETER", 0},
    {0x0021, "PDO_MAPPING", 0},     {0x0022, "SDO_PARAMETER", 0},
    {0x0023, "IDENTITY", 0},
};

} // namespace

std::optional<EdsDataType> findEdsDataType(std::uint16_t code)
{
    for (const EdsDataType& type : kDataTypes)
        if (type.code == code)
            return type;
    return std::nullopt;
}

std::string edsDataTypeName(std::uint16_t code)
{
    if (const auto type = findEdsDataType(code))
        return type->name;
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(code));
    return text;
}

int edsDataTypeBytes(std::uint16_t code)
{
    const auto type = findEdsDataType(code);
    return type ? type->bytes : 0;
}

bool isEdsStringType(std::uint16_t code)
{
    return code == 0x0009 || code == 0x000A || code == 0x000B || code == 0x000F;
}

} // namespace setforge
