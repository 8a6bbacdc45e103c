#include "spirels/PopSpirel.h"

#include "data/DataSet.h"
#include "draw/Canvas.h"
#include "draw/Contrast.h"
#include "spirels/SpirelState.h"
#include "stats/PopStatsState.h"
#include "draw/SpirelFace.h"

namespace {

struct ShareCurve {
    const DateVec& series;
    Colour colour;
    const char* name;
    int16_t width;
};

// One curve from the spoke of date 2 to the last date, each value on its own date's
// spoke. Date 1 is left out, as on the information spirel: its spoke is the last date's.
void DrawShareCurve(const DataSet& d, const Canvas& c, const DateVec& series, float R, int16_t number) {
    Picture& p = c.pic;
    const Colour colour = ColourFromFloat(c.frame.PlotColor);
    float angle = SpirelStartAngle() + d.AngleStep(1);
    p.CurrentTag = OpTag{0, 2, number};
    SpirelPoint at = SpirelPosition(c.frame, R * series(2), angle);
    p.Line(at.x, at.y, at.x, at.y, colour);
    for (int k = 3; k <= d.NumDates; ++k) {
        angle = angle + d.AngleStep(k - 1);
        at = SpirelPosition(c.frame, R * series(k), angle);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(k), number};
        p.LineTo(at.x, at.y, colour);
    }
    p.CurrentTag = OpTag{};
}

}  // namespace

void PopSpirel(const DataSet& d, const PopStatsState& s, const Canvas& c) {
    Picture& p = c.pic;
    const float fg = ClearForStatisticsSpirel(c);

    const float R = DrawSpirelRingsAndSpokes(c, DialOf(d), fg);
    float angle = 0;
    DrawSpirelFace(c, DialOf(d), angle, R, fg);

    // Green runs under blue and red under yellow: the covered ones are drawn wider, so
    // they show on both sides of the curve on top.
    const ShareCurve curves[] = {{s.TopTenPctShare, RGB(0, 255, 0), "Top 10% share", 7},
                                 {s.TopHalfShare, RGB(255, 0, 0), "Top half share", 7},
                                 {s.TopTenShare, RGB(0, 0, 255), "Top 10 share", 3},
                                 {s.TopFiftyShare, RGB(255, 255, 0), "Top 50 share", 3}};
    int16_t number = 0;
    std::vector<KeyEntry> key;
    for (const ShareCurve& curve : curves) {
        p.DrawWidth = curve.width;
        const Colour colour = Visible(curve.colour, p.BackColor);
        c.frame.PlotColor = static_cast<float>(colour);
        DrawShareCurve(d, c, curve.series, R, ++number);
        key.push_back({curve.name, colour, curve.width});
    }
    DrawKey(c, key, true);
    p.DrawWidth = 1;
}
