#include "cli/sourcedate.h"

#include <cstdlib>
#include <string>

namespace setforge {

bool sourceDateTime(std::time_t& when)
{
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch) {
        when = std::time(nullptr);
        return true;
    }
    const std::string text = epoch;
    // 18 digits stay well inside a 64-bit time_t.
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    when = static_cast<std::time_t>(std::stoll(text));
    return true;
}

} // namespace setforge
