// The map of every US place and its time-lapse. Run: build/citysize_bench --benchmark_filter=Map
#include <QDir>
#include <QFile>
#include <QImage>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Animation.h"
#include "core/Form.h"
#include "core/MapModule.h"
#include "map/Map.h"
#include "data/DataSearch.h"
#include "render/ApngWriter.h"
#include "render/PictureRenderer.h"

namespace {

std::unique_ptr<Form> UsPlacesMap() {
    auto f = std::make_unique<Form>(std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv");
    f->Module<MapModule>().state.outlineFiles = FindShippedOutlines({CITYSIZE_REAL_DATA});
    f->Click("ReadData");
    f->Click("Map");  // reads the outlines and projects the places once
    return f;
}

// One date of the map of 8,915 places: the display list, then the 600 x 600 image.
void MapOneDate(benchmark::State& state) {
    auto f = UsPlacesMap();
    int t = 1;
    for (auto _ : state) {
        DrawMap(*f->data, f->rank, f->Module<MapModule>().state, CanvasOf(*f), t);
        if (state.range(0)) benchmark::DoNotOptimize(render::ToImage(f->Picture1));
        t = t % f->data->NumDates + 1;
    }
}
BENCHMARK(MapOneDate)->Arg(0)->Arg(1)->ArgName("render")->Unit(benchmark::kMillisecond);

// The whole time-lapse: 23 frames drawn, rendered at 600 x 600 and written as an animated PNG.
void MapTimeLapse(benchmark::State& state) {
    auto f = UsPlacesMap();
    const QString path = QDir::tempPath() + QStringLiteral("/citysize-bench-map.png");
    for (auto _ : state) {
        std::vector<QImage> images;
        for (const Picture& frame : AnimationFrames(*f, "Map")) images.push_back(render::ToImage(frame));
        benchmark::DoNotOptimize(render::WriteApng(images, 800, path));
    }
    QFile::remove(path);
}
BENCHMARK(MapTimeLapse)->Unit(benchmark::kMillisecond);

}  // namespace
