#include "spirels/DistanceSpirel.h"

#include <utility>

#include "app/Form.h"
#include "draw/Formats.h"
#include "draw/SpirelFace.h"
#include "spirels/RankSpirels.h"

namespace {

constexpr Colour White = 255 + 256 * 255 + 65536 * 255;
constexpr float Grey200 = 200 + 256 * 200 + 65536 * 200;

float Distance(const Form& f, int c, int t) { return f.spirel.PathStep(c, t, 1); }
float Moved(const Form& f, int c, int t) { return f.spirel.PathStep(c, t, 2); }

// A date into which no city moved has no average: it stays 0 and is left out of the curve.
bool AnyMoveAt(const Form& f, int t) {
    for (int c = 1; c <= f.data->NumCities; ++c)
        if (Moved(f, c, t) != 0) return true;
    return false;
}

void MarkMoves(Form& f) {
    const DataSet& d = *f.data;
    for (int c = 1; c <= d.NumCities; ++c)
        for (int t = 1; t <= d.NumDates; ++t)
            if (Distance(f, c, t) > 0) f.spirel.PathStep(c, t, 2) = 1;
}

void AverageByDate(Form& f) {
    const DataSet& d = *f.data;
    SpirelState& s = f.spirel;
    double allD = 0, allK = 0;
    for (int t = 2; t <= d.NumDates; ++t) {
        double D = 0, K = 0;
        for (int c = 1; c <= d.NumCities; ++c) {
            D += Distance(f, c, t);
            K += Moved(f, c, t);
        }
        s.AvStepDistance(t) = K != 0 ? static_cast<float>(D / K) : 0.0f;
        allD += D;
        allK += K;
    }
    s.AvAllDistance = allK != 0 ? static_cast<float>(allD / allK) : 0.0f;
}

void AverageByCity(Form& f) {
    const DataSet& d = *f.data;
    SpirelState& s = f.spirel;
    for (int c = 1; c <= d.NumCities; ++c) {
        double Dc = 0, Wc = 0;
        for (int t = 2; t <= d.NumDates; ++t) {
            Dc += Distance(f, c, t);
            // The weight of a move is a single; with even dates it is exactly 1.
            const float weight = static_cast<float>(d.NumDates - 1) * Moved(f, c, t) * d.StepFraction(t);
            Wc += weight;
        }
        s.AvCityDistance(c) = Wc != 0 ? static_cast<float>(Dc / Wc) : 0.0f;
    }
}

void PrintDistanceTable(Form& f) {
    const DataSet& d = *f.data;
    TextSurface& text = f.Text;
    text.Clear();
    for (int k = 0; k < 10; ++k) text.Line();
    text.Put("  ").Put(" From    ").Put("  ").Put("To    ").Put("   ").Put(" Distance").End();
    text.Line();
    ResultTable table;
    table.title = "Average distance moved in rank";
    table.columns = {"From", "To", "AvStepDistance"};
    for (int t = 2; t <= d.NumDates; ++t) {
        text.Put("  ").Put(Unformatted(d.DateYear(t - 1))).Put("   ").Put(Unformatted(d.DateYear(t))).Put("   ");
        text.Put(Unformatted(f.spirel.AvStepDistance(t))).End();
        table.Row().Add(d.DateYear(t - 1)).Add(d.DateYear(t)).Add(f.spirel.AvStepDistance(t));
    }
    text.Line();
    text.Put("   Av Dis       =      ").Put(Unformatted(f.spirel.AvAllDistance)).End();
    // The mean over all moves is not one interval's: it gets a one-row table of its own.
    ResultTable overall;
    overall.title = "Average distance of all moves";
    overall.columns = {"AvAllDistance"};
    overall.Row().Add(f.spirel.AvAllDistance);
    text.Tables.push_back(std::move(table));
    text.Tables.push_back(std::move(overall));
}

float LargestDistance(const Form& f) {
    float largest = -10;
    for (int t = 1; t <= f.data->NumDates; ++t)
        for (int c = 1; c <= f.data->NumCities; ++c)
            if (Distance(f, c, t) > largest) largest = Distance(f, c, t);
    return largest;
}

// A city's distances from the second date on, broken where it did not move.
void DrawCityDistances(Form& f, int c, float scale) {
    const DataSet& d = *f.data;
    Picture& p = f.Picture1;
    const Colour colour = ColourFromFloat(f.frame.PlotColor);
    float angle = SpirelStartAngle() + d.AngleStep(1);
    BrokenPath path(p, colour);
    for (int t = 2; t <= d.NumDates; ++t) {
        const float r = Distance(f, c, t) * scale;
        const SpirelPoint P = SpirelPosition(f, r, angle);
        p.CurrentTag = OpTag{static_cast<int16_t>(c), static_cast<int16_t>(t), 0};
        if (Moved(f, c, t) == 0)
            path.Break();
        else
            path.To(P.x, P.y);
        angle = angle + d.AngleStep(t);
    }
    p.CurrentTag = OpTag{};
}

void DrawAverageCurve(Form& f, float scale) {
    const DataSet& d = *f.data;
    Picture& p = f.Picture1;
    f.frame.PlotColor = static_cast<float>(BlackBackground(f) ? White : Black);
    const Colour colour = ColourFromFloat(f.frame.PlotColor);
    p.DrawWidth = 3;
    float angle = SpirelStartAngle() + d.AngleStep(1);
    BrokenPath path(p, colour);
    for (int t = 2; t <= d.NumDates; ++t) {
        const float r = f.spirel.AvStepDistance(t) * scale;
        const SpirelPoint P = SpirelPosition(f, r, angle);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), 1};
        if (!AnyMoveAt(f, t))
            path.Break();
        else
            path.To(P.x, P.y);
        angle = angle + d.AngleStep(t);
    }
    p.CurrentTag = OpTag{};
}

}  // namespace

void DistancePlot_Click(Form& f) {
    f.panel.Hide("PlotCity");
    MarkMoves(f);
    AverageByDate(f);
    AverageByCity(f);
    PrintDistanceTable(f);
    DrawDistanceSpirel(f);
}

void DrawDistanceSpirel(Form& f) {
    const DataSet& d = *f.data;
    Picture& p = f.Picture1;
    CollapseCommandPanel(f);
    p.DrawWidth = 1;
    ClearPicture(f);
    const bool black = BlackBackground(f);
    p.BackColor = black ? Black : LightGrey;
    const float fg = black ? Grey200 : 0.0f;

    const float M = LargestDistance(f);
    CityVec measure, sorted;
    CityVec& order = f.spirel.DrawOrder;
    for (int c = 1; c <= d.NumCities; ++c) measure(c) = f.spirel.AvCityDistance(c);
    SortDescending(measure, sorted, order, d.NumCities);

    float angle = 0;
    const float R = DrawSpirelRings(f, fg);
    // Without any move there is nothing to scale: the face stays empty and the city
    // spirel keeps the scale it had.
    const bool anyMove = M > 0;
    const float scale = anyMove ? R / M : 0.0f;
    DrawSpirelSpokes(f, R, fg);
    DrawSpirelFace(f, angle, R, fg);

    RampColours colours;
    AssignRampColours(f, colours);

    if (anyMove) {
        p.DrawWidth = 2;
        for (int j = d.NumCities; j >= 1; --j) {
            const int c = ToInt16(order(j));
            f.frame.PlotColor = static_cast<float>(RampColourOf(colours, c));
            DrawCityDistances(f, c, scale);
        }
        DrawAverageCurve(f, scale);
    }
    f.Text.Line();
    if (anyMove) f.spirel.SpirelScale = scale;
}
