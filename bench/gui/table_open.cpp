// Opening the SDO dialog with 1500 used rows, offscreen: load the file, fill the grid, show
// the window and paint it once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "core/app/appstate.h"
#include "core/base/projectfiles.h"
#include "core/tables/grid.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"
#include "core/tables/tablefile.h"
#include "gui/tables/tabledialog.h"

namespace setforge {

namespace {

void writeSdoTable(const std::string& path)
{
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

void BM_OpenSdoDialog(benchmark::State& state)
{
    QTemporaryDir dir;
    AppState app;
    app.projectDir = dir.path().toStdString();
    app.files = makeProjectFiles(app.projectDir);
    writeSdoTable(app.files.sdo);
    TableDialog dialog(sdoClientTable(), app, nullptr);
    for (auto _ : state) {
        if (!dialog.reload())
            state.SkipWithError("the table did not load");
        dialog.show();
        dialog.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        dialog.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (dialog.grid().usedRowCount() != 1500)
        state.SkipWithError("not every row was loaded");
}
BENCHMARK(BM_OpenSdoDialog)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace setforge

using namespace setforge;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
