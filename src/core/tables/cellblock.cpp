#include "core/tables/cellblock.h"

namespace setforge {

CellBlock parseCellBlock(std::string_view text)
{
    CellBlock block;
    std::vector<std::string> row;
    std::string cell;
    std::size_t i = 0;
    bool rowOpen = false; // something was read since the last line end
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && cell.empty()) {
            // Quoted cell: up to the closing quote; "" stands for one quote.
            std::size_t j = i + 1;
            std::string quoted;
            bool closed = false;
            while (j < text.size()) {
                if (text[j] == '"') {
                    if (j + 1 < text.size() && text[j + 1] == '"') {
                        quoted += '"';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                quoted += text[j++];
            }
            if (closed) {
                cell = std::move(quoted);
                i = j;
                rowOpen = true;
                continue;
            }
            // No closing quote: the quote is an ordinary character.
        }
        if (c == '\t') {
            row.push_back(std::move(cell));
            cell.clear();
            rowOpen = true;
            ++i;
        } else if (c == '\n' || c == '\r') {
            row.push_back(std::move(cell));
            cell.clear();
            block.push_back(std::move(row));
            row.clear();
            rowOpen = false;
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        } else {
            cell += c;
            rowOpen = true;
            ++i;
        }
    }
    if (rowOpen) {
        row.push_back(std::move(cell));
        block.push_back(std::move(row));
    }
    return block;
}

std::string formatCellBlock(const CellBlock& block)
{
    std::string text;
    for (const std::vector<std::string>& row : block) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += '\t';
            const std::string& cell = row[c];
            const bool quote =
                cell.find_first_of("\t\r\n") != std::string::npos || (!cell.empty() && cell.front() == '"');
            if (!quote) {
                text += cell;
                continue;
            }
            text += '"';
            for (const char ch : cell) {
                if (ch == '"')
                    text += '"';
                text += ch;
            }
            text += '"';
        }
        text += '\n';
    }
    return text;
}

} // namespace setforge
