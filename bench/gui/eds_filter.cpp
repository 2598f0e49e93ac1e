// The object browser's filter on a 1,000-object EDS, offscreen: one keystroke into the filter
// box, the tree hiding and showing its items, and one paint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "../support/generatededs.h"
#include "core/app/appstate.h"
#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/nodes/nodecatalog.h"
#include "gui/nodes/objectbrowser.h"

namespace setforge {

namespace {

void BM_FilterKeystroke(benchmark::State& state)
{
    QTemporaryDir dir;
    AppState app;
    app.projectDir = dir.path().toStdString();
    const std::string source = joinPath(app.projectDir, "bench.eds");
    writeFileAtomic(source, generatedEds(1000));
    if (!NodeCatalog::addNodeEds(app.projectDir, 5, source)) {
        state.SkipWithError("the EDS could not be added");
        return;
    }
    ObjectBrowser browser(app, nullptr);
    browser.show();
    QApplication::processEvents();
    auto* filter = browser.findChild<QLineEdit*>("E_Filter");
    // Typing a query and taking it back again, one character per keystroke.
    const QString query = "position limit 05";
    std::vector<QString> steps;
    for (int n = 1; n <= query.size(); ++n)
        steps.push_back(query.left(n));
    for (int n = query.size() - 1; n >= 0; --n)
        steps.push_back(query.left(n));
    std::size_t step = 0;
    for (auto _ : state) {
        filter->setText(steps[step]);
        browser.tree()->viewport()->repaint();
        QApplication::processEvents();
        step = (step + 1) % steps.size();
    }
    if (browser.tree()->topLevelItemCount() != 1000)
        state.SkipWithError("the tree does not hold every object");
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

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
