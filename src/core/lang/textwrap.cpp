#include "core/lang/textwrap.h"

#include <vector>

namespace setforge {

namespace {

// Code points of UTF-8 text: every byte that is not a continuation byte starts one.
std::size_t characters(std::string_view text)
{
    std::size_t n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

bool isUnit(std::string_view word)
{
    return word == "s" || word == "ms" || word == "s," || word == "ms," || word == "s." || word == "ms." ||
           word == "s)" || word == "ms)";
}

bool endsWithDigit(std::string_view word)
{
    return !word.empty() && word.back() >= '0' && word.back() <= '9';
}

std::string wrapLine(std::string_view line, std::size_t width)
{
    if (characters(line) <= width)
        return std::string(line);
    // Words are split at plain blanks only; a number and its unit are one word here.
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t blank = line.find(' ', start);
        const std::string_view word =
            line.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
        if (!words.empty() && isUnit(word) && endsWithDigit(words.back())) {
            words.back() += ' ';
            words.back() += word;
        } else if (!word.empty())
            words.emplace_back(word);
        if (blank == std::string_view::npos)
            break;
        start = blank + 1;
    }
    std::string wrapped;
    std::size_t used = 0;
    for (const std::string& word : words) {
        const std::size_t size = characters(word);
        if (used > 0 && used + 1 + size > width) {
            wrapped += '\n';
            used = 0;
        } else if (used > 0) {
            wrapped += ' ';
            ++used;
        }
        wrapped += word;
        used += size;
    }
    return wrapped;
}

} // namespace

std::string wrapText(std::string_view text, std::size_t width)
{
    std::string wrapped;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        wrapped += wrapLine(
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start), width);
        if (end == std::string_view::npos)
            break;
        wrapped += '\n';
        start = end + 1;
    }
    return wrapped;
}

} // namespace setforge
