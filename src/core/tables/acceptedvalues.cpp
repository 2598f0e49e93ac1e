#include "core/tables/acceptedvalues.h"

#include <algorithm>

namespace setforge {

bool AcceptedValues::isUsed(std::int32_t value) const
{
    if (value < 0 || value > 0xFFFF)
        return false;
    return std::find(m_values.begin(), m_values.end(), static_cast<std::uint16_t>(value)) != m_values.end();
}

} // namespace setforge
