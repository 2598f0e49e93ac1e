// Compiling every image of a project filled to every table's capacity, and writing the EDS of
// 64 receive and 32 transmit PDOs: the two slow paths of the last configuration steps.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "../tests/core/maximalproject.h"
#include "core/base/projectfiles.h"
#include "core/image/compileimages.h"
#include "core/image/edswriter.h"

namespace setforge {

namespace {

// A maximal project in a temporary folder, made once per process.
const std::string& maximalProjectDir()
{
    static const std::string dir = [] {
        const std::filesystem::path path = std::filesystem::temp_directory_path() / "setforge_bench_maximal";
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        const std::string utf8 = pathToUtf8(path);
        if (!maximal::writeMaximalProject(utf8))
            std::abort();
        return utf8;
    }();
    return dir;
}

void BM_CompileMaximalProject(benchmark::State& state)
{
    const ProjectFiles files = makeProjectFiles(maximalProjectDir());
    for (auto _ : state) {
        CompiledImages images = compileImages(files, nullptr);
        if (!images.ok)
            state.SkipWithError("the maximal project did not compile");
        benchmark::DoNotOptimize(images.plain.bytes.data());
    }
}
BENCHMARK(BM_CompileMaximalProject)->Unit(benchmark::kMillisecond);

// Reading the PDO files and building the text: what writeEdsFile does before the one write.
void BM_BuildEds64Rx32Tx(benchmark::State& state)
{
    const ProjectFiles files = makeProjectFiles(maximalProjectDir());
    const EdsClock clock{2024, 3, 9, 15, 7};
    for (auto _ : state) {
        Result<std::string> eds = buildEds(files, clock);
        if (!eds)
            state.SkipWithError(eds.error().text.c_str());
        else
            benchmark::DoNotOptimize(eds->data());
    }
}
BENCHMARK(BM_BuildEds64Rx32Tx)->Unit(benchmark::kMillisecond);

// The whole EDS step, the atomic write to disk included.
void BM_WriteEds64Rx32Tx(benchmark::State& state)
{
    const ProjectFiles files = makeProjectFiles(maximalProjectDir());
    const std::string out = joinPath(maximalProjectDir(), "bench.eds");
    const EdsClock clock{2024, 3, 9, 15, 7};
    for (auto _ : state) {
        const Result<void> written = writeEdsFile(files, out, clock);
        if (!written)
            state.SkipWithError(written.error().text.c_str());
    }
}
BENCHMARK(BM_WriteEds64Rx32Tx)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace setforge
