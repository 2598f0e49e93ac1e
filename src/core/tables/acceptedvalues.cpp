#include "core/tables/acceptedvalues.h"

#include <algorithm>

bool AcceptedValues::Check_Already_Used(std::int32_t value) const
{
    if (value < 0 || value > 0xFFFF)
        return false;
    return std::find(Arr_MR_Used.begin(), Arr_MR_Used.end(), static_cast<std::uint16_t>(value)) !=
           Arr_MR_Used.end();
}
