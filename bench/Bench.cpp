// Benchmarks: load + rank, each command's compute + render on the real data, and the
// window's start-up to first paint. Run: build/citysize_bench (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "data/Import.h"
#include "data/Loader.h"
#include "draw/HitTest.h"
#include "draw/RunError.h"
#include "render/PictureRenderer.h"
#include "stats/Mobility.h"
#include "SyntheticTable.h"

namespace {

const std::string RealData = CITYSIZE_REAL_DATA;

std::unique_ptr<Form> Loaded() {
    auto f = std::make_unique<Form>(RealData);
    f->Click("ReadData");
    return f;
}

// A synthetic wide table at the full capacity in places: 10,000 places at 23 dates, about 90%
// present at each date. Sizes follow Zipf's law (exponent 1.05) with lognormal noise, each place
// growing at its own noisy rate, so the largest places differ and every analysis has work to do.
std::string CapacityTable(int places, int dates) {
    std::string csv = "name";
    for (int t = 1; t <= dates; ++t) csv += "," + std::to_string(1790 + 10 * (t - 1));
    csv += "\n";
    std::mt19937 gen(12345);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (int c = 1; c <= places; ++c) {
        csv += "City " + std::to_string(c);
        double size = 2.0e7 / std::pow(c, 1.05) * std::exp(0.4 * noise(gen));
        const double rate = 0.02 + 0.02 * noise(gen);
        for (int t = 1; t <= dates; ++t) {
            size *= std::exp(rate + 0.05 * noise(gen));
            const bool present = (c + 37 * t) % 10 != 0;
            const long pop = present ? static_cast<long>(size) + 1 : 0;
            csv.append(",").append(std::to_string(pop));
        }
        csv += "\n";
    }
    return csv;
}

std::unique_ptr<Form> AtCapacity() {
    auto f = std::make_unique<Form>(RealData);
    f->InstallData(ImportTable(CapacityTable(10000, 23), "capacity.csv").data);
    return f;
}

// The synthetic table of 100,000 places at 25 dates, ranked, as every command at scale sees it.
std::unique_ptr<Form> AtScale() {
    auto f = std::make_unique<Form>(RealData);
    f->InstallData(SyntheticTable(100000, 25));
    return f;
}

// Opening 100,000 places x 60 dates (the data set built from values already drawn, as a
// loader builds it from the cells it parsed) and ranking them.
void OpenAndRankScale(benchmark::State& state) {
    const SyntheticValues values = DrawSyntheticValues(100000, 60);
    for (auto _ : state) {
        Form f(RealData);
        f.InstallData(BuildSyntheticTable(values));
        benchmark::DoNotOptimize(f.rank.RankPop(1, 1));
    }
}
BENCHMARK(OpenAndRankScale)->Unit(benchmark::kMillisecond);

// The ranking alone of the same table.
void RankScale(benchmark::State& state) {
    Form f(RealData);
    f.InstallData(SyntheticTable(100000, 60));
    for (auto _ : state) {
        f.Click("Rank");
        benchmark::DoNotOptimize(f.rank.RankPop(1, 1));
    }
}
BENCHMARK(RankScale)->Unit(benchmark::kMillisecond);

void LoadAndRank(benchmark::State& state) {
    for (auto _ : state) {
        Form f(RealData);
        f.Click("ReadData");
        benchmark::DoNotOptimize(f.rank.RankPop(1, 1));
    }
}
BENCHMARK(LoadAndRank)->Unit(benchmark::kMillisecond);

// Opening the 8,915 places x 23 dates of us-places-1790-2010.csv (all kept) and ranking them.
void OpenAndRankUsPlaces(benchmark::State& state) {
    for (auto _ : state) {
        Form f(RealData + "/us-places-1790-2010.csv");
        f.Click("ReadData");
        benchmark::DoNotOptimize(f.rank.RankPop(1, 1));
    }
}
BENCHMARK(OpenAndRankUsPlaces)->Unit(benchmark::kMillisecond);

// The same table as a workbook and as a GeoPackage of points, converted once by GDAL's own
// ogr2ogr (the CSV's CR line ends turned into LF first, which GDAL's CSV reader needs).
std::string UsPlacesAs(const std::string& format, const std::string& extension) {
    const std::string dir = std::filesystem::temp_directory_path() / "citysize-bench";
    const std::string out = dir + "/us-places." + extension, csv = dir + "/us-places.csv";
    if (std::filesystem::exists(out)) return out;
    std::filesystem::create_directories(dir);
    const std::string command = "tr '\\r' '\\n' < '" + RealData + "/us-places-1790-2010.csv' > '" + csv +
                                "' && ogr2ogr -f " + format + " '" + out + "' '" + csv +
                                "' -oo HEADERS=YES -oo AUTODETECT_TYPE=YES -nln places" +
                                (extension == "gpkg" ? " -oo X_POSSIBLE_NAMES=LON -oo Y_POSSIBLE_NAMES=LAT "
                                                       "-oo KEEP_GEOM_COLUMNS=NO -a_srs EPSG:4326"
                                                     : "") +
                                " 2>/dev/null";
    if (std::system(command.c_str()) != 0) throw RunError("ogr2ogr could not convert us-places to " + format);
    return out;
}

void OpenAndRankUsPlacesAs(benchmark::State& state, const std::string& format, const std::string& extension) {
    const std::string path = UsPlacesAs(format, extension);
    for (auto _ : state) {
        Form f(path);
        f.Click("ReadData");
        benchmark::DoNotOptimize(f.rank.RankPop(1, 1));
    }
}
BENCHMARK_CAPTURE(OpenAndRankUsPlacesAs, Xlsx, std::string("XLSX"), std::string("xlsx"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAndRankUsPlacesAs, GeoPackage, std::string("GPKG"), std::string("gpkg"))->Unit(benchmark::kMillisecond);

// Runs `setup` once per iteration untimed, then times `steps` and a 600 x 600 render.
enum class Table { Real, Capacity, Scale };

void CommandAndRender(benchmark::State& state, Table which, bool render, std::vector<std::string> setup,
                      std::vector<std::string> steps) {
    auto f = which == Table::Scale ? AtScale() : which == Table::Capacity ? AtCapacity() : Loaded();
    for (auto _ : state) {
        state.PauseTiming();
        try {
            f->Click("Clear");
            for (const auto& s : setup) {
                const auto eq = s.find('=');
                if (eq == std::string::npos)
                    f->Click(s);
                else
                    f->ChooseText(s.substr(0, eq), s.substr(eq + 1));
            }
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
        state.counters["ops"] = static_cast<double>(f->Picture1.Ops().size());
        if (!render) continue;
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
        {"Next-Info", {"InfoStats"}, {"NextInfo"}},
        {"Next-Last-Info", {"InfoStats", "NextInfo"}, {"NextLastInfo"}},
        {"Last-Info", {"InfoStats", "NextInfo", "NextLastInfo"}, {"LastInfo"}},
        {"Next-Pop", {"PopStats"}, {"NextPop"}},
        {"Last-Pop", {"PopStats", "NextPop"}, {"LastPop"}},
        {"Mobility", {}, {"Mobility"}},
        {"Next-Mobility", {"Mobility"}, {"NextMobility"}},
        {"PlotCity", {"RankSpirel1", "Cities=Place 1"}, {"PlotCity"}},
    };
    for (Table which : {Table::Real, Table::Capacity, Table::Scale})
        for (const auto& c : cases)
            benchmark::RegisterBenchmark((std::string(which == Table::Scale      ? "AtScale/"
                                                      : which == Table::Capacity ? "AtCapacity/"
                                                                                 : "RealData/") +
                                          c.name)
                                             .c_str(),
                                         CommandAndRender, which, true, c.setup, c.steps)
                ->Unit(benchmark::kMillisecond);
    // The command alone, without drawing its picture to pixels.
    for (const auto& c : cases)
        benchmark::RegisterBenchmark((std::string("AtCapacityCompute/") + c.name).c_str(), CommandAndRender,
                                     Table::Capacity, false, c.setup, c.steps)
            ->Unit(benchmark::kMillisecond);
}

void RenderOnly(benchmark::State& state) {
    auto f = Loaded();
    f->Click("RankSpirel2");
    for (auto _ : state) {
        QImage img = render::ToImage(f->Picture1);
        benchmark::DoNotOptimize(img.bits());
    }
    state.counters["ops"] = static_cast<double>(f->Picture1.Ops().size());
}
BENCHMARK(RenderOnly)->Unit(benchmark::kMillisecond);

// One mouse move over the busiest spirel: the hit test and the tool tip's text, at points
// spread over the whole face (most land on or near a path).
void HoverOnBusiestSpirel(benchmark::State& state) {
    auto f = Loaded();
    f->Click("RankSpirel2");
    int k = 0;
    for (auto _ : state) {
        const float x = 700 + static_cast<float>((k * 37) % 7600), y = 700 + static_cast<float>((k * 53) % 7600);
        ++k;
        auto hit = HitTest(f->Picture1, x, y, 60);
        std::string text = hit ? DescribeHit(*f, *hit, x, y) : std::string();
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(HoverOnBusiestSpirel)->Unit(benchmark::kMicrosecond);

// Mobility on the real data: the measures of every pair, the matrix and both printed pages.
void MobilityRealData(benchmark::State& state) {
    auto f = Loaded();
    for (auto _ : state) {
        TextSurface text;
        MobilityState s = ComputeMobility(*f->data, f->rank);
        PrintMobility(s, text);
        PrintMobilityMatrix(s, text);
        benchmark::DoNotOptimize(text.Lines().data());
    }
}
BENCHMARK(MobilityRealData)->Unit(benchmark::kMillisecond);

// Mobility on 10,000 places x 23 dates, beyond the data set's capacity, on plain rank lists:
// Zipf-like populations that drift, about a tenth of the places absent at each date.
void MobilityTenThousand(benchmark::State& state) {
    const int cities = 10000, dates = 23;
    RankPanel panel;
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    std::vector<double> pop(cities);
    for (int c = 0; c < cities; ++c) pop[static_cast<std::size_t>(c)] = 1e7 / (c + 1);
    for (int t = 0; t < dates; ++t) {
        panel.years.push_back(static_cast<int16_t>(1790 + 10 * t));
        for (double& p : pop) p *= 0.8 + 0.4 * (next() % 1000) / 1000.0;
        std::vector<int> order(cities);
        std::iota(order.begin(), order.end(), 0);
        std::vector<bool> present(cities);
        for (int c = 0; c < cities; ++c) present[static_cast<std::size_t>(c)] = (c + 7 * t) % 10 != 0;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return pop[a] > pop[b]; });
        std::vector<int>& rank = panel.rank.emplace_back(cities, 0);
        int r = 0;
        for (int c : order)
            if (present[static_cast<std::size_t>(c)]) rank[static_cast<std::size_t>(c)] = ++r;
    }
    for (auto _ : state) {
        TextSurface text;
        MobilityState s = ComputeMobility(panel);
        PrintMobility(s, text);
        PrintMobilityMatrix(s, text);
        benchmark::DoNotOptimize(text.Lines().data());
    }
}
BENCHMARK(MobilityTenThousand)->Unit(benchmark::kMillisecond);

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
