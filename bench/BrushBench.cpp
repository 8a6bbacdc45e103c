// A brush over the map of every US place, as the window does it: the places under the
// rectangle found and added to the selection, the marks of the picture replaced (halos and
// names), and the view repainted over its kept dimmed image (the marked places on top).
// Run: build/citysize_bench --benchmark_filter=Brush
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/Form.h"
#include "core/MapModule.h"
#include "core/TailFitModule.h"
#include "core/Marks.h"
#include "data/DataSearch.h"
#include "render/PictureRenderer.h"

namespace {

std::unique_ptr<Form> UsPlaces(const char* command) {
    auto f = std::make_unique<Form>(std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv");
    f->Module<MapModule>().state.outlineFiles = FindShippedOutlines({CITYSIZE_REAL_DATA});
    f->Click("ReadData");
    f->Click(command);
    return f;
}

// The Sun Belt on the map of 2010: the rectangle from southern California to Florida, south of
// about 36 degrees north (twips of the 600 x 600 picture, read off the map).
constexpr float SunBelt[4] = {3825, 5325, 8400, 7050};

// The view's size: the picture's own 600 x 600, or a large window's 1600 x 1000 (the picture
// stretched to its width, as the view paints it).
double PxPerTwip(int width) { return width / 9000.0; }

void BrushOverTheMap(benchmark::State& state) {
    auto f = UsPlaces("Map");
    const int width = static_cast<int>(state.range(0)), height = width == 600 ? 600 : 1000;
    const double px = PxPerTwip(width);
    QImage base(width, height, QImage::Format_RGB32), screen(width, height, QImage::Format_RGB32);
    {
        f->selection.Set({1});
        QPainter p(&base);
        render::PaintLayer(p, f->Picture1, px, MarkedPlaces(*f), render::Layer::Base);
    }
    std::size_t selected = 0;
    for (auto _ : state) {
        f->selection.Clear();
        f->selection.Add(PlacesUnder(*f, SunBelt[0], SunBelt[1], SunBelt[2], SunBelt[3]));
        RemarkPlaces(*f);
        const Emphasised shown = render::ShownEmphasis(f->Picture1, MarkedPlaces(*f));
        QPainter p(&screen);
        p.drawImage(0, 0, base);
        render::PaintLayer(p, f->Picture1, px, shown, render::Layer::Top);
        p.end();
        benchmark::DoNotOptimize(screen.bits());
        selected = f->selection.Places().size();
    }
    state.counters["places"] = static_cast<double>(selected);
}
BENCHMARK(BrushOverTheMap)->Arg(600)->Arg(1600)->ArgName("width")->Unit(benchmark::kMillisecond);

// The same selection shown on Rank-Spirel1 of us-places (its paths on top of the kept base).
void SelectionOnTheSpirel(benchmark::State& state) {
    auto map = UsPlaces("Map");
    const auto places = PlacesUnder(*map, SunBelt[0], SunBelt[1], SunBelt[2], SunBelt[3]);
    map.reset();
    auto f = UsPlaces("RankSpirel1");
    const int width = static_cast<int>(state.range(0)), height = width == 600 ? 600 : 1000;
    const double px = PxPerTwip(width);
    f->selection.Set(places);
    QImage base(width, height, QImage::Format_RGB32), screen(width, height, QImage::Format_RGB32);
    {
        QPainter p(&base);
        render::PaintLayer(p, f->Picture1, px, MarkedPlaces(*f), render::Layer::Base);
    }
    for (auto _ : state) {
        RemarkPlaces(*f);
        const Emphasised shown = render::ShownEmphasis(f->Picture1, MarkedPlaces(*f));
        QPainter p(&screen);
        p.drawImage(0, 0, base);
        render::PaintLayer(p, f->Picture1, px, shown, render::Layer::Top);
        p.end();
        benchmark::DoNotOptimize(screen.bits());
    }
    state.counters["places"] = static_cast<double>(places.size());
}
BENCHMARK(SelectionOnTheSpirel)->Arg(600)->Arg(1600)->ArgName("width")->Unit(benchmark::kMillisecond);

}  // namespace
