#include "spirels/RankShiftSpirel.h"

#include "data/DataSet.h"
#include "draw/Canvas.h"
#include "draw/Contrast.h"
#include "spirels/SpirelState.h"
#include "stats/InfoStatsState.h"
#include "draw/SpirelFace.h"
#include "spirels/InfoSpirel.h"

namespace {

// A shift of 35 ranks reaches the outer ring.
constexpr float RanksToOuterRing = 35;

}  // namespace

void RankShiftSpirel(const DataSet& d, const InfoStatsState& s, const Canvas& c) {
    Picture& p = c.pic;
    const float fg = ClearForStatisticsSpirel(c);
    const float R = DrawSpirelRingsAndSpokes(c, DialOf(d), fg);
    const float u = R / RanksToOuterRing;

    const struct {
        const DateVec& values;
        Colour colour;
        const char* name;
        int16_t width;  // the mean lies under the percentage from the second date on: drawn wider, it shows on both sides
    } curves[] = {{s.AvRankShift, RGB(255, 255, 0), "Mean rank shift", 7},
                  {s.PctRankShift, RGB(255, 0, 0), "Rank shift %", 3},
                  {s.CumRankShift, RGB(0, 255, 0), "Cumulative rank shift", 3}};
    int16_t number = 0;
    std::vector<KeyEntry> key;
    for (const auto& curve : curves) {
        ++number;
        DateVec radius(d.NumDates);
        for (int t = 2; t <= d.NumDates; ++t) radius(t) = u * curve.values(t);
        const Colour colour = Visible(curve.colour, p.BackColor);
        c.frame.PlotColor = static_cast<float>(colour);
        p.DrawWidth = curve.width;
        // Date 2's direction: the single start angle plus the first step, in single precision.
        DrawChangeCurve(d, c, radius, colour, number, SpirelStartAngle() + d.AngleStep(1));
        key.push_back({curve.name, colour, curve.width});
    }
    DrawKey(c, key, true);
    p.DrawWidth = 1;
    c.frame.PlotColor = static_cast<float>(RGB(0, 255, 0));
}
