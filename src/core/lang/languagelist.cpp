#include "core/lang/languagelist.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#include "core/base/paths.h"
#include "core/lang/textid.h"
#include "core/lang/uitexts.h"

namespace setforge {

namespace {

// Windows attribute bits that do not keep a file out of the list.
constexpr std::uint32_t kAttrHidden = 0x0002;
constexpr std::uint32_t kAttrSystem = 0x0004;
constexpr std::uint32_t kAttrArchive = 0x0020;
constexpr std::uint32_t kAttrNormal = 0x0080;
constexpr std::uint32_t kAttrSparse = 0x0200;
constexpr std::uint32_t kAttrNotContentIndexed = 0x2000;
constexpr std::uint32_t kListableAttributes =
    kAttrHidden | kAttrSystem | kAttrArchive | kAttrNormal | kAttrSparse | kAttrNotContentIndexed;

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte order after folding ASCII letters, so UTF-8 names sort after plain ASCII ones.
bool lessFolded(char x, char y)
{
    return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
}

bool hasLanguageExtension(std::string_view name)
{
    constexpr std::string_view ext = ".lng";
    if (name.size() < ext.size())
        return false;
    const std::string_view tail = name.substr(name.size() - ext.size());
#ifdef _WIN32
    // Windows names ignore case, and the loader finds "Deutsch.LNG" as "Deutsch.lng".
    return std::equal(tail.begin(), tail.end(), ext.begin(),
                      [](char a, char b) { return lowerAscii(a) == b; });
#else
    // Elsewhere the loader asks for "<name>.lng" exactly, so only that spelling is usable.
    return tail == ext;
#endif
}

bool isListableFile(const std::filesystem::path& path)
{
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && isListableLanguageAttributes(attributes);
#else
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream probe(path, std::ios::binary);
    return probe.is_open();
#endif
}

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lessFolded);
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lessFolded);
    // Names equal but for case still get one fixed order.
    return less || (!greater &&
                    std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                    }));
}

} // namespace

bool isListableLanguageAttributes(std::uint32_t attributes)
{
    return (attributes & ~kListableAttributes) == 0;
}

std::vector<std::string> listLanguages(std::string_view languageDir)
{
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(pathFromUtf8(languageDir), ec);
    if (ec)
        return names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        const std::string name = pathToUtf8(it->path().filename());
        if (hasLanguageExtension(name) && isListableFile(it->path()))
            names.push_back(name);
    }
    sortLanguageFileNames(names);
    return names;
}

void sortLanguageFileNames(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), lessIgnoringCase);
}

std::string languageNameOf(std::string_view fileName)
{
    return std::string(fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0));
}

std::string flagPicturePath(std::string_view languageDir, std::string_view languageName)
{
    const std::string own = joinPath(languageDir, std::string(languageName) + ".bmp");
    if (pathExists(own))
        return own;
    const std::string fallback = joinPath(languageDir, "DefaultFlag.bmp");
    if (pathExists(fallback))
        return fallback;
    return {};
}

LanguagePage languagePage(int languageCount, int page)
{
    LanguagePage result;
    result.pageCount = (languageCount + kLanguageSlots - 1) / kLanguageSlots;
    result.previousVisible = page != 1;
    result.nextVisible = page != result.pageCount;
    result.first = (page - 1) * kLanguageSlots;
    result.slotCount = std::clamp(languageCount - result.first, 0, kLanguageSlots);
    return result;
}

int turnLanguagePage(int languageCount, int page, bool forward)
{
    const int pageCount = languagePage(languageCount, page).pageCount;
    if (forward)
        return pageCount >= page + 1 ? page + 1 : page;
    return page - 1 > 0 ? page - 1 : page;
}

std::string languageQuestion(const UiTexts& texts, std::string_view from, std::string_view to)
{
    return texts[TextId::ChangeLanguageFrom] + std::string(from) + texts[TextId::ChangeLanguageTo] +
           std::string(to) + texts[TextId::ChangeLanguageEnd];
}

std::string toolkitLocaleOf(std::string_view languageName)
{
    std::string lower(languageName);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    struct Known {
        std::string_view name;
        const char* locale;
    };
    // The languages the program ships. "Français" comes in UTF-8, as file names are read; the
    // folding above leaves its Ç alone, so the upper-case spelling is listed too.
    static constexpr std::string_view kFrancais = "fran\xC3\xA7"
                                                  "ais";
    static constexpr std::string_view kFrancaisUpperC = "fran\xC3\x87"
                                                        "ais";
    static constexpr Known kKnown[] = {{"italiano", "it"},
                                       {"deutsch", "de"},
                                       {kFrancais, "fr"},
                                       {kFrancaisUpperC, "fr"},
                                       {"francais", "fr"}};
    for (const Known& known : kKnown)
        if (lower == known.name)
            return known.locale;
    return {};
}

} // namespace setforge
