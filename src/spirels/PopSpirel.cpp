#include "spirels/PopSpirel.h"

#include "app/Form.h"
#include "draw/SpirelFace.h"

namespace {

struct ShareCurve {
    const DateVec& series;
    Colour colour;
};

// One curve from the spoke of date 2 to the last date, each value on its own date's
// spoke. Date 1 is left out, as on the information spirel: its spoke is the last date's.
void DrawShareCurve(Form& f, const DateVec& series, float R, int16_t number) {
    const DataSet& d = *f.data;
    Picture& p = f.Picture1;
    const Colour colour = ColourFromFloat(f.frame.PlotColor);
    float angle = SpirelStartAngle() + d.AngleStep(1);
    p.CurrentTag = OpTag{0, 2, number};
    SpirelPoint at = SpirelPosition(f, R * series(2), angle);
    p.Line(at.x, at.y, at.x, at.y, colour);
    for (int k = 3; k <= d.NumDates; ++k) {
        angle = angle + d.AngleStep(k - 1);
        at = SpirelPosition(f, R * series(k), angle);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(k), number};
        p.LineTo(at.x, at.y, colour);
    }
    p.CurrentTag = OpTag{};
}

}  // namespace

void PopSpirel_Click(Form& f) {
    Picture& p = f.Picture1;
    const float fg = ClearForStatisticsSpirel(f);

    const float R = DrawSpirelRingsAndSpokes(f, fg);
    float angle = 0;
    DrawSpirelFace(f, angle, R, fg);

    const PopStatsState& s = f.pop;
    const ShareCurve curves[] = {{s.TopTenPctShare, RGB(0, 255, 0)},
                                 {s.TopHalfShare, RGB(255, 0, 0)},
                                 {s.TopTenShare, RGB(0, 0, 255)},
                                 {s.TopFiftyShare, RGB(255, 255, 0)}};
    int16_t number = 0;
    for (const ShareCurve& c : curves) {
        p.DrawWidth = 3;
        f.frame.PlotColor = static_cast<float>(c.colour);
        DrawShareCurve(f, c.series, R, ++number);
    }
    p.DrawWidth = 1;
}
