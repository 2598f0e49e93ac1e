// Replays saved inputs through a fuzz target without libFuzzer, so the ordinary test build
// (any compiler) runs the seed corpus and every input that once failed on each ctest run.
// Arguments: files or directories (their files, recursively, in name order; names starting
// with "." are skipped). A missing argument is an error, so a renamed folder cannot hide.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace setforge {

namespace {

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& arg)
{
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(arg)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
            if (entry.is_regular_file() && entry.path().filename().string().rfind('.', 0) != 0)
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
    } else {
        files.push_back(arg);
    }
    return files;
}

} // namespace

} // namespace setforge

using namespace setforge;

int main(int argc, char** argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        if (!std::filesystem::exists(arg)) {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
        for (const auto& file : inputsOf(arg)) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "cannot read: %s\n", file.string().c_str());
                return 2;
            }
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
            std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.string().c_str(), bytes.size());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++count;
        }
    }
    std::printf("%zu inputs replayed without a failure\n", count);
    return 0;
}
