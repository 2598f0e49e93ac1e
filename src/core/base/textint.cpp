#include "core/base/textint.h"

#include "core/base/typedinteger.h"

namespace setforge {

std::int32_t textToInt(std::string_view text, std::int32_t def)
{
    const Result<std::int32_t> value = readTypedInteger(text);
    return value ? *value : def;
}

} // namespace setforge
