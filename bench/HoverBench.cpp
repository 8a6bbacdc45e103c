// What a change of the emphasised city costs on the busiest spirel: a full repaint with the
// emphasis, and the window's repaint (its kept dimmed image, then the city's path on top).
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "core/Form.h"
#include "draw/Emphasis.h"
#include "render/PictureRenderer.h"

namespace {

std::unique_ptr<Form> BusiestSpirel() {
    auto f = std::make_unique<Form>(CITYSIZE_REAL_DATA);
    f->Click("ReadData");
    f->Click("RankSpirel2");
    return f;
}

// Each iteration emphasises the next city of the data that the picture shows.
int NextShownCity(const Form& f, int& k) {
    for (int tries = 0; tries < f.data->NumCities; ++tries) {
        const int city = 1 + (k++ % f.data->NumCities);
        if (ShowsCity(f.Picture1, city)) return city;
    }
    return 0;
}

void EmphasisFullRepaint(benchmark::State& state) {
    auto f = BusiestSpirel();
    int k = 0;
    for (auto _ : state) {
        QImage img = render::ToImage(f->Picture1, 1.0, NextShownCity(*f, k));
        benchmark::DoNotOptimize(img.bits());
    }
}
BENCHMARK(EmphasisFullRepaint)->Unit(benchmark::kMillisecond);

void EmphasisRepaintOverKeptBase(benchmark::State& state) {
    auto f = BusiestSpirel();
    const double pxPerTwip = 1.0 / render::TwipsPerPixel;
    int k0 = 0;
    QImage base(600, 600, QImage::Format_RGB32);
    {
        QPainter p(&base);
        render::PaintLayer(p, f->Picture1, pxPerTwip, NextShownCity(*f, k0), render::Layer::Base);
    }
    QImage screen(600, 600, QImage::Format_RGB32);
    int k = 0;
    for (auto _ : state) {
        const int city = render::ShownEmphasis(f->Picture1, NextShownCity(*f, k)).city;
        QPainter p(&screen);
        p.drawImage(0, 0, base);
        render::PaintLayer(p, f->Picture1, pxPerTwip, city, render::Layer::Top);
        p.end();
        benchmark::DoNotOptimize(screen.bits());
    }
}
BENCHMARK(EmphasisRepaintOverKeptBase)->Unit(benchmark::kMicrosecond);

}  // namespace
