#include "core/base/result.h"

namespace setforge {

std::string Error::describe() const
{
    if (file.empty() || text.find(file) != std::string::npos)
        return text;
    std::string where = file;
    if (line)
        where += ':' + std::to_string(*line);
    return where + ": " + text;
}

} // namespace setforge
