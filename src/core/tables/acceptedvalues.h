#pragma once

#include <cstdint>
#include <vector>

namespace setforge {

// The values a validation has accepted so far for a column that must not repeat
// (`m_values`). Lives for one validation.
class AcceptedValues {
public:
    // Room for every row of the largest table, so no validation reallocates.
    static constexpr int kCapacity = 1500;

    AcceptedValues() { m_values.reserve(kCapacity); }

    // Forgets every value.
    void reset() { m_values.clear(); }
    // True when `value` is among the values accepted so far; values compare as integers.
    bool isUsed(std::int32_t value) const;
    // Appends `value` (taken as 16-bit unsigned; callers have checked 0..65535 before).
    void add(std::int32_t value) { m_values.push_back(static_cast<std::uint16_t>(value)); }
    // How many values were accepted.
    int count() const { return static_cast<int>(m_values.size()); }

private:
    std::vector<std::uint16_t> m_values;
};

} // namespace setforge
