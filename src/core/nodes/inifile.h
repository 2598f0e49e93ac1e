#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"

namespace setforge {

// The INI text of an EDS or DCF: sections of "key=value" lines. Section and key names are
// compared without regard to letter case; values keep their text, trimmed of blanks.
class IniFile {
public:
    struct Entry {
        std::string value;
        int line = 0; // 1-based line of the key
    };
    struct Section {
        std::string name;                  // as first written
        int line = 0;                      // 1-based line of the [name] header
        std::map<std::string, Entry> keys; // lower-case key -> entry
    };

    // Reads `text`: LF or CRLF lines, an optional UTF-8 byte order mark, ";" comments on lines
    // of their own, blanks around names, "=" and values. A value that is not valid UTF-8 is
    // taken as Latin-1 and converted. A repeated key keeps its last value; a repeated section
    // adds to the first; each repeat is noted in warnings(). An Error with the reason and the
    // 1-based line for a line that is neither blank, comment, section header nor key=value, or
    // for a NUL byte.
    Result<void> parse(std::string_view text);

    // What parse() read past, in line order, each "line N: ...": repeated sections and keys.
    const std::vector<std::string>& warnings() const { return m_warnings; }

    // How many lines the text has, counting a last line without its line end.
    int lineCount() const { return m_lineCount; }

    // The sections in the order of their first header.
    const std::vector<Section>& sections() const { return m_sections; }

    // The section named `name` (any letter case), or nullptr.
    const Section* find(std::string_view name) const;

    // The entry `key` of `section` (any letter case), or nullptr.
    static const Entry* find(const Section& section, std::string_view key);

private:
    std::vector<Section> m_sections;
    std::map<std::string, std::size_t> m_index; // lower-case name -> position in m_sections
    std::vector<std::string> m_warnings;
    int m_lineCount = 0;
};

// `text` when it is valid UTF-8, otherwise `text` read as Latin-1 and converted to UTF-8.
std::string utf8OrLatin1(std::string_view text);

} // namespace setforge
