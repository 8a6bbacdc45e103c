#include "spirels/RankSpirels.h"

#include <cmath>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/Thinning.h"
#include "spirels/SpirelState.h"
#include "draw/SpirelFace.h"

namespace {

enum class ChangeMeasure { Rank, Population };

struct Variant {
    int number;
    ChangeMeasure measure;
    float lightFace;  // face colour on the black background
};

constexpr float White = 255 + 256 * 255 + 65536 * 255;
constexpr float Grey200 = 200 + 256 * 200 + 65536 * 200;

const Variant Variants[] = {
    {1, ChangeMeasure::Rank, Grey200},       {2, ChangeMeasure::Rank, White},
    {3, ChangeMeasure::Population, White},   {4, ChangeMeasure::Population, White},
    {5, ChangeMeasure::Rank, White},         {6, ChangeMeasure::Rank, White},
};

// The placeholder loading puts where a population is missing.
constexpr float MissingPopulation = 1;

bool PresentAt(const DataSet& d, const RankTables& r, int c, int t) { return r.CityRank(c, t) <= d.NumPresent(t); }

// How much city c changed over the whole span, summed in single precision.
float ChangeOf(const DataSet& d, const RankTables& r, ChangeMeasure measure, int c) {
    float sum = 0;
    for (int t = 1; t <= d.NumDates - 1; ++t) {
        if (measure == ChangeMeasure::Rank) {
            // A city outside the lists counts as rank 101, whatever its place among the absent.
            float a = PresentAt(d, r, c, t) ? r.CityRank(c, t) : 101.0f;
            float b = PresentAt(d, r, c, t + 1) ? r.CityRank(c, t + 1) : 101.0f;
            sum = sum + std::fabs(a - b);
        } else {
            float a = d.PopTable(c, t), b = d.PopTable(c, t + 1);
            if (a != MissingPopulation && b != MissingPopulation) sum = sum + std::fabs(a - b);
        }
    }
    return sum;
}

// The largest value a variant plots, which lands on the outer ring.
float LargestValue(const DataSet& d, const RankTables& rt, int variant) {
    float largest = -10;
    for (int t = 1; t <= d.NumDates; ++t) {
        float v = 0;
        switch (variant) {
            case 1:
            case 2: v = d.NumPresent(t); break;
            case 3:
            case 4: v = rt.RankPop(1, t); break;
            case 5: v = rt.TotalPop(t); break;
            default: v = rt.TotalLogPop(t); break;
        }
        if (v > largest) largest = v;
    }
    if (variant == 2 || variant == 4) return static_cast<float>(std::log(static_cast<double>(largest)));
    return largest;
}

double PlottedValue(const DataSet& d, const RankTables& rt, int variant, int c, int t) {
    switch (variant) {
        case 1: return rt.CityRank(c, t);
        case 2: return std::log(static_cast<double>(rt.CityRank(c, t)));
        case 3: return d.PopTable(c, t);
        case 4: return std::log(static_cast<double>(d.PopTable(c, t)));
        case 5: return rt.CumCityPop(c, t);
        default: return rt.CumCityLogPop(c, t);
    }
}

void ClearPathSteps(const DataSet& d, SpirelState& s) {
    for (int c = 1; c <= d.NumCities; ++c)
        for (int t = 1; t <= d.NumDates; ++t)
            for (int layer = 1; layer <= PathStepTable::Layers; ++layer) s.PathStep(c, t, layer) = 0;
}

// One city's path: a dot where it (re)enters the lists, segments while it stays, a break
// where it is absent. Records the distance of every segment in PathStep layer 1, also for
// a path left undrawn (draw = false) on a thinned picture: the distance spirel reads them all.
void DrawCityPath(const DataSet& d, const RankTables& r, SpirelState& s, const Canvas& cv, const Variant& v, int c,
                  float scale, bool draw) {
    Picture& p = cv.pic;
    const Colour colour = ColourFromFloat(cv.frame.PlotColor);
    float angle = SpirelStartAngle();
    BrokenPath path(p, colour);
    bool inRun = false;
    float previous = 0;
    for (int t = 1; t <= d.NumDates; ++t) {
        const float radius = static_cast<float>(PlottedValue(d, r, v.number, c, t) * scale);
        const float quantity = v.number == 1 ? r.CityRank(c, t) : radius;
        p.CurrentTag = OpTag{c, static_cast<int16_t>(t), 0};
        const bool present = PresentAt(d, r, c, t);
        const bool continues = present && inRun;
        inRun = present;
        if (draw) {
            if (!present) {
                path.Break();
            } else {
                const SpirelPoint P = SpirelPosition(cv.frame, radius, angle);
                path.To(P.x, P.y);
            }
        }
        if (continues) s.PathStep(c, t, 1) = std::fabs(previous - quantity);
        previous = quantity;
        angle = angle + d.AngleStep(t);
    }
    p.CurrentTag = OpTag{};
}

void PrintPlotCityHint(const Canvas& c) {
    for (int k = 0; k < 3; ++k) c.text.Line();
    c.text.Line("     If you wish to plot a city from ");
    c.text.Line("     the above pull down menu, be sure");
    c.text.Line("     to select a city first");
}

void DrawRankSpirel(const DataSet& d, RankTables& r, SpirelState& s, const Canvas& c, const Variant& v) {
    Picture& p = c.pic;
    p.DrawWidth = 1;
    ClearPicture(c);
    ClearPathSteps(d, s);
    const bool black = c.black;
    p.BackColor = black ? Black : LightGrey;
    const float fg = black ? v.lightFace : 0.0f;

    CityVec measure(d.NumCities), sorted(d.NumCities);
    CityVec& order = s.DrawOrder;
    for (int c = 1; c <= d.NumCities; ++c) measure(c) = ChangeOf(d, r, v.measure, c);
    SortDescending(measure, sorted, order, d.NumCities);

    float angle = 0;
    const float R = DrawSpirelRings(c, fg);
    const float scale = static_cast<float>(Divide(R, LargestValue(d, r, v.number)));
    DrawSpirelSpokes(c, DialOf(d), R, fg);
    DrawSpirelFace(c, DialOf(d), angle, R, fg);

    RampColours colours;
    AssignRampColours(d, r, colours);

    p.DrawWidth = 2;
    const int step = PathThinning(d.NumCities);
    for (int j = d.NumCities; j >= 1; --j) {
        const int city = ToCount(order(j));
        c.frame.PlotColor = static_cast<float>(RampColourOf(colours, city));
        DrawCityPath(d, r, s, c, v, city, scale, DrawsPath(j, step) || c.marked.Has(city));
    }
    DrawThinningCaption(c, d.NumCities, step);

    if (v.number == 1) {
        PrintPlotCityHint(c);
        s.SpirelScale = scale;
        s.CityPlotCount = 1;
    }
}

}  // namespace

