#include "core/nodes/inifile.h"

#include "core/base/asciitext.h"
namespace setforge {

namespace {

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int more = 0;
        unsigned min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            min = 0x10000;
        } else {
            return false;
        }
        unsigned code = c & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            if (i + static_cast<std::size_t>(k) >= text.size())
                return false;
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

} // namespace

std::string utf8OrLatin1(std::string_view text)
{
    if (isValidUtf8(text))
        return std::string(text);
    std::string result;
    result.reserve(text.size() * 2);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            result += ch;
        } else {
            result += static_cast<char>(0xC0 | (c >> 6));
            result += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return result;
}

Result<void> IniFile::parse(std::string_view text)
{
    const auto fault = [](const char* reason, int line) {
        return makeError(reason, {}, static_cast<std::size_t>(line));
    };
    m_sections.clear();
    m_index.clear();
    m_warnings.clear();
    m_lineCount = 0;
    const auto note = [this](int line, const std::string& text) {
        m_warnings.push_back("line " + std::to_string(line) + ": " + text);
    };
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Section* current = nullptr;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        ++lineNumber;
        m_lineCount = lineNumber;
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find('\0') != std::string_view::npos) {
            return fault("a NUL byte: this is not a text file", lineNumber);
        }
        line = trimSpacesAndTabs(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view rest =
                close == std::string_view::npos ? "" : trimSpacesAndTabs(line.substr(close + 1));
            if (close == std::string_view::npos || (!rest.empty() && rest.front() != ';')) {
                return fault("a section header needs one closing ']'", lineNumber);
            }
            const std::string_view name = trimSpacesAndTabs(line.substr(1, close - 1));
            const std::string key = lowerAscii(name);
            const auto found = m_index.find(key);
            if (found != m_index.end()) {
                current = &m_sections[found->second];
                // Appended piece by piece: GCC 12 at -O3 reports a false overlap in a joined temporary.
                std::string message = "[";
                message += utf8OrLatin1(name);
                message += "] again (first on line ";
                message += std::to_string(current->line);
                message += "); its keys are added to the first";
                note(lineNumber, message);
            } else {
                m_index.emplace(key, m_sections.size());
                m_sections.push_back(Section{utf8OrLatin1(name), lineNumber, {}});
                current = &m_sections.back();
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            return fault("expected a [section], a key=value line or a ';' comment", lineNumber);
        }
        if (current == nullptr) {
            return fault("a key=value line before the first [section]", lineNumber);
        }
        const std::string_view keyName = trimSpacesAndTabs(line.substr(0, equals));
        const std::string key = lowerAscii(keyName);
        Entry entry{utf8OrLatin1(trimSpacesAndTabs(line.substr(equals + 1))), lineNumber};
        const auto [place, added] = current->keys.try_emplace(key, entry);
        if (!added) {
            note(lineNumber, "[" + current->name + "] " + utf8OrLatin1(keyName) + " again (first on line " +
                                 std::to_string(place->second.line) + "); the last value counts");
            place->second = std::move(entry);
        }
    }
    return {};
}

const IniFile::Section* IniFile::find(std::string_view name) const
{
    const auto found = m_index.find(lowerAscii(name));
    return found == m_index.end() ? nullptr : &m_sections[found->second];
}

const IniFile::Entry* IniFile::find(const Section& section, std::string_view key)
{
    const auto found = section.keys.find(lowerAscii(key));
    return found == section.keys.end() ? nullptr : &found->second;
}

} // namespace setforge
