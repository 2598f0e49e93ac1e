#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace setforge {

// A fresh temporary directory, removed with its content when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The directory as UTF-8 text.
    std::string utf8() const;
    // UTF-8 path of `name` inside the directory.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

// Writes `content` to `path` as it is (test set-up only; the program itself writes atomically).
void writeTestFile(const std::string& path, const std::string& content);

// The whole content of `path`, or "<missing>" when it cannot be read.
std::string readTestFile(const std::string& path);

// Sets this process's environment variable `name` to `value`, or removes it when `value` is null.
void setTestEnv(const char* name, const char* value);

// Makes local time UTC for this process (TZ=UTC, read again at once).
void useUtcAsLocalTime();

// Copies the fixture tree tests/data/<relative> into `target`.
void copyFixture(const std::string& relative, const std::filesystem::path& target);

// What one in-process run of setforge-cli returned and printed.
struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    std::string all() const { return out + err; }
};

// Runs setforge-cli with `args` (the command first) in this process, capturing both streams.
CliRun runCliInProcess(const std::vector<std::string>& args);

} // namespace setforge
