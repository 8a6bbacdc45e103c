#include "spirels/RankSpirels.h"

#include <cmath>

#include "app/Form.h"
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

bool PresentAt(const Form& f, int c, int t) { return f.rank.CityRank(c, t) <= f.data->NumPresent(t); }

// How much city c changed over the whole span, summed in single precision.
float ChangeOf(const Form& f, ChangeMeasure measure, int c) {
    const DataSet& d = *f.data;
    float sum = 0;
    for (int t = 1; t <= d.NumDates - 1; ++t) {
        if (measure == ChangeMeasure::Rank) {
            // A city outside the lists counts as rank 101, whatever its place among the absent.
            float a = PresentAt(f, c, t) ? f.rank.CityRank(c, t) : 101.0f;
            float b = PresentAt(f, c, t + 1) ? f.rank.CityRank(c, t + 1) : 101.0f;
            sum = sum + std::fabs(a - b);
        } else {
            float a = d.PopTable(c, t), b = d.PopTable(c, t + 1);
            if (a != MissingPopulation && b != MissingPopulation) sum = sum + std::fabs(a - b);
        }
    }
    return sum;
}

// The largest value a variant plots, which lands on the outer ring.
float LargestValue(const Form& f, int variant) {
    const DataSet& d = *f.data;
    const RankTables& rt = f.rank;
    float largest = -10;
    for (int t = 1; t <= d.NumDates; ++t) {
        float v = 0;
        switch (variant) {
            case 1:
            case 2: v = d.NumPresent(t); break;
            case 3:
            case 4: v = rt.RankPop(1, t); break;
            case 5: v = rt.CumRankPop(d.NumCities, t); break;
            default: v = rt.CumRankLogPop(d.NumCities, t); break;
        }
        if (v > largest) largest = v;
    }
    if (variant == 2 || variant == 4) return static_cast<float>(std::log(static_cast<double>(largest)));
    return largest;
}

double PlottedValue(const Form& f, int variant, int c, int t) {
    const RankTables& rt = f.rank;
    switch (variant) {
        case 1: return rt.CityRank(c, t);
        case 2: return std::log(static_cast<double>(rt.CityRank(c, t)));
        case 3: return f.data->PopTable(c, t);
        case 4: return std::log(static_cast<double>(f.data->PopTable(c, t)));
        case 5: return rt.CumCityPop(c, t);
        default: return rt.CumCityLogPop(c, t);
    }
}

void ClearPathSteps(Form& f) {
    const DataSet& d = *f.data;
    for (int c = 1; c <= d.NumCities; ++c)
        for (int t = 1; t <= d.NumDates; ++t)
            for (int layer = 1; layer <= PathStepTable::Layers; ++layer) f.spirel.PathStep(c, t, layer) = 0;
}

// One city's path: a dot where it (re)enters the lists, segments while it stays, a break
// where it is absent. Records the distance of every segment in PathStep layer 1.
void DrawCityPath(Form& f, const Variant& v, int c, float scale) {
    const DataSet& d = *f.data;
    Picture& p = f.Picture1;
    const Colour colour = ColourFromFloat(f.frame.PlotColor);
    float angle = SpirelStartAngle();
    BrokenPath path(p, colour);
    float previous = 0;
    for (int t = 1; t <= d.NumDates; ++t) {
        const float r = static_cast<float>(PlottedValue(f, v.number, c, t) * scale);
        const SpirelPoint P = SpirelPosition(f, r, angle);
        const float quantity = v.number == 1 ? f.rank.CityRank(c, t) : r;
        p.CurrentTag = OpTag{static_cast<int16_t>(c), static_cast<int16_t>(t), 0};
        if (!PresentAt(f, c, t))
            path.Break();
        else if (path.To(P.x, P.y))
            f.spirel.PathStep(c, t, 1) = std::fabs(previous - quantity);
        previous = quantity;
        angle = angle + d.AngleStep(t);
    }
    p.CurrentTag = OpTag{};
}

void PrintPlotCityHint(Form& f) {
    for (int k = 0; k < 3; ++k) f.Text.Line();
    f.Text.Line("     If you wish to plot a city from ");
    f.Text.Line("     the above pull down menu, be sure");
    f.Text.Line("     to select a city first");
}

void DrawRankSpirel(Form& f, const Variant& v) {
    const DataSet& d = *f.data;
    Picture& p = f.Picture1;
    CollapseCommandPanel(f);
    p.DrawWidth = 1;
    ClearPicture(f);
    ClearPathSteps(f);
    const bool black = BlackBackground(f);
    p.BackColor = black ? Black : LightGrey;
    const float fg = black ? v.lightFace : 0.0f;

    CityVec measure, sorted;
    CityVec& order = f.spirel.DrawOrder;
    for (int c = 1; c <= d.NumCities; ++c) measure(c) = ChangeOf(f, v.measure, c);
    SortDescending(measure, sorted, order, d.NumCities);

    float angle = 0;
    const float R = DrawSpirelRings(f, fg);
    const float scale = static_cast<float>(Divide(R, LargestValue(f, v.number)));
    DrawSpirelSpokes(f, R, fg);
    DrawSpirelFace(f, angle, R, fg);

    RampColours colours;
    AssignRampColours(f, colours);

    p.DrawWidth = 2;
    for (int j = d.NumCities; j >= 1; --j) {
        const int c = ToInt16(order(j));
        f.frame.PlotColor = static_cast<float>(RampColourOf(colours, c));
        DrawCityPath(f, v, c, scale);
    }

    if (v.number == 1) {
        PrintPlotCityHint(f);
        f.panel.Show("Cities");
        f.panel.Show("PlotCity");
        f.spirel.SpirelScale = scale;
        f.spirel.CityPlotCount = 1;
    } else {
        f.panel.Show("Cities");
    }
}

}  // namespace

void AssignRampColours(Form& f, RampColours& colours) {
    const DataSet& d = *f.data;
    RankTables& rt = f.rank;
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

void RankSpirel1_Click(Form& f) { DrawRankSpirel(f, Variants[0]); }

void RankSpirel2_Click(Form& f) { DrawRankSpirel(f, Variants[1]); }

void RankSpirel3_Click(Form& f) { DrawRankSpirel(f, Variants[2]); }

void RankSpirel4_Click(Form& f) { DrawRankSpirel(f, Variants[3]); }

void RankSpirel5_Click(Form& f) { DrawRankSpirel(f, Variants[4]); }

void RankSpirel6_Click(Form& f) { DrawRankSpirel(f, Variants[5]); }
