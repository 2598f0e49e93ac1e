// The load, validate and save cycle of the largest table: 1500 used rows of the SDO table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/base/paths.h"
#include "core/lang/uitexts.h"
#include "core/tables/grid.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"
#include "core/tables/tablefile.h"
#include "core/tables/tablevalidator.h"

namespace setforge {

namespace {

struct SdoFile {
    std::filesystem::path dir;
    std::string path;

    SdoFile()
    {
        dir = std::filesystem::temp_directory_path() / "setforge_bench_table_cycle";
        std::filesystem::create_directories(dir);
        path = pathToUtf8(dir / "sdo.xml");
        const TableDefinition& table = sdoClientTable();
        Grid grid(table.rowCount, table.columnCount());
        for (int r = 1; r <= table.rowCount; ++r) {
            grid.setCell(r, SdoColumn::Address, std::to_string(r * 40));
            grid.setCell(r, SdoColumn::HiByte, std::to_string(r % 5));
            grid.setCell(r, SdoColumn::LoByte, std::to_string((r + 1) % 5));
            grid.setCell(r, SdoColumn::ReadWrite, r % 2 ? "ReadWrite" : "ReadOnly");
            grid.setCell(r, SdoColumn::DeviceId, std::to_string(1 + r % 127));
            grid.setCell(r, SdoColumn::Index, "0x6041");
            grid.setCell(r, SdoColumn::SubIndex, std::to_string(r % 256));
            grid.setCell(r, SdoColumn::NByte, "2");
            grid.setCell(r, SdoColumn::Mnemonic, "register " + std::to_string(r));
        }
        saveTableFile(table, grid, path);
    }
    ~SdoFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

void BM_SdoTableCycle(benchmark::State& state)
{
    const SdoFile file;
    const TableDefinition& table = sdoClientTable();
    const UiTexts texts;
    Grid grid(table.rowCount, table.columnCount());
    for (auto _ : state) {
        const Result<void> loaded = loadTableFile(table, file.path, grid);
        const std::optional<std::string> message =
            validateTable(table, grid, DeviceVariant::WithoutEthernet, texts);
        const Result<void> saved = saveTableFile(table, grid, file.path);
        if (!loaded || message || !saved)
            state.SkipWithError("the cycle failed");
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_SdoTableCycle)->Unit(benchmark::kMillisecond);

// The same cycle without the disk: parse from memory, validate, build the file's text. The
// difference to the cycle above is the file system, mostly the flush of the atomic write.
void BM_SdoTableCycleInMemory(benchmark::State& state)
{
    const SdoFile file;
    const TableDefinition& table = sdoClientTable();
    const UiTexts texts;
    Grid grid(table.rowCount, table.columnCount());
    (void)loadTableFile(table, file.path, grid);
    std::string text = tableFileText(table, grid);
    for (auto _ : state) {
        pugi::xml_document doc;
        (void)loadXmlText(text, doc);
        fillGridFromDocument(table, doc, grid);
        benchmark::DoNotOptimize(validateTable(table, grid, DeviceVariant::WithoutEthernet, texts));
        text = tableFileText(table, grid);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_SdoTableCycleInMemory)->Unit(benchmark::kMillisecond);

// The three steps on their own, to see where the time goes.
void BM_SdoTableLoad(benchmark::State& state)
{
    const SdoFile file;
    const TableDefinition& table = sdoClientTable();
    Grid grid(table.rowCount, table.columnCount());
    for (auto _ : state)
        benchmark::DoNotOptimize(loadTableFile(table, file.path, grid));
}
BENCHMARK(BM_SdoTableLoad)->Unit(benchmark::kMillisecond);

void BM_SdoTableValidate(benchmark::State& state)
{
    const SdoFile file;
    const TableDefinition& table = sdoClientTable();
    const UiTexts texts;
    Grid grid(table.rowCount, table.columnCount());
    (void)loadTableFile(table, file.path, grid);
    for (auto _ : state)
        benchmark::DoNotOptimize(validateTable(table, grid, DeviceVariant::WithoutEthernet, texts));
}
BENCHMARK(BM_SdoTableValidate)->Unit(benchmark::kMillisecond);

void BM_SdoTableSave(benchmark::State& state)
{
    const SdoFile file;
    const TableDefinition& table = sdoClientTable();
    Grid grid(table.rowCount, table.columnCount());
    (void)loadTableFile(table, file.path, grid);
    for (auto _ : state)
        benchmark::DoNotOptimize(saveTableFile(table, grid, file.path));
}
BENCHMARK(BM_SdoTableSave)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace setforge
