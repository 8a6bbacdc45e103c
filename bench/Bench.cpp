// Benchmarks: load + rank, each command's compute + render on the real data, and the
// window's start-up to first paint. Run: build/citysize_bench (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "data/Loader.h"
#include "draw/RunError.h"
#include "render/PictureRenderer.h"

namespace {

const std::string RealData = CITYSIZE_REAL_DATA;

std::unique_ptr<Form> Loaded() {
    auto f = std::make_unique<Form>(RealData);
    f->Click("ReadData");
    return f;
}

void LoadAndRank(benchmark::State& state) {
    for (auto _ : state) {
        Form f(RealData);
        f.Click("ReadData");
        benchmark::DoNotOptimize(f.rank.RankPop(1, 1));
    }
}
BENCHMARK(LoadAndRank)->Unit(benchmark::kMillisecond);

// Runs `setup` once per iteration untimed, then times `steps` and a 600 x 600 render.
void CommandAndRender(benchmark::State& state, std::vector<std::string> setup, std::vector<std::string> steps) {
    auto f = Loaded();
    for (auto _ : state) {
        state.PauseTiming();
        try {
            f->Click("Clear");
            for (const auto& s : setup) f->Click(s);
        } catch (const RunError& e) {
            state.SkipWithError(e.what());
            break;
        }
        state.ResumeTiming();
        try {
            for (const auto& s : steps) f->Click(s);
        } catch (const RunError& e) {
            state.SkipWithError(e.what());
            break;
        }
        QImage img = render::ToImage(f->Picture1);
        benchmark::DoNotOptimize(img.bits());
    }
}

void Register() {
    struct Case {
        const char* name;
        std::vector<std::string> setup, steps;
    };
    const std::vector<Case> cases = {
        {"Rank-Size", {}, {"Rank"}},
        {"Data Properties", {}, {"DataProperties"}},
        {"Zipf-Exponents", {}, {"Zipf"}},
        {"Next-Graph", {"Zipf"}, {"NextGraph"}},
        {"Size-Rank", {}, {"SizeRank"}},
        {"Cum-Rank-S", {}, {"CumRankSize"}},
        {"Cum-Size-R", {}, {"CumSizeRank"}},
        {"Rank Shift", {}, {"RankShift"}},
        {"Rank-Space", {}, {"RankSpace"}},
        {"Rank Change", {}, {"RankChange"}},
        {"Pop Change", {}, {"PopChange"}},
        {"Rank-Spirel1", {}, {"RankSpirel1"}},
        {"Rank-Spirel2", {}, {"RankSpirel2"}},
        {"Rank-Spirel3", {}, {"RankSpirel3"}},
        {"Rank-Spirel4", {}, {"RankSpirel4"}},
        {"Rank-Spirel5", {}, {"RankSpirel5"}},
        {"Rank-Spirel6", {}, {"RankSpirel6"}},
        {"Distance-Spirel", {"RankSpirel1"}, {"DistancePlot"}},
        {"Half-Lives", {}, {"HalfLives"}},
        {"Info-Stats", {}, {"InfoStats"}},
        {"Pop-Stats", {}, {"PopStats"}},
        {"RankSSpirel", {}, {"RankShiftSpirel"}},
        {"Info-Spirel", {}, {"InfoSpirel"}},
        {"Pop-Spirel", {}, {"PopSpirel"}},
    };
    for (const auto& c : cases)
        benchmark::RegisterBenchmark((std::string("CommandAndRender/") + c.name).c_str(), CommandAndRender, c.setup,
                                     c.steps)
            ->Unit(benchmark::kMillisecond);
}

void StartupToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        MainWindow w(std::make_unique<Form>(RealData));
        w.show();
        QImage first = w.grab().toImage();
        benchmark::DoNotOptimize(first.bits());
    }
}
BENCHMARK(StartupToFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
