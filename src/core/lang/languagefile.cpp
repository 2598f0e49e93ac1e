#include "core/lang/languagefile.h"

#include <cstdint>

#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/lang/languagefolders.h"
#include "core/lang/uitexts.h"

namespace setforge {

namespace {

void appendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string decodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
        const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
    };
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const std::uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF)
            u = 0xFFFD;
        appendUtf8(out, u);
    }
    return out;
}

bool isValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size())
            return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        i += len;
    }
    return true;
}

// Windows-1252 at 0x80..0x9F; the other high bytes equal their Latin-1 code points.
constexpr std::uint16_t kCp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                           0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

std::string decodeCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0x9F)
            appendUtf8(out, kCp1252High[c - 0x80]);
        else
            appendUtf8(out, c);
    }
    return out;
}

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

constexpr std::string_view kPilcrow = "\xC2\xB6";

void applyLine(UiTexts& texts, std::string_view line)
{
    line = trim(line);
    if (line.substr(0, 3) != "STR")
        return;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return;
    // The character just before "=" (normally a blank) is not part of the index.
    if (eq < 4)
        return;
    const std::string_view indexText = trim(line.substr(3, eq - 1 - 3));
    const std::int32_t index = textToInt(indexText, -1);
    if (index < 0 || index >= UiTexts::kCount)
        return;

    std::string_view text = trim(line.substr(eq + 1));
    if (text.empty())
        return;
    const std::size_t remark = text.find("/#/");
    if (remark != std::string_view::npos) {
        text = trim(text.substr(0, remark));
        if (text.empty())
            return;
    }
    if (text.substr(0, kPilcrow.size()) == kPilcrow)
        text.remove_prefix(kPilcrow.size());
    const std::size_t closing = text.find(kPilcrow);
    if (closing != std::string_view::npos)
        text = text.substr(0, closing);
    texts.set(index, std::string(text));
}

} // namespace

std::string decodeTextFile(std::string_view bytes)
{
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return std::string(bytes.substr(3));
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE")
        return decodeUtf16(bytes.substr(2), false);
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF")
        return decodeUtf16(bytes.substr(2), true);
    if (isValidUtf8(bytes))
        return std::string(bytes);
    return decodeCp1252(bytes);
}

void applyLanguageText(UiTexts& texts, std::string_view utf8)
{
    std::size_t pos = 0;
    while (pos <= utf8.size()) {
        std::size_t end = utf8.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = utf8.size();
        applyLine(texts, utf8.substr(pos, end - pos));
        if (end >= utf8.size())
            break;
        // CR LF is one line end; a lone CR or LF is one too.
        pos = end + ((utf8[end] == '\r' && end + 1 < utf8.size() && utf8[end + 1] == '\n') ? 2 : 1);
    }
}

bool applyLanguageFile(UiTexts& texts, std::string_view utf8Path)
{
    const Result<std::string> bytes = readWholeFile(utf8Path);
    if (!bytes)
        return false;
    applyLanguageText(texts, decodeTextFile(*bytes));
    return true;
}

std::string loadLanguage(UiTexts& texts, std::string_view languageDir, std::string_view languageName)
{
    return loadLanguage(texts, LanguageFolders(std::string(languageDir)), languageName);
}

std::string loadLanguage(UiTexts& texts, const LanguageFolders& folders, std::string_view languageName)
{
    texts.loadDefaults();
    const std::string file = folders.find(std::string(languageName) + ".lng");
    if (!file.empty()) {
        applyLanguageFile(texts, file);
        return std::string(languageName);
    }
    const std::string english = folders.find("English.lng");
    if (!english.empty())
        applyLanguageFile(texts, english);
    return "English";
}

} // namespace setforge
