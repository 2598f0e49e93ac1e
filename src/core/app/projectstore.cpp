#include "core/app/projectstore.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#include "core/base/asciitext.h"
#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/lang/textid.h"
#include "core/lang/uitexts.h"

namespace setforge {

namespace {

bool isHidden(const std::filesystem::directory_entry& entry)
{
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(entry.path().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
    const std::string name = pathToUtf8(entry.path().filename());
    return !name.empty() && name.front() == '.';
#endif
}

// The refusal of UI text `textId`, its English text beside the number.
Error refusal(int textId)
{
    Error error = makeError(UiTexts().at(textId));
    error.textId = textId;
    return error;
}

} // namespace

Result<std::string> createProject(std::string_view projectsDir, std::string_view name)
{
    if (name.empty())
        return refusal(TextId::ProjectNameEmpty);
    if (name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos ||
        name == "." || name == "..")
        return refusal(TextId::ProjectNameCannotBeCreated);
    const std::string dir = joinPath(projectsDir, name);
    // A name that differs from a project only in the case of a-z is one project on Windows;
    // on a case-sensitive disk the two would then open each other.
    if (isDirectory(dir) || findProject(listProjects(projectsDir), name) >= 0)
        return refusal(TextId::ProjectNameExists);
    std::error_code ec;
    if (!std::filesystem::create_directory(pathFromUtf8(dir), ec) || ec)
        return refusal(TextId::ProjectNameCannotBeCreated);
    std::filesystem::create_directories(pathFromUtf8(joinPath(dir, "bin")), ec);
    return dir;
}

std::vector<std::string> listProjects(std::string_view projectsDir)
{
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(pathFromUtf8(projectsDir), ec);
    if (ec)
        return names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        std::error_code typeError;
        if (!it->is_directory(typeError) || isHidden(*it))
            continue;
        names.push_back(pathToUtf8(it->path().filename()));
    }
    return names;
}

int findProject(const std::vector<std::string>& list, std::string_view name)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == name)
            return static_cast<int>(i);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (equalsIgnoringAsciiCase(list[i], name))
            return static_cast<int>(i);
    return -1;
}

std::string openProjectName(std::string_view projectsDir, std::string_view projectDir)
{
    if (projectDir.size() <= projectsDir.size() + 1)
        return {};
    return std::string(projectDir.substr(projectsDir.size() + 1));
}

} // namespace setforge
