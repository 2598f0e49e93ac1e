#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setforge {

// The folders language files and flags come from: the workspace's LANGUAGE folder and, for
// an installed program, the folder of the languages shipped with it. A file in the
// workspace wins over a shipped file of the same name.
class LanguageFolders {
public:
    // `shippedDir` empty: the workspace's folder alone, as a portable copy has it.
    explicit LanguageFolders(std::string ownDir, std::string shippedDir = {});

    // Path of `fileName` in the first folder that holds it (the workspace's first), or empty.
    std::string find(std::string_view fileName) const;

    // The language files of both folders ("Deutsch.lng"), each name once, sorted as
    // listLanguages sorts one folder. Missing folders add nothing.
    std::vector<std::string> fileNames() const;

    // The flag picture of `languageName`: <name>.bmp from either folder, else DefaultFlag.bmp
    // from either folder, else an empty text (no picture).
    std::string flagPicture(std::string_view languageName) const;

    const std::string& ownDir() const { return m_ownDir; }
    const std::string& shippedDir() const { return m_shippedDir; }

private:
    std::string m_ownDir;
    std::string m_shippedDir;
};

} // namespace setforge
