// Tail-Fit: the whole table on the US data with and without the bootstrap, one date of
// 10,000 places, and how soon Cancel stops a bootstrap of that date.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "data/Loader.h"
#include "stats/TailFit.h"

namespace {

void TailFitUsTable(benchmark::State& state) {
    auto d = LoadDataFile(std::string(CITYSIZE_REAL_DATA) + "/" + DataFileName);
    TailFitOptions o;
    o.replicates = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TextSurface text;
        PrintTailFit(FitAllDates(*d, o), text);
        benchmark::DoNotOptimize(text.Lines().data());
    }
}
BENCHMARK(TailFitUsTable)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// 10,000 places: a lognormal body (the usual shape of a complete settlement list).
std::vector<double> SyntheticDate() {
    std::mt19937_64 g(5);
    std::lognormal_distribution<double> ln(8.5, 1.4);
    std::vector<double> x(10000);
    for (auto& v : x) v = std::floor(ln(g)) + 1;
    return x;
}

void TailFitTenThousandPlaces(benchmark::State& state) {
    const auto x = SyntheticDate();
    TailFitOptions o;
    o.replicates = 0;
    for (auto _ : state) benchmark::DoNotOptimize(FitDate(x, 2000, 1, o).pl.alpha);
}
BENCHMARK(TailFitTenThousandPlaces)->Unit(benchmark::kMillisecond);

// Time from raising the cancel flag, 100 ms into a 1000-replicate bootstrap of 10,000
// places, to FitDate giving up.
void TailFitCancelLatency(benchmark::State& state) {
    const auto x = SyntheticDate();
    TailFitOptions o;
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        TailFitControl c;
        c.cancel = &cancel;
        std::chrono::steady_clock::time_point raised;
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            raised = std::chrono::steady_clock::now();
            cancel = true;
        });
        try {
            FitDate(x, 2000, 1, o, c);
        } catch (const FitCancelled&) {
        }
        const auto stopped = std::chrono::steady_clock::now();
        stopper.join();
        state.SetIterationTime(std::chrono::duration<double>(stopped - raised).count());
    }
}
BENCHMARK(TailFitCancelLatency)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
