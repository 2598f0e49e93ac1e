// Test-only child for the crash-safety test: saves every file of crashSafetyFiles() into the
// directory given as its argument, first all in their "old" version, then says "ready" on
// standard output and keeps saving, alternating "new" and "old", until it is killed.

#include <cstdio>
#include <string>

#include "core/base/paths.h"
#include "crashsafetyfiles.h"

using namespace setforge;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: crash_saver <directory>\n");
        return 2;
    }
    const std::string dir = argv[1];
    const auto& files = crashSafetyFiles();
    for (const CrashSafetyFile& f : files) {
        const Result<void> r = f.save(joinPath(dir, f.name), false);
        if (!r) {
            std::fprintf(stderr, "%s\n", r.error().text.c_str());
            return 1;
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (unsigned long round = 1;; ++round) {
        for (const CrashSafetyFile& f : files) {
            const Result<void> r = f.save(joinPath(dir, f.name), round % 2 == 1);
            if (!r) {
                std::fprintf(stderr, "%s\n", r.error().text.c_str());
                return 1;
            }
        }
    }
}
