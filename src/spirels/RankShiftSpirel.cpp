#include "spirels/RankShiftSpirel.h"

#include "data/DataSet.h"
#include "draw/Canvas.h"
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
    } curves[] = {{s.AvRankShift, RGB(255, 255, 0)}, {s.PctRankShift, RGB(255, 0, 0)}, {s.CumRankShift, RGB(0, 255, 0)}};
    int16_t number = 0;
    for (const auto& curve : curves) {
        ++number;
        DateVec radius;
        for (int t = 2; t <= d.NumDates; ++t) radius(t) = u * curve.values(t);
        c.frame.PlotColor = static_cast<float>(curve.colour);
        p.DrawWidth = 3;
        // Date 2's direction: the single start angle plus the first step, in single precision.
        DrawChangeCurve(d, c, radius, curve.colour, number, SpirelStartAngle() + d.AngleStep(1));
    }
    p.DrawWidth = 1;
    c.frame.PlotColor = static_cast<float>(RGB(0, 255, 0));
}
