#pragma once

#include <ctime>

namespace setforge {

// The instant of SOURCE_DATE_EPOCH (seconds since 1970) in `when`, or the current time when it
// is not set. False, with `when` unchanged, when it is set but not a number.
bool sourceDateTime(std::time_t& when);

} // namespace setforge
