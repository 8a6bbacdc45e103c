#include "ranksize/RankShift.h"

#include <cmath>
#include <cstdlib>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/Thinning.h"
#include "draw/Contrast.h"

namespace {

// Frame position of a data point, computed as PlotCurve computes its points.
float FrameX(const PlotFrame& fr, float x) {
    return static_cast<float>(static_cast<double>(x) * fr.XScale + fr.LeftMargin);
}
float FrameY(const PlotFrame& fr, float y) {
    return static_cast<float>(static_cast<double>(fr.PlotHeight) + fr.TopMargin - static_cast<double>(y) * fr.YScale);
}

float Ln(float v) { return static_cast<float>(std::log(static_cast<double>(v))); }

// In order of their rank at the shift date, its cities at their populations of the last date;
// a city absent then (population 1, logarithm 0) breaks the line.
void DrawShiftLine(const DataSet& d, const RankTables& r, const Canvas& c) {
    Picture& p = c.pic;
    const int ShiftDate = RankShiftDate(d);
    const Colour red = RGB(255, 0, 0);
    CityVec ys(d.NumCities);
    for (int i = 1; i <= d.NumCities; ++i) ys(i) = Ln(d.PopTable(r.RankCity(i, ShiftDate), d.NumDates));
    BrokenPath path(p, red);
    const int n = ToCount(d.NumPresent(ShiftDate));
    for (int i = 1; i <= n; ++i) {
        const float x = FrameX(c.frame, r.LogRank(i));
        const float y = FrameY(c.frame, ys(i));
        if (ys(i) == 0) {
            path.Break();
            continue;
        }
        p.CurrentTag = OpTag{static_cast<int>(r.RankCity(i, ShiftDate)), d.NumDates, CitiesAtOneDate};
        path.To(x, y);
    }
    p.CurrentTag = OpTag{};
}

constexpr float Absent = 999;  // marks a city-date without a point in rank space

}  // namespace

int RankShiftDate(const DataSet& d) {
    const int target = d.DateYear(d.NumDates) - 50;
    int best = 1;
    for (int t = 2; t < d.NumDates; ++t)
        if (std::abs(d.DateYear(t) - target) < std::abs(d.DateYear(best) - target)) best = t;
    return best;
}

void RankShift(const DataSet& d, RankTables& r, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    c.frame.AxisKind = 1;
    p.DrawWidth = 1;
    ApplyBackgroundChoice(c, true);
    c.frame.PlotColor = c.frame.AxisColor;
    DrawAxes(c, static_cast<float>(1.1 * std::log(10000000.0)), static_cast<float>(1.1 * std::log(100.0)),
             "Log Population", "Log Rank", Axes{});
    CityVec ys(d.NumCities);
    for (int t = 1; t <= d.NumDates; ++t) {
        for (int i = 1; i <= d.NumCities; ++i) ys(i) = r.LogRankPop(i, t);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), RankCurve};
        PlotCurve(c, ys, r.LogRank, ToCount(d.NumPresent(t)));
    }
    p.CurrentTag = OpTag{};
    // The red line stays 2 pixels wide and leaves DrawWidth at 2.
    p.DrawWidth = 2;
    c.frame.PlotColor = 255;
    DrawShiftLine(d, r, c);
}

void RankSpace(const DataSet& d, RankTables& r, const Canvas& cv) {
    Picture& p = cv.pic;
    ClearPicture(cv);
    // Only the background: the axes keep the colour the last command gave them.
    ApplyBackgroundChoice(cv, false);

    // Layer 1: ln rank; layer 2: ln population.
    Grid<float, MaxCities, MaxDates> logRank(d.NumCities, d.NumDates), logPop(d.NumCities, d.NumDates);
    for (int t = 1; t <= d.NumDates; ++t) {
        for (int c = 1; c <= d.NumCities; ++c) {
            if (r.CityRank(c, t) <= d.NumPresent(t)) {
                logRank(c, t) = Ln(r.CityRank(c, t));
                logPop(c, t) = Ln(d.PopTable(c, t));
            } else {
                logRank(c, t) = Absent;
                logPop(c, t) = Absent;
            }
        }
    }
    float maxLogPop = -100, maxLogRank = -100;
    for (int t = 1; t <= d.NumDates; ++t)
        for (int c = 1; c <= d.NumCities; ++c) {
            if (logRank(c, t) == Absent) continue;
            if (logPop(c, t) > maxLogPop) maxLogPop = logPop(c, t);
            if (logRank(c, t) > maxLogRank) maxLogRank = logRank(c, t);
        }
    DrawAxes(cv, static_cast<float>(1.1 * maxLogPop), static_cast<float>(1.1 * maxLogRank), "Log Population",
             "Log Rank", Axes{});

    r.ColorRed = r.ColorGreen = r.ColorBlue = 0;
    r.ColorStep = static_cast<float>(255.0 / (d.NumCities + 1));
    p.DrawWidth = 2;
    const int step = PathThinning(d.NumCities);
    for (int c = 1; c <= d.NumCities; ++c) {
        if (!DrawsPath(c, step) && !cv.marked.Has(c)) {
            r.ColorGreen = r.ColorGreen + r.ColorStep;
            r.ColorRed = r.ColorRed + r.ColorStep;
            r.ColorBlue = r.ColorBlue + r.ColorStep;
            continue;
        }
        cv.frame.PlotColor = static_cast<float>(RGB(ToInt16(r.ColorRed), ToInt16(r.ColorGreen), ToInt16(r.ColorBlue)));
        const Colour colour = Visible(ColourFromFloat(cv.frame.PlotColor), p.BackColor);
        // Each run of present dates starts with a black one-point mark.
        BrokenPath path(p, colour, Black);
        for (int t = 1; t <= d.NumDates; ++t) {
            if (logRank(c, t) == Absent) {
                path.Break();
                continue;
            }
            p.CurrentTag = OpTag{c, static_cast<int16_t>(t), 0};
            path.To(FrameX(cv.frame, logRank(c, t)), FrameY(cv.frame, logPop(c, t)));
        }
        r.ColorGreen = r.ColorGreen + r.ColorStep;
        r.ColorRed = r.ColorRed + r.ColorStep;
        r.ColorBlue = r.ColorBlue + r.ColorStep;
    }
    p.CurrentTag = OpTag{};
    p.DrawWidth = 1;
    DrawThinningCaption(cv, d.NumCities, step);
}
