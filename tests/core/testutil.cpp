#include "testutil.h"

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>

#include "cli/cli.h"
#include "core/base/paths.h"

namespace setforge {

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        m_path = base / ("setforge-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(m_path))
            break;
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::utf8() const
{
    return pathToUtf8(m_path);
}

std::string TempDir::file(const std::string& name) const
{
    return joinPath(utf8(), name);
}

void writeTestFile(const std::string& path, const std::string& content)
{
    std::ofstream out(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out << content;
}

std::string readTestFile(const std::string& path)
{
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void copyFixture(const std::string& relative, const std::filesystem::path& target)
{
    const std::filesystem::path source = std::filesystem::path(SETFORGE_TEST_DATA) / relative;
    std::filesystem::create_directories(target);
    std::filesystem::copy(source, target,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

void setTestEnv(const char* name, const char* value)
{
#ifdef _WIN32
    // An empty value removes the variable on Windows.
    _putenv_s(name, value ? value : "");
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

void useUtcAsLocalTime()
{
    setTestEnv("TZ", "UTC");
#ifdef _WIN32
    _tzset();
#else
    ::tzset();
#endif
}

CliRun runCliInProcess(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.code = runCli(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

} // namespace setforge
