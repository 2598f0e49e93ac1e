#include "core/report/findinglocation.h"

#include <cctype>

#include "core/tables/projectdocuments.h"
#include "core/tables/tablecatalog.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

using File = ProjectDocuments::File;

bool isWordCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// The digits at the start of `text` as a number (and how many there were), 0 digits for none.
int leadingNumber(std::string_view text, std::size_t& digits)
{
    int value = 0;
    digits = 0;
    while (digits < text.size() && digits < 9 && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        value = value * 10 + (text[digits] - '0');
        ++digits;
    }
    return value;
}

// The project file whose name `text` starts with, followed by `after`; the longest name wins so
// "Transmit_PDO_Define.xml" is never read as a shorter name.
std::string_view fileAtStart(std::string_view text, std::string_view after)
{
    std::string_view best;
    for (int i = 0; i < ProjectDocuments::kFileCount; ++i) {
        const std::string_view name = ProjectDocuments::fileName(static_cast<File>(i));
        if (name.size() > best.size() && text.substr(0, name.size()) == name &&
            text.substr(name.size(), after.size()) == after)
            best = name;
    }
    return best;
}

const TableDefinition* tableOf(std::string_view file)
{
    for (const TableDefinition* table : tableDefinitions())
        if (file == table->fileName)
            return table;
    return nullptr;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// True when `caption` stands in `text` as a whole word (no letter or digit glued to either end).
bool namesCaption(std::string_view text, std::string_view caption)
{
    for (std::size_t at = text.find(caption); at != std::string_view::npos; at = text.find(caption, at + 1)) {
        const std::size_t end = at + caption.size();
        const bool startFree = at == 0 || !isWordCharacter(text[at - 1]) || !isWordCharacter(caption.front());
        const bool endFree =
            end == text.size() || !isWordCharacter(text[end]) || !isWordCharacter(caption.back());
        if (startFree && endFree)
            return true;
    }
    return false;
}

int columnNamed(const TableDefinition& table, std::string_view text, const UiTexts& texts)
{
    int best = -1;
    std::size_t bestLength = 0;
    // Column 0 is the row number, which every text names by its "row".
    for (int column = 1; column < table.columnCount(); ++column) {
        const std::string_view caption = trimmed(texts[table.columnTitleText(column)]);
        if (caption.size() > bestLength && namesCaption(text, caption)) {
            best = column;
            bestLength = caption.size();
        }
    }
    return best;
}

// "<file> row N: rest" or "<file> emergency N word M: rest"; the rest is left in `rest`.
bool readPrefixedRow(std::string_view text, FindingLocation& location, std::string_view& rest)
{
    for (const std::string_view marker : {std::string_view(" row "), std::string_view(" emergency ")}) {
        const std::string_view file = fileAtStart(text, marker);
        if (file.empty())
            continue;
        std::string_view tail = text.substr(file.size() + marker.size());
        std::size_t digits = 0;
        const int row = leadingNumber(tail, digits);
        if (digits == 0)
            continue;
        tail.remove_prefix(digits);
        int word = 0;
        constexpr std::string_view kWord = " word ";
        if (marker == " emergency " && tail.substr(0, kWord.size()) == kWord) {
            word = leadingNumber(tail.substr(kWord.size()), digits);
            if (digits == 0)
                continue;
            tail.remove_prefix(kWord.size() + digits);
        }
        location.file = std::string(file);
        location.row = row;
        location.word = word;
        rest = tail;
        return true;
    }
    return false;
}

// "<file>: rest", with the table's "Error row N" read from the start of the rest.
bool readFileColon(std::string_view text, const UiTexts& texts, FindingLocation& location,
                   std::string_view& rest)
{
    const std::string_view file = fileAtStart(text, ": ");
    if (file.empty())
        return false;
    location.file = std::string(file);
    rest = text.substr(file.size() + 2);
    if (const TableDefinition* table = tableOf(file)) {
        const std::string& rowError = texts[table->rowErrorText()];
        if (!rowError.empty() && rest.substr(0, rowError.size()) == rowError) {
            std::size_t digits = 0;
            const int row = leadingNumber(rest.substr(rowError.size()), digits);
            if (digits > 0) {
                location.row = row;
                rest.remove_prefix(rowError.size() + digits);
            }
        }
    }
    return true;
}

// The first "(<file> row N" inside the text, as a register conflict or a CAN identifier names it.
bool readInnerRow(std::string_view text, FindingLocation& location)
{
    for (std::size_t open = text.find('('); open != std::string_view::npos; open = text.find('(', open + 1)) {
        std::string_view ignored;
        if (readPrefixedRow(text.substr(open + 1), location, ignored))
            return true;
    }
    return false;
}

} // namespace

FindingLocation locateFinding(std::string_view line, const UiTexts& texts)
{
    for (const std::string_view kind : {std::string_view("warning: "), std::string_view("error: ")})
        if (line.substr(0, kind.size()) == kind) {
            line.remove_prefix(kind.size());
            break;
        }
    FindingLocation location;
    std::string_view rest = line;
    if (!readPrefixedRow(line, location, rest) && !readFileColon(line, texts, location, rest) &&
        !readInnerRow(line, location))
        return location;
    if (const TableDefinition* table = tableOf(location.file)) {
        location.column = columnNamed(*table, rest, texts);
        if (location.column >= 0)
            location.columnCaption = std::string(trimmed(texts[table->columnTitleText(location.column)]));
    }
    return location;
}

} // namespace setforge
