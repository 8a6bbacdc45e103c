#include "spirels/InfoSpirel.h"

#include "data/DataSet.h"
#include "draw/Canvas.h"
#include "draw/Contrast.h"
#include "spirels/SpirelState.h"
#include "stats/InfoStatsState.h"
#include "draw/SpirelFace.h"

namespace {

// Information measures are small: drawn outward from an inner circle of 500 twips.
constexpr float InnerRadius = 500;

enum class Scale { Information, Growth };

struct InfoSeries {
    Scale scale;
    Colour colour;
    const char* name;
    float (*value)(const InfoStatsState&, int t);
};

const InfoSeries Series[] = {
    {Scale::Information, RGB(255, 255, 0), "Info", [](const InfoStatsState& s, int t) { return s.Info(t); }},
    {Scale::Information, RGB(255, 0, 0), "Total info", [](const InfoStatsState& s, int t) { return s.TotInfo(t); }},
    {Scale::Information, RGB(255, 255, 255), "Info + total",
     [](const InfoStatsState& s, int t) { return s.TotInfo(t) + s.Info(t); }},
    {Scale::Growth, RGB(0, 0, 255), "Growth", [](const InfoStatsState& s, int t) { return s.Growth(t); }},
    {Scale::Growth, RGB(0, 255, 0), "Total growth", [](const InfoStatsState& s, int t) { return s.TotGrowth(t); }},
    {Scale::Growth, RGB(255, 0, 255), "Growth product", [](const InfoStatsState& s, int t) { return s.TotGrowth(t) * s.Growth(t); }},
};

}  // namespace

void DrawChangeCurve(const DataSet& d, const Canvas& c, const DateVec& radius, Colour colour, int16_t series, float startAngle) {
    Picture& p = c.pic;
    float angle = startAngle;
    for (int t = 2; t <= d.NumDates; ++t) {
        if (t > 2) angle = angle + d.AngleStep(t - 1);
        const SpirelPoint pt = SpirelPosition(c.frame, radius(t), angle);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), series};
        if (t == 2)
            p.Line(pt.x, pt.y, pt.x, pt.y, colour);
        else
            p.LineTo(pt.x, pt.y, colour);
    }
    p.CurrentTag = OpTag{};
}

void InfoSpirel(const DataSet& d, const InfoStatsState& info, const Canvas& c) {
    Picture& p = c.pic;
    const float fg = ClearForStatisticsSpirel(c);
    const float R = DrawSpirelFaceProcedure(c, DialOf(d), fg);

    int16_t number = 0;
    std::vector<KeyEntry> key;
    for (const InfoSeries& s : Series) {
        ++number;
        DateVec radius(d.NumDates);
        for (int t = 2; t <= d.NumDates; ++t) {
            const float v = s.value(info, t);
            radius(t) = s.scale == Scale::Information ? InnerRadius + R * v
                                                      : static_cast<float>((v - 0.0) * R / 3);
        }
        const Colour colour = Visible(s.colour, p.BackColor);
        c.frame.PlotColor = static_cast<float>(colour);
        p.DrawWidth = 2;
        // Date 2's direction, the sum formed in double from the written constant.
        DrawChangeCurve(d, c, radius, colour, number, static_cast<float>(TwoPi / 4 + d.AngleStep(1)));
        key.push_back({s.name, colour, 2});
    }
    DrawKey(c, key, true);
    p.DrawWidth = 1;
}
