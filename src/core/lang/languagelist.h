#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace setforge {

class UiTexts;

// The language files of the workspace, as the options list them six to a page.

inline constexpr int kLanguageSlots = 6;

// True when Windows file attributes `attributes` hold nothing but the hidden, system,
// archive, normal, sparse and not-content-indexed bits; read-only, compressed, encrypted,
// temporary, offline, reparse-point files and directories are left out of the list.
bool isListableLanguageAttributes(std::uint32_t attributes);

// The file names ("Deutsch.lng") of the language files in `languageDir`, sorted ignoring
// letter case. On Windows a file is listed by its attributes (above) and its extension is
// matched in any case; elsewhere a regular file that can be opened for reading with the
// extension ".lng" exactly. A missing or unreadable directory gives an empty list.
std::vector<std::string> listLanguages(std::string_view languageDir);

// Sorts language file names as listLanguages does: ignoring the case of ASCII letters.
void sortLanguageFileNames(std::vector<std::string>& names);

// The language name of a listed file: the name without its last four characters.
std::string languageNameOf(std::string_view fileName);

// The locale of the GUI toolkit's own texts (standard buttons, file dialogs) for a language
// name: "it" for Italiano, "de" for Deutsch, "fr" for Français (also spelt Francais), letter
// case ignored as file names are on Windows. English and any other name (a user's own
// language file) give an empty text: the toolkit's texts stay English.
std::string toolkitLocaleOf(std::string_view languageName);

// The flag picture of `languageName`: languageDir/<name>.bmp when it exists, else
// languageDir/DefaultFlag.bmp when that exists, else an empty text (no picture).
std::string flagPicturePath(std::string_view languageDir, std::string_view languageName);

// What one page of the list shows.
struct LanguagePage {
    int pageCount = 0;            // (languages + 5) / 6
    bool previousVisible = false; // hidden on page 1
    bool nextVisible = false;     // hidden on the last page (shown, without effect, when there is none)
    int first = 0;                // list index of the first slot
    int slotCount = 0;            // slots shown, 0 to 6
};

// The layout of page `page` (from 1) of a list of `languageCount` languages.
LanguagePage languagePage(int languageCount, int page);

// The page after Next (`forward`) or Previous from `page`: one more while another page
// exists, one less while above 1, else `page` unchanged.
int turnLanguagePage(int languageCount, int page, bool forward);

// The question before a switch: texts 316 + from + 317 + to + 318.
std::string languageQuestion(const UiTexts& texts, std::string_view from, std::string_view to);

} // namespace setforge
