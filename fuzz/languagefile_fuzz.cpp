// A language file of any bytes: decoding keeps valid UTF-8 valid (and unchanged when there is
// no byte-order mark), applying it touches only indexes 0..1599, and every text it sets is a
// piece of one line of the file, cut at the remark and the pilcrows; the whole table must equal
// what the line rules, written out again here, give.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/textint.h"
#include "core/lang/languagefile.h"
#include "core/lang/uitexts.h"
#include "fuzz/support/fuzzcheck.h"

namespace setforge {

namespace {

// Written here on its own, so the decoder's own check is not used to judge the decoder.
bool validUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        std::uint32_t min = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1, min = 0x80, cp = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2, min = 0x800, cp = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3, min = 0x10000, cp = c & 0x07u;
        } else {
            return false;
        }
        if (s.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (t & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

const UiTexts& defaults()
{
    static const UiTexts texts;
    return texts;
}

// The line rules written out once more, plainly, as the judge of the whole table: index ->
// text of the last line that sets it. The index digits are read by textToInt, which the
// integer-reading target checks on its own.
std::map<int, std::string> referenceTexts(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    auto trimmed = [](std::string t) {
        while (!t.empty() && static_cast<unsigned char>(t.back()) <= ' ')
            t.pop_back();
        std::size_t lead = 0;
        while (lead < t.size() && static_cast<unsigned char>(t[lead]) <= ' ')
            ++lead;
        return t.substr(lead);
    };
    const std::string pilcrow = "\xC2\xB6";
    std::map<int, std::string> result;
    for (const std::string& raw : lines) {
        const std::string line = trimmed(raw);
        const std::size_t eq = line.find('=');
        if (line.compare(0, 3, "STR") != 0 || eq == std::string::npos || eq < 4)
            continue;
        const std::int32_t index = textToInt(trimmed(line.substr(3, eq - 4)), -1);
        if (index < 0 || index > 1599)
            continue;
        std::string value = trimmed(line.substr(eq + 1));
        if (value.find("/#/") != std::string::npos)
            value = trimmed(value.substr(0, value.find("/#/")));
        if (value.empty())
            continue;
        if (value.compare(0, pilcrow.size(), pilcrow) == 0)
            value.erase(0, pilcrow.size());
        value = value.substr(0, value.find(pilcrow));
        result[index] = value;
    }
    return result;
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string decoded = decodeTextFile(bytes);

    const bool utf8Mark = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    const bool utf16Mark = bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
    if (!utf8Mark && !utf16Mark && validUtf8(bytes))
        FUZZ_CHECK(decoded == bytes, "valid UTF-8 without a mark must pass unchanged");
    if (utf8Mark)
        FUZZ_CHECK(decoded == bytes.substr(3), "a UTF-8 mark is dropped and nothing else changes");
    else
        FUZZ_CHECK(validUtf8(decoded), "decoding must give valid UTF-8");

    // One working table, put back to the defaults after each input: copying 1600 texts per
    // input would cost more than the code under test.
    static UiTexts texts;
    applyLanguageText(texts, decoded);
    FUZZ_CHECK(texts.at(-1).empty() && texts.at(UiTexts::kCount).empty(), "no entry outside 0..1599");

    const bool decodedValid = validUtf8(decoded);
    std::vector<std::pair<int, std::string>> changed;
    for (int i = 0; i < UiTexts::kCount; ++i) {
        const std::string& text = texts.at(i);
        if (text == defaults().at(i))
            continue;
        changed.emplace_back(i, text);
        FUZZ_CHECK(decoded.find(text) != std::string::npos, "a text must come from the file");
        FUZZ_CHECK(text.find_first_of("\r\n") == std::string::npos, "a text must not span lines");
        FUZZ_CHECK(text.find("/#/") == std::string::npos, "the remark must be cut off");
        FUZZ_CHECK(text.find("\xC2\xB6") == std::string::npos, "pilcrows must not stay in a text");
        if (decodedValid)
            FUZZ_CHECK(validUtf8(text), "cutting a valid text must keep it valid UTF-8");
    }
    if (!changed.empty())
        FUZZ_CHECK(decoded.find("STR") != std::string::npos, "only an STR line changes a text");
    const std::map<int, std::string> expected = referenceTexts(decoded);
    for (int i = 0; i < UiTexts::kCount; ++i) {
        const auto it = expected.find(i);
        FUZZ_CHECK(texts.at(i) == (it != expected.end() ? it->second : defaults().at(i)),
                   "every text must be the one the line rules give");
    }

    // Every line stands alone and a later line wins, so applying the file twice changes nothing more.
    applyLanguageText(texts, decoded);
    std::size_t next = 0;
    for (int i = 0; i < UiTexts::kCount; ++i) {
        const bool wasChanged = next < changed.size() && changed[next].first == i;
        const std::string& expected = wasChanged ? changed[next++].second : defaults().at(i);
        FUZZ_CHECK(texts.at(i) == expected, "applying a file twice must equal applying it once");
    }
    for (const auto& entry : changed)
        texts.set(entry.first, defaults().at(entry.first));
    return 0;
}
