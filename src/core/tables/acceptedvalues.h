#pragma once

#include <cstdint>
#include <vector>

// The values a validation has accepted so far for a column that must not repeat
// (`Arr_MR_Used` and its count `Num_MR`). Lives for one validation.
class AcceptedValues {
public:
    // Room for every row of the largest table, so no validation reallocates.
    static constexpr int kCapacity = 1500;

    AcceptedValues() { Arr_MR_Used.reserve(kCapacity); }

    // Forgets every value (Num_MR := 0).
    void reset() { Arr_MR_Used.clear(); }
    // True when `value` is among the values accepted so far; values compare as integers.
    bool Check_Already_Used(std::int32_t value) const;
    // Appends `value` (taken as 16-bit unsigned; callers have checked 0..65535 before).
    void add(std::int32_t value) { Arr_MR_Used.push_back(static_cast<std::uint16_t>(value)); }
    // Num_MR: how many values were accepted.
    int count() const { return static_cast<int>(Arr_MR_Used.size()); }

private:
    std::vector<std::uint16_t> Arr_MR_Used;
};
