// Dist-Fit on the real tables: every date of USData and of the US places, and each law's
// fit alone on the largest date (6,933 places in 2010).
#include <benchmark/benchmark.h>

#include <string>

#include "data/Import.h"
#include "stats/DistFit.h"

namespace {

std::unique_ptr<DataSet> Load(const char* file) {
    return ImportFile(std::string(CITYSIZE_REAL_DATA) + "/" + file, ImportOptions{}).data;
}

void DistFitUsData(benchmark::State& state) {
    const auto d = Load("USData.csv");
    for (auto _ : state) {
        TextSurface text;
        PrintDistFit(FitDistAllDates(*d, 10), text);
        benchmark::DoNotOptimize(text.Lines().data());
    }
}
BENCHMARK(DistFitUsData)->Unit(benchmark::kMillisecond)->UseRealTime();

void DistFitUsPlaces(benchmark::State& state) {
    const auto d = Load("us-places-1790-2010.csv");
    for (auto _ : state) benchmark::DoNotOptimize(FitDistAllDates(*d, 10).rows.size());
}
BENCHMARK(DistFitUsPlaces)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

SizeSample Places2010() {
    const auto d = Load("us-places-1790-2010.csv");
    return MakeSample(PresentPopulations(*d, d->NumDates));
}

void DistFitDpln2010(benchmark::State& state) {
    const SizeSample s = Places2010();
    for (auto _ : state) benchmark::DoNotOptimize(FitDpln(s).logL);
}
BENCHMARK(DistFitDpln2010)->Unit(benchmark::kMillisecond)->Iterations(3);

void DistFitLognormalPareto2010(benchmark::State& state) {
    const SizeSample s = Places2010();
    for (auto _ : state) benchmark::DoNotOptimize(FitLognormalPareto(s).logL);
}
BENCHMARK(DistFitLognormalPareto2010)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
