#include "core/mapping/pdoframe.h"

#include <utility>

#include "core/base/textint.h"

namespace setforge {

PdoFrame::PdoFrame(std::string cobId, std::string dim) : cobId(std::move(cobId)), dimension(std::move(dim))
{
    // A dimension that is not a number is read as a full eight-byte frame.
    byteCount = textToInt(dimension, 8);
}

std::string PdoFrame::listLine() const
{
    return cobId + '\t' + dimension;
}

std::optional<std::uint32_t> PdoFrame::cobIdNumber() const
{
    const std::int32_t value = textToInt(cobId, -1);
    if (value < 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<int> PdoFrame::blockStart() const
{
    const std::int32_t value = textToInt(addressStart, -1);
    if (value < 0 || value > 65535)
        return std::nullopt;
    return value;
}

} // namespace setforge
