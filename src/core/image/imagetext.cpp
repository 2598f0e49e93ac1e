#include "core/image/imagetext.h"

#include "core/base/typedinteger.h"

namespace setforge {

std::string_view trimBlanks(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return text.substr(begin, end - begin);
}

std::uint16_t textToWord(std::string_view text, const MessageSink& sink)
{
    if (text.empty())
        return 0xFFFF;
    const Result<std::int32_t> value = readTypedInteger(trimBlanks(text));
    if (!value) {
        if (sink)
            sink({CompileMessage::Kind::Error, kConversionError});
        return 0xFFFF;
    }
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(*value));
}

} // namespace setforge
