// Laying out the busiest pictures at 1600 x 1000 pixels, as the window does after a resize or
// a zoom: the display list only (LayoutAt) and with the image (`render`).
// Run: build/citysize_bench --benchmark_filter=Layout
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/Form.h"
#include "core/MapModule.h"
#include "core/Redraw.h"
#include "data/DataSearch.h"
#include "render/PictureRenderer.h"

namespace {

std::unique_ptr<Form> UsPlaces() {
    auto f = std::make_unique<Form>(std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv");
    f->Module<MapModule>().state.outlineFiles = FindShippedOutlines({CITYSIZE_REAL_DATA});
    f->Click("ReadData");
    f->Picture1.Width = 24000;  // 1600 x 1000 pixels
    f->Picture1.Height = 15000;
    return f;
}

// Rank-Spirel1 of 8,915 places (thinned to 2,500 paths) and the map of the places at 2010,
// each as RedrawPicture lays it out again. Arg 1 adds a zoom of 4 about the frame's middle.
void LayoutAt1600x1000(benchmark::State& state, const char* command) {
    auto f = UsPlaces();
    f->Click(command);
    if (state.range(0)) {
        const ViewRect a = f->Picture1.ZoomArea;
        f->Picture1.View.ZoomAbout(a, (a.left + a.right) / 2, (a.top + a.bottom) / 2, 4);
    }
    for (auto _ : state) benchmark::DoNotOptimize(RedrawPicture(*f, command));
    state.counters["ops"] = static_cast<double>(f->Picture1.Ops().size());
}
BENCHMARK_CAPTURE(LayoutAt1600x1000, RankSpirel1, "RankSpirel1")->Arg(0)->ArgName("zoom")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LayoutAt1600x1000, Map, "Map")->Arg(0)->Arg(1)->ArgName("zoom")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LayoutAt1600x1000, Rank, "Rank")->Arg(0)->Arg(1)->ArgName("zoom")->Unit(benchmark::kMillisecond);

// The same with the 1600 x 1000 image the window paints.
void LayoutAndRenderAt1600x1000(benchmark::State& state, const char* command) {
    auto f = UsPlaces();
    f->Click(command);
    for (auto _ : state) {
        RedrawPicture(*f, command);
        benchmark::DoNotOptimize(render::ToImage(f->Picture1));
    }
}
BENCHMARK_CAPTURE(LayoutAndRenderAt1600x1000, RankSpirel1, "RankSpirel1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LayoutAndRenderAt1600x1000, Map, "Map")->Unit(benchmark::kMillisecond);

}  // namespace
