#include "core/lang/languagefolders.h"

#include <algorithm>
#include <utility>

#include "core/base/paths.h"
#include "core/lang/languagelist.h"

namespace setforge {

LanguageFolders::LanguageFolders(std::string ownDir, std::string shippedDir)
    : m_ownDir(std::move(ownDir)), m_shippedDir(std::move(shippedDir))
{
}

std::string LanguageFolders::find(std::string_view fileName) const
{
    for (const std::string* dir : {&m_ownDir, &m_shippedDir}) {
        if (dir->empty())
            continue;
        const std::string path = joinPath(*dir, fileName);
        if (pathExists(path))
            return path;
    }
    return {};
}

std::vector<std::string> LanguageFolders::fileNames() const
{
    std::vector<std::string> names = listLanguages(m_ownDir);
    if (m_shippedDir.empty())
        return names;
    for (std::string& shipped : listLanguages(m_shippedDir)) {
        if (std::find(names.begin(), names.end(), shipped) == names.end())
            names.push_back(std::move(shipped));
    }
    sortLanguageFileNames(names);
    return names;
}

std::string LanguageFolders::flagPicture(std::string_view languageName) const
{
    const std::string own = find(std::string(languageName) + ".bmp");
    return own.empty() ? find("DefaultFlag.bmp") : own;
}

} // namespace setforge
