#include "ranksize/Trajectories.h"

#include <string>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/Thinning.h"
#include "draw/Contrast.h"

namespace {

float FrameX(const PlotFrame& fr, float x) {
    return static_cast<float>(static_cast<double>(x) * fr.XScale + fr.LeftMargin);
}
float FrameY(const PlotFrame& fr, float y) {
    return static_cast<float>(static_cast<double>(fr.PlotHeight) + fr.TopMargin - static_cast<double>(y) * fr.YScale);
}

// Date t stands at NumDates * TimeFraction(t): 0 for the first date, NumDates for the last.
DateVec TimePositions(const DataSet& d) {
    DateVec xt(d.NumDates);
    for (int t = 1; t <= d.NumDates; ++t) xt(t) = d.NumDates * d.TimeFraction(t);
    return xt;
}

struct Trajectory {
    float startLevel;  // grey level of the first city
    float yRange;
    const char* yTitle;
    float (*value)(const DataSet& d, const RankTables& r, int city, int t);
    bool (*present)(const DataSet& d, float value, int t);
};

// One line per city, cities in their order at the first date, each a grey level lighter;
// a line breaks where the city is absent and each run starts with a mark in its colour.
void DrawTrajectories(const DataSet& d, RankTables& r, const Canvas& cv, const Trajectory& kind) {
    Picture& p = cv.pic;
    const DateVec xt = TimePositions(d);
    r.ColorRed = r.ColorGreen = r.ColorBlue = kind.startLevel;
    r.ColorStep = static_cast<float>(255.0 / d.NumCities);
    const float xRange = d.NumDates;
    const Axes axes{AxisScale::Years, AxisScale::Linear, {d.DateYear(1), d.DateYear(d.NumDates), 0.0, xRange}};
    DrawAxes(cv, kind.yRange, xRange, kind.yTitle, "Time", axes);
    p.DrawWidth = 1;
    DateVec value(d.NumDates);
    const int step = PathThinning(d.NumCities);
    for (int k = 1; k <= d.NumCities; ++k) {
        // The grey of every city moves on, drawn or not, so a thinned picture keeps the ramp.
        if (!DrawsPath(k, step) && !cv.marked.Has(static_cast<int>(RoundToLong(r.RankCity(k, 1))))) {
            r.ColorGreen = r.ColorGreen + r.ColorStep;
            r.ColorRed = r.ColorRed + r.ColorStep;
            r.ColorBlue = r.ColorBlue + r.ColorStep;
            continue;
        }
        const int c = static_cast<int>(RoundToLong(r.RankCity(k, 1)));
        for (int t = 1; t <= d.NumDates; ++t) value(t) = kind.value(d, r, c, t);
        cv.frame.PlotColor = static_cast<float>(RGB(ToInt16(r.ColorRed), ToInt16(r.ColorGreen), ToInt16(r.ColorBlue)));
        const Colour colour = Visible(ColourFromFloat(cv.frame.PlotColor), p.BackColor);
        BrokenPath path(p, colour);
        for (int t = 1; t <= d.NumDates; ++t) {
            if (!kind.present(d, value(t), t)) {
                path.Break();
                continue;
            }
            p.CurrentTag = OpTag{c, static_cast<int16_t>(t), 0};
            path.To(FrameX(cv.frame, xt(t)), FrameY(cv.frame, value(t)));
        }
        r.ColorGreen = r.ColorGreen + r.ColorStep;
        r.ColorRed = r.ColorRed + r.ColorStep;
        r.ColorBlue = r.ColorBlue + r.ColorStep;
    }
    p.CurrentTag = OpTag{};
    p.DrawWidth = 1;
    // The axes again, on top of the lines.
    DrawAxes(cv, kind.yRange, xRange, kind.yTitle, "Time", axes);
    DrawThinningCaption(cv, d.NumCities, step);
}

}  // namespace

void RankChange(const DataSet& d, RankTables& r, const Canvas& c) {
    ClearPicture(c);
    c.pic.DrawWidth = 1;
    // Only the background: the axes keep the colour the last command gave them.
    ApplyBackgroundChoice(c, false);
    float maxPresent = -10;
    for (int t = 1; t <= d.NumDates; ++t)
        if (d.NumPresent(t) > maxPresent) maxPresent = d.NumPresent(t);
    // Rank 1 lies at the bottom, just above the time axis; the first date's leader is black.
    const Trajectory ranks{0, static_cast<float>(1.1 * maxPresent), "Rank",
                           [](const DataSet&, const RankTables& g, int c, int t) { return g.CityRank(c, t); },
                           [](const DataSet& g, float v, int t) { return v <= g.NumPresent(t); }};
    DrawTrajectories(d, r, c, ranks);
}

void PopChange(const DataSet& d, RankTables& r, const Canvas& c) {
    ClearPicture(c);
    c.pic.DrawWidth = 1;
    ApplyBackgroundChoice(c, true);
    float maxPop = -10;
    for (int t = 1; t <= d.NumDates; ++t)
        if (r.RankPop(1, t) > maxPop) maxPop = r.RankPop(1, t);
    // Absent cells hold exactly 1.0, so a population of 1 read from the file counts as
    // absent here too. Grey levels pass 255 from the 241st city on and stay white.
    const Trajectory populations{25, static_cast<float>(1.1 * maxPop), "Population",
                                 [](const DataSet& g, const RankTables&, int c, int t) { return g.PopTable(c, t); },
                                 [](const DataSet&, float v, int) { return v != 1.0f; }};
    DrawTrajectories(d, r, c, populations);
}
