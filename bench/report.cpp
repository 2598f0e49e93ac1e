// The register map report of a project filled to every table's capacity: the CSV (the register
// map alone) and the HTML page (the map, every table and every check), with and without the
// atomic write to disk.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "../tests/core/maximalproject.h"
#include "core/base/projectfiles.h"
#include "core/image/registermap.h"
#include "core/report/csvreport.h"
#include "core/report/htmlreport.h"
#include "core/report/projectcheck.h"
#include "core/report/projectreport.h"

namespace setforge {

namespace {

// A fixed instant, so every page is the same.
constexpr std::time_t kStamp = 1765324800;

const std::string& maximalProjectDir()
{
    static const std::string dir = [] {
        const std::filesystem::path path = std::filesystem::temp_directory_path() / "setforge_bench_report";
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        const std::string utf8 = pathToUtf8(path);
        if (!maximal::writeMaximalProject(utf8))
            std::abort();
        return utf8;
    }();
    return dir;
}

const UiTexts& texts()
{
    static const UiTexts t;
    return t;
}

void BM_ReportCsvMaximal(benchmark::State& state)
{
    const ProjectFiles files = makeProjectFiles(maximalProjectDir());
    std::size_t entries = 0;
    for (auto _ : state) {
        const std::vector<RegisterMapEntry> map = buildRegisterMap(files);
        std::string csv = renderCsvReport(map);
        entries = map.size();
        benchmark::DoNotOptimize(csv.data());
    }
    state.counters["claims"] = static_cast<double>(entries);
}
BENCHMARK(BM_ReportCsvMaximal)->Unit(benchmark::kMillisecond);

void BM_ReportHtmlMaximal(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string html = renderHtmlReport(buildProjectReport(maximalProjectDir(), kStamp, texts()));
        bytes = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReportHtmlMaximal)->Unit(benchmark::kMillisecond);

// The share of the page that is `check`: every table check, the compile and the warnings.
void BM_CheckMaximal(benchmark::State& state)
{
    const ProjectFiles files = makeProjectFiles(maximalProjectDir());
    for (auto _ : state) {
        ProjectFindings findings = checkProject(files, texts());
        benchmark::DoNotOptimize(findings.errors.data());
    }
}
BENCHMARK(BM_CheckMaximal)->Unit(benchmark::kMillisecond);

// The whole command, the atomic write and its flush to disk included.
void BM_WriteReportMaximal(benchmark::State& state)
{
    const ReportFormat format = state.range(0) == 0 ? ReportFormat::Csv : ReportFormat::Html;
    const std::string out =
        joinPath(maximalProjectDir(), format == ReportFormat::Csv ? "map.csv" : "map.html");
    for (auto _ : state) {
        const Result<void> written = writeProjectReport(maximalProjectDir(), out, format, kStamp, texts());
        if (!written)
            state.SkipWithError(written.error().text.c_str());
    }
    state.SetLabel(format == ReportFormat::Csv ? "csv" : "html");
}
BENCHMARK(BM_WriteReportMaximal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace setforge
