// Markov, SpatialMarkov (5 nearest neighbours) and MoranGrowth (999 permutations per pair) on
// every US place, computed and printed in the process; bench/markov-processes times the
// whole `citysize run` processes.
#include <benchmark/benchmark.h>

#include <string>

#include "data/Import.h"
#include "stats/Markov.h"
#include "stats/MoranGrowth.h"
#include "stats/SpatialMarkov.h"

namespace {

const DataSet& Places() {
    static const auto loaded = ImportFile(std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv", {});
    return *loaded.data;
}

NeighbourRule Nearest(const DataSet& d, int k) {
    NeighbourRule rule;
    rule.nearest = k;
    for (int i = 1; i <= d.NumCities; ++i)
        rule.points.push_back(d.HasPosition(i) ? GeoPoint{d.Latitude[static_cast<std::size_t>(i - 1)], d.Longitude[static_cast<std::size_t>(i - 1)]}
                                               : GeoPoint{NAN, NAN});
    return rule;
}

void MarkovUsPlaces(benchmark::State& state) {
    for (auto _ : state) {
        TextSurface text;
        PrintMarkov(MarkovOf(RelativeSizes(PanelOf(Places())), 5), text);
        benchmark::DoNotOptimize(text.Lines().data());
    }
}
BENCHMARK(MarkovUsPlaces)->Unit(benchmark::kMillisecond)->UseRealTime();

void SpatialMarkovUsPlaces(benchmark::State& state) {
    const NeighbourRule rule = Nearest(Places(), 5);
    for (auto _ : state) {
        TextSurface text;
        PrintSpatialMarkov(SpatialMarkovOf(RelativeSizes(PanelOf(Places())), rule, 5), text);
        benchmark::DoNotOptimize(text.Lines().data());
    }
}
BENCHMARK(SpatialMarkovUsPlaces)->Unit(benchmark::kMillisecond)->UseRealTime();

void MoranGrowthUsPlaces(benchmark::State& state) {
    const NeighbourRule rule = Nearest(Places(), 5);
    for (auto _ : state) {
        TextSurface text;
        PrintMoranGrowth(MoranGrowthOf(PanelOf(Places()), rule, 999, 1), text);
        benchmark::DoNotOptimize(text.Lines().data());
    }
}
BENCHMARK(MoranGrowthUsPlaces)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
