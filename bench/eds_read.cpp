// Reading a remote node's EDS of 1,000 objects (about 130 kB) from memory, $NODEID resolved
// for a node.
#include <benchmark/benchmark.h>

#include "core/nodes/edsreader.h"
#include "support/generatededs.h"

namespace setforge {

namespace {

void BM_ReadEds1000Objects(benchmark::State& state)
{
    const std::string text = generatedEds(1000);
    for (auto _ : state) {
        Result<EdsRead> result = readEdsText(text, 5);
        if (!result || result->device.objects.size() != 1000)
            state.SkipWithError("the generated EDS did not read whole");
        benchmark::DoNotOptimize(result);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ReadEds1000Objects)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace setforge
