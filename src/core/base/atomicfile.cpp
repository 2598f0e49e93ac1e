#include "core/base/atomicfile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "core/base/paths.h"

namespace setforge {

namespace {

Result<void> failure(const std::string& what, std::string_view path)
{
    return makeError(what + ": " + std::string(path), std::string(path));
}

std::string temporaryName(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
#ifdef _WIN32
    // Two programs saving into one folder at the same tick must not share a temporary name.
    const long pid = static_cast<long>(::_getpid());
#else
    const long pid = static_cast<long>(::getpid());
#endif
    // At most 32 plain ASCII characters of the target's name: the temporary name must stay
    // short, so a target whose own name is near the file system's limit can still be saved.
    std::string stem;
    for (char c : pathToUtf8(target.filename()))
        if (stem.size() < 32 && c > ' ' && c < 0x7F)
            stem += c;
    return stem + ".tmp" + std::to_string(pid) + "_" +
           std::to_string(static_cast<unsigned long long>(stamp) % 1000000007ull) + "_" +
           std::to_string(counter++);
}

#ifndef _WIN32
// The rename is only durable once the directory entry itself reaches the disk.
void syncDirectory(const std::filesystem::path& dir)
{
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

// A file the user marked read-only (no write bit; the read-only attribute on Windows) is kept:
// the rename would replace it on Linux and fail with a vague text on Windows.
bool isReadOnlyFile(const std::filesystem::path& path)
{
    using std::filesystem::perms;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status))
        return false;
    return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) ==
           perms::none;
}

} // namespace

Result<void> writeFileAtomic(std::string_view utf8Path, std::string_view content)
{
    const std::filesystem::path target = pathFromUtf8(utf8Path);
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec))
        return failure(std::make_error_code(std::errc::is_a_directory).message(), utf8Path);
    if (isReadOnlyFile(target))
        return failure("the file is read-only", utf8Path);

    const std::filesystem::path dir = target.parent_path();
    const std::filesystem::path temp = dir / pathFromUtf8(temporaryName(target));

#ifdef _WIN32
    std::FILE* file = _wfopen(temp.c_str(), L"wb");
#else
    std::FILE* file = std::fopen(temp.c_str(), "wb");
#endif
    if (!file)
        return failure(std::strerror(errno), utf8Path);

    bool ok = content.empty() || std::fwrite(content.data(), 1, content.size(), file) == content.size();
    int savedErrno = ok ? 0 : errno;
    if (ok && std::fflush(file) != 0) {
        ok = false;
        savedErrno = errno;
    }
#ifdef _WIN32
    if (ok && _commit(_fileno(file)) != 0) {
        ok = false;
        savedErrno = errno;
    }
#else
    if (ok && ::fsync(fileno(file)) != 0) {
        ok = false;
        savedErrno = errno;
    }
#endif
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        std::filesystem::remove(temp, ec);
        return failure(std::strerror(savedErrno ? savedErrno : EIO), utf8Path);
    }

    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return failure(ec.message(), utf8Path);
    }
#ifndef _WIN32
    syncDirectory(dir);
#endif
    return {};
}

} // namespace setforge