void AssignRampColours(const DataSet& d, RankTables& rt, RampColours& colours) {
    for (CityVec* v : {&colours.Red, &colours.Green, &colours.Blue}) v->Resize(d.NumCities);
    const float Q = d.NumCities / 4.0f;
    rt.ColorStep = 255 / Q;
    rt.ColorRed = 255;
    rt.ColorGreen = 0;
    rt.ColorBlue = 0;
    auto give = [&](int k) {
        const float c = rt.EntryOrder(k);
        colours.Red(c) = rt.ColorRed;
        colours.Green(c) = rt.ColorGreen;
        colours.Blue(c) = rt.ColorBlue;
    };
    auto clamp = [](float& v) {
        if (v > 255) v = 255;
        if (v < 0) v = 0;
    };
    give(1);
    for (int k = 2; k <= d.NumCities; ++k) {
        if (k <= Q) rt.ColorGreen = rt.ColorGreen + rt.ColorStep;
        if (k > Q && k <= 2 * Q) rt.ColorRed = rt.ColorRed - rt.ColorStep;
        if (k > 2 * Q && k <= 3 * Q) rt.ColorBlue = rt.ColorBlue + rt.ColorStep;
        if (k > 3 * Q) rt.ColorGreen = rt.ColorGreen - rt.ColorStep;
        clamp(rt.ColorRed);
        clamp(rt.ColorGreen);
        clamp(rt.ColorBlue);
        give(k);
    }
}

Colour RampColourOf(const RampColours& colours, int c) {
    return RGB(colours.Red(c), colours.Green(c), colours.Blue(c));
}

void RankSpirel(const DataSet& d, RankTables& r, SpirelState& s, const Canvas& c, int variant) {
    if (Variants[variant - 1].number >= 5) CityRunningSums(d, r);
    DrawRankSpirel(d, r, s, c, Variants[variant - 1]);
}
