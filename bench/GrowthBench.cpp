// Growth on every place of the US compilation: the table of all 22 pairs, and Growth-Plot's
// bootstrap of the largest pair (2000-2010, 6,475 places) and of the pooled sample, with
// the kernel cut off at 9 bandwidths (the default) and with every term.
#include <benchmark/benchmark.h>

#include <string>

#include "data/Import.h"
#include "stats/Growth.h"

namespace {

const DataSet& UsPlaces() {
    static const auto loaded = ImportFile(std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv", {});
    return *loaded.data;
}

void GrowthAllPairsUsPlaces(benchmark::State& state) {
    const DataSet& d = UsPlaces();
    for (auto _ : state) {
        TextSurface text;
        PrintGrowth(GrowthAllPairs(d, {}), text);
        benchmark::DoNotOptimize(text.Lines().data());
    }
}
BENCHMARK(GrowthAllPairsUsPlaces)->Unit(benchmark::kMillisecond)->UseRealTime();

// Arguments: cutoff in bandwidths (0: every term), 1 for the pooled sample.
void GrowthPlotBootstrap(benchmark::State& state) {
    const DataSet& d = UsPlaces();
    const GrowthSample s = state.range(1) ? PooledSample(d) : PairSample(d, d.NumDates - 1);
    GrowthOptions o;
    o.replicates = 500;
    o.threads = 2;
    o.cutoff = static_cast<double>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(KernelCurves(s, o).meanHi.data());
}
BENCHMARK(GrowthPlotBootstrap)->Args({9, 0})->Args({0, 0})->Args({9, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
