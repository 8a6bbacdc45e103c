#include "ranksize/Trajectories.h"

#include <string>

#include "app/Form.h"

namespace {

float FrameX(const PlotFrame& fr, float x) {
    return static_cast<float>(static_cast<double>(x) * fr.XScale + fr.LeftMargin);
}
float FrameY(const PlotFrame& fr, float y) {
    return static_cast<float>(static_cast<double>(fr.PlotHeight) + fr.TopMargin - static_cast<double>(y) * fr.YScale);
}

// Date t stands at NumDates * TimeFraction(t): 0 for the first date, NumDates for the last.
DateVec TimePositions(const DataSet& d) {
    DateVec xt;
    for (int t = 1; t <= d.NumDates; ++t) xt(t) = d.NumDates * d.TimeFraction(t);
    return xt;
}

struct Trajectory {
    float startLevel;  // grey level of the first city
    float yRange;
    const char* yTitle;
    float (*value)(const Form& f, int city, int t);
    bool (*present)(const Form& f, float value, int t);
};

// One line per city, cities in their order at the first date, each a grey level lighter;
// a line breaks where the city is absent and each run starts with a mark in its colour.
void DrawTrajectories(Form& f, const Trajectory& kind) {
    const DataSet& d = *f.data;
    RankTables& r = f.rank;
    Picture& p = f.Picture1;
    const DateVec xt = TimePositions(d);
    r.ColorRed = r.ColorGreen = r.ColorBlue = kind.startLevel;
    r.ColorStep = static_cast<float>(255.0 / d.NumCities);
    const float xRange = d.NumDates;
    DrawAxes(f, kind.yRange, xRange, kind.yTitle, "Time");
    p.DrawWidth = 1;
    DateVec value;
    for (int k = 1; k <= d.NumCities; ++k) {
        const int c = static_cast<int>(RoundToLong(r.RankCity(k, 1)));
        for (int t = 1; t <= d.NumDates; ++t) value(t) = kind.value(f, c, t);
        f.frame.PlotColor = static_cast<float>(RGB(ToInt16(r.ColorRed), ToInt16(r.ColorGreen), ToInt16(r.ColorBlue)));
        const Colour colour = ColourFromFloat(f.frame.PlotColor);
        BrokenPath path(p, colour);
        for (int t = 1; t <= d.NumDates; ++t) {
            if (!kind.present(f, value(t), t)) {
                path.Break();
                continue;
            }
            p.CurrentTag = OpTag{static_cast<int16_t>(c), static_cast<int16_t>(t), 0};
            path.To(FrameX(f.frame, xt(t)), FrameY(f.frame, value(t)));
        }
        r.ColorGreen = r.ColorGreen + r.ColorStep;
        r.ColorRed = r.ColorRed + r.ColorStep;
        r.ColorBlue = r.ColorBlue + r.ColorStep;
    }
    p.CurrentTag = OpTag{};
    p.DrawWidth = 1;
    // The axes again, on top of the lines.
    DrawAxes(f, kind.yRange, xRange, kind.yTitle, "Time");
}

}  // namespace

void RankChange_Click(Form& f) {
    const DataSet& d = *f.data;
    ClearPicture(f);
    f.Picture1.DrawWidth = 1;
    // Only the background: the axes keep the colour the last command gave them.
    ApplyBackgroundChoice(f, false);
    float maxPresent = -10;
    for (int t = 1; t <= d.NumDates; ++t)
        if (d.NumPresent(t) > maxPresent) maxPresent = d.NumPresent(t);
    // Rank 1 lies at the bottom, just above the time axis; the first date's leader is black.
    const Trajectory ranks{0, static_cast<float>(1.1 * maxPresent), "Rank",
                           [](const Form& g, int c, int t) { return g.rank.CityRank(c, t); },
                           [](const Form& g, float v, int t) { return v <= g.data->NumPresent(t); }};
    DrawTrajectories(f, ranks);
}

void PopChange_Click(Form& f) {
    const DataSet& d = *f.data;
    ClearPicture(f);
    f.Picture1.DrawWidth = 1;
    ApplyBackgroundChoice(f, true);
    float maxPop = -10;
    for (int t = 1; t <= d.NumDates; ++t)
        if (f.rank.RankPop(1, t) > maxPop) maxPop = f.rank.RankPop(1, t);
    // Absent cells hold exactly 1.0, so a population of 1 read from the file counts as
    // absent here too. Grey levels pass 255 from the 241st city on and stay white.
    const Trajectory populations{25, static_cast<float>(1.1 * maxPop), "Population",
                                 [](const Form& g, int c, int t) { return g.data->PopTable(c, t); },
                                 [](const Form&, float v, int) { return v != 1.0f; }};
    DrawTrajectories(f, populations);
}
