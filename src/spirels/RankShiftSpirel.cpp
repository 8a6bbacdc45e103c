#include "spirels/RankShiftSpirel.h"

#include "app/Form.h"
#include "draw/SpirelFace.h"
#include "spirels/InfoSpirel.h"

namespace {

// A shift of 35 ranks reaches the outer ring.
constexpr float RanksToOuterRing = 35;

}  // namespace

void RankShiftSpirel_Click(Form& f) {
    const DataSet& d = *f.data;
    Picture& p = f.Picture1;
    const float fg = ClearForStatisticsSpirel(f);
    const float R = DrawSpirelRingsAndSpokes(f, fg);
    const float u = R / RanksToOuterRing;

    const InfoStatsState& s = f.info;
    const struct {
        const DateVec& values;
        Colour colour;
    } curves[] = {{s.AvRankShift, RGB(255, 255, 0)}, {s.PctRankShift, RGB(255, 0, 0)}, {s.CumRankShift, RGB(0, 255, 0)}};
    int16_t number = 0;
    for (const auto& c : curves) {
        ++number;
        DateVec radius;
        for (int t = 2; t <= d.NumDates; ++t) radius(t) = u * c.values(t);
        f.frame.PlotColor = static_cast<float>(c.colour);
        p.DrawWidth = 3;
        // Date 2's direction: the single start angle plus the first step, in single precision.
        DrawChangeCurve(f, radius, c.colour, number, SpirelStartAngle() + d.AngleStep(1));
    }
    p.DrawWidth = 1;
    f.frame.PlotColor = static_cast<float>(RGB(0, 255, 0));
}
