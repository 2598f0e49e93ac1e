#include "core/base/paths.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace setforge {

std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string pathToUtf8(const std::filesystem::path& path)
{
    const std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string joinPath(std::string_view dir, std::string_view name)
{
    std::string result(dir);
    result += static_cast<char>(std::filesystem::path::preferred_separator);
    result += name;
    return result;
}

bool isDirectory(std::string_view utf8)
{
    std::error_code ec;
    return std::filesystem::is_directory(pathFromUtf8(utf8), ec);
}

bool isRegularFile(std::string_view utf8)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(pathFromUtf8(utf8), ec);
}

bool pathExists(std::string_view utf8)
{
    std::error_code ec;
    return std::filesystem::exists(pathFromUtf8(utf8), ec);
}

Result<std::string> readWholeFile(std::string_view utf8)
{
    const std::filesystem::path path = pathFromUtf8(utf8);
    const std::string name(utf8);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return makeError(std::make_error_code(std::errc::is_a_directory).message() + ": " + name, name);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return makeError(std::string(std::strerror(errno)) + ": " + name, name);
    std::string content(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
    if (in.bad())
        return makeError(std::string(std::strerror(errno)) + ": " + name, name);
    return content;
}

} // namespace setforge
