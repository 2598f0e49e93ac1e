#pragma once

#include <string>
#include <string_view>

namespace setforge {

class LanguageFolders;
class UiTexts;

// Decodes the bytes of a text file to UTF-8: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark
// selects that encoding (the mark is dropped); without a mark, valid UTF-8 stays as it is and
// anything else is read as Windows-1252. Broken UTF-16 units become U+FFFD.
std::string decodeTextFile(std::string_view bytes);

// Applies language-file text (already UTF-8) line by line to `texts`. Lines that do not
// follow the "STRnnn = text" rules are skipped without a word.
void applyLanguageText(UiTexts& texts, std::string_view utf8);

// Reads and applies the language file at `utf8Path`. Returns false when it cannot be read,
// leaving `texts` unchanged.
bool applyLanguageFile(UiTexts& texts, std::string_view utf8Path);

// Loads the texts for `languageName`: defaults first, then `languageDir`/<name>.lng. When
// that file does not exist, the language becomes "English" and English.lng is applied if
// present. Returns the language name in force afterwards.
std::string loadLanguage(UiTexts& texts, std::string_view languageDir, std::string_view languageName);

// The same with the language files of `folders`: the workspace's file wins over a shipped one
// of the same name, and English.lng is looked for in both.
std::string loadLanguage(UiTexts& texts, const LanguageFolders& folders, std::string_view languageName);

} // namespace setforge
