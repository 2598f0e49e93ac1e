#include "core/sim/canframe.h"

#include <initializer_list>

#include <cstdio>

#include "core/base/asciitext.h"
#include "core/base/paths.h"

namespace setforge {

namespace {

// The parts one after the other. Appending, unlike "a" + std::string(b), draws no false
// -Wrestrict warning from GCC 12 at -O3.
std::string joined(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (const std::string_view part : parts)
        text.append(part);
    return text;
}

// The next blank-separated word of `rest`, which loses it.
std::string_view nextWord(std::string_view& rest)
{
    std::size_t start = 0;
    while (start < rest.size() && (rest[start] == ' ' || rest[start] == '\t'))
        ++start;
    std::size_t end = start;
    while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t')
        ++end;
    const std::string_view word = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return word;
}

std::optional<std::int64_t> parseTimeStamp(std::string_view text)
{
    if (text.size() < 3 || text.front() != '(' || text.back() != ')')
        return std::nullopt;
    text = text.substr(1, text.size() - 2);
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    if (whole.empty() || whole.size() > 12 || fraction.size() > 9)
        return std::nullopt;
    std::int64_t seconds = 0;
    for (const char c : whole) {
        if (c < '0' || c > '9')
            return std::nullopt;
        seconds = seconds * 10 + (c - '0');
    }
    std::int64_t micros = 0;
    for (std::size_t i = 0; i < 6; ++i) {
        const char c = i < fraction.size() ? fraction[i] : '0';
        if (c < '0' || c > '9')
            return std::nullopt;
        micros = micros * 10 + (c - '0');
    }
    for (std::size_t i = 6; i < fraction.size(); ++i)
        if (fraction[i] < '0' || fraction[i] > '9')
            return std::nullopt;
    return seconds * 1000000 + micros;
}

} // namespace

std::string candumpTimeText(std::int64_t timeUs)
{
    // Built by hand: MinGW's printf does not take %lld everywhere.
    const std::string micros = std::to_string(timeUs % 1000000);
    return joined({std::to_string(timeUs / 1000000), ".", std::string(6 - micros.size(), '0'), micros});
}

std::string formatCandumpLine(const CanFrame& frame, std::string_view interfaceName)
{
    const std::string head = joined({"(", candumpTimeText(frame.timeUs), ") "});
    char id[16];
    if (frame.id > 0x7FF)
        std::snprintf(id, sizeof id, "%08X#", static_cast<unsigned>(frame.id));
    else
        std::snprintf(id, sizeof id, "%03X#", static_cast<unsigned>(frame.id));
    std::string line = head;
    line += interfaceName;
    line += ' ';
    line += id;
    if (frame.rtr) {
        line += 'R';
        if (frame.rtrLength > 0)
            line += static_cast<char>('0' + frame.rtrLength);
        return line;
    }
    static const char* const kDigits = "0123456789ABCDEF";
    for (const std::uint8_t b : frame.data) {
        line += kDigits[b >> 4];
        line += kDigits[b & 0xF];
    }
    return line;
}

Result<CanFrame> parseCandumpLine(std::string_view line)
{
    std::string_view rest = line;
    const std::string_view stamp = nextWord(rest);
    const std::string_view interfaceName = nextWord(rest);
    const std::string_view body = nextWord(rest);
    const std::string_view direction = nextWord(rest);
    if (!nextWord(rest).empty() ||
        (direction != "" && direction != "R" && direction != "T" && direction != "r" && direction != "t"))
        return makeError("not a candump log line: more than a time stamp, an interface and a frame");
    CanFrame frame;
    const auto time = parseTimeStamp(stamp);
    if (!time)
        return makeError(joined({"bad time stamp '", stamp, "', expected (seconds.microseconds)"}));
    frame.timeUs = *time;
    if (interfaceName.empty() || body.empty())
        return makeError("not a candump log line: expected (time) interface ID#DATA");
    const std::size_t hash = body.find('#');
    if (hash == std::string_view::npos || hash == 0 || hash > 8)
        return makeError(joined({"bad frame '", body, "', expected ID#DATA"}));
    std::uint32_t id = 0;
    for (const char c : body.substr(0, hash)) {
        const int d = hexDigitValue(c);
        if (d < 0)
            return makeError(joined({"bad identifier in '", body, "'"}));
        id = id * 16 + static_cast<std::uint32_t>(d);
    }
    if (hash <= 3 ? id > 0x7FF : id > 0x1FFFFFFF)
        return makeError(joined({"identifier out of range in '", body, "'"}));
    frame.id = id;
    std::string_view data = body.substr(hash + 1);
    if (!data.empty() && data.front() == '#')
        return makeError(joined({"CAN FD frames are not supported: '", body, "'"}));
    if (!data.empty() && (data.front() == 'R' || data.front() == 'r')) {
        frame.rtr = true;
        if (data.size() > 2 || (data.size() == 2 && (data[1] < '0' || data[1] > '8')))
            return makeError(joined({"bad remote request length in '", body, "'"}));
        frame.rtrLength = data.size() == 2 ? static_cast<std::uint8_t>(data[1] - '0') : 0;
        return frame;
    }
    if (data.size() % 2 != 0 || data.size() > 16)
        return makeError(joined({"bad data in '", body, "': 0 to 8 bytes as hexadecimal pairs"}));
    for (std::size_t i = 0; i < data.size(); i += 2) {
        const int hi = hexDigitValue(data[i]);
        const int lo = hexDigitValue(data[i + 1]);
        if (hi < 0 || lo < 0)
            return makeError(joined({"bad data in '", body, "'"}));
        frame.data.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return frame;
}

Result<std::vector<CanFrame>> readCandumpText(std::string_view text, std::string_view fileName)
{
    std::vector<CanFrame> frames;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trimSpacesAndTabs(line);
        if (line.empty() || line.front() == '#')
            continue;
        Result<CanFrame> frame = parseCandumpLine(line);
        if (!frame)
            return makeError(std::string(fileName) + ":" + std::to_string(lineNumber) + ": " +
                                 frame.error().text,
                             std::string(fileName), lineNumber);
        frames.push_back(std::move(frame.value()));
    }
    return frames;
}

Result<std::vector<CanFrame>> readCandumpFile(std::string_view utf8Path)
{
    const Result<std::string> content = readWholeFile(utf8Path);
    if (!content)
        return makeError(content.error().text, std::string(utf8Path));
    return readCandumpText(*content, utf8Path);
}

} // namespace setforge
