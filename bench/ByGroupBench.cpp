// By-Group on the real tables (UN agglomerations by country, US places by state), with and
// without its bootstrap, and Tail-Fit's bootstrap on the US places at full size.
#include <benchmark/benchmark.h>

#include <string>

#include "data/Import.h"
#include "stats/ByGroup.h"

namespace {

std::unique_ptr<DataSet> Table(const char* file, double unit) {
    ImportOptions o;
    o.unit = unit;
    return ImportFile(std::string(CITYSIZE_REAL_DATA) + "/" + file, o).data;
}

void ByGroupUnCountries(benchmark::State& state) {
    const auto d = Table("un-wup2018-f12-cities-1950-2035.csv", 1000);
    TailFitOptions tail;
    for (auto _ : state) benchmark::DoNotOptimize(FitByGroups(*d, {}, tail).rows.size());
}
BENCHMARK(ByGroupUnCountries)->Unit(benchmark::kMillisecond)->UseRealTime();

void ByGroupUsStates(benchmark::State& state) {
    const auto d = Table("us-places-1790-2010.csv", 1);
    TailFitOptions tail;
    tail.threads = 2;
    ByGroupOptions o;
    o.replicates = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(FitByGroups(*d, o, tail).rows.size());
}
BENCHMARK(ByGroupUsStates)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void TailFitUsPlaces(benchmark::State& state) {
    const auto d = Table("us-places-1790-2010.csv", 1);
    TailFitOptions o;
    o.threads = 2;
    o.replicates = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(FitAllDates(*d, o).rows.size());
}
BENCHMARK(TailFitUsPlaces)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
