#pragma once

#include <string>

namespace setforge {

// Switches Qt's own texts (standard buttons, file dialogs) to the program's language: installs
// the translator qtbase_<locale> from Qt's translations folder for the locale of `languageName`
// (toolkitLocaleOf), removing the one installed before. English, a user's own language and a
// missing translation file leave Qt's texts English. Returns true when a translation is in force
// afterwards. Needs the application object.
bool useToolkitLanguage(const std::string& languageName);

} // namespace setforge
