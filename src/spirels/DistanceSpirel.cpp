#include "spirels/DistanceSpirel.h"

#include <utility>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Colours.h"
#include "draw/Canvas.h"
#include "draw/Thinning.h"
#include "spirels/SpirelState.h"
#include "draw/Formats.h"
#include "draw/SpirelFace.h"
#include "spirels/RankSpirels.h"

namespace {

constexpr float Grey200 = 200 + 256 * 200 + 65536 * 200;

float Distance(const SpirelState& s, int c, int t) { return s.PathStep(c, t, 1); }
float Moved(const SpirelState& s, int c, int t) { return s.PathStep(c, t, 2); }

// A date into which no city moved has no average: it stays 0 and is left out of the curve.
bool AnyMoveAt(const DataSet& d, const SpirelState& s, int t) {
    for (int c = 1; c <= d.NumCities; ++c)
        if (Moved(s, c, t) != 0) return true;
    return false;
}

void MarkMoves(const DataSet& d, SpirelState& s) {
    for (int c = 1; c <= d.NumCities; ++c)
        for (int t = 1; t <= d.NumDates; ++t)
            if (Distance(s, c, t) > 0) s.PathStep(c, t, 2) = 1;
}

void AverageByDate(const DataSet& d, SpirelState& s) {
    double allD = 0, allK = 0;
    for (int t = 2; t <= d.NumDates; ++t) {
        double D = 0, K = 0;
        for (int c = 1; c <= d.NumCities; ++c) {
            D += Distance(s, c, t);
            K += Moved(s, c, t);
        }
        s.AvStepDistance(t) = K != 0 ? static_cast<float>(D / K) : 0.0f;
        allD += D;
        allK += K;
    }
    s.AvAllDistance = allK != 0 ? static_cast<float>(allD / allK) : 0.0f;
}

void AverageByCity(const DataSet& d, SpirelState& s) {
    for (int c = 1; c <= d.NumCities; ++c) {
        double Dc = 0, Wc = 0;
        for (int t = 2; t <= d.NumDates; ++t) {
            Dc += Distance(s, c, t);
            // The weight of a move is a single; with even dates it is exactly 1.
            const float weight = static_cast<float>(d.NumDates - 1) * Moved(s, c, t) * d.StepFraction(t);
            Wc += weight;
        }
        s.AvCityDistance(c) = Wc != 0 ? static_cast<float>(Dc / Wc) : 0.0f;
    }
}

void PrintDistanceTable(const DataSet& d, const SpirelState& s, TextSurface& text) {
    text.Clear();
    for (int k = 0; k < 10; ++k) text.Line();
    text.Put("  ").Put(" From    ").Put("  ").Put("To    ").Put("   ").Put(" Distance").End();
    text.Line();
    ResultTable table;
    table.title = "Average distance moved in rank";
    table.columns = {"From", "To", "AvStepDistance"};
    for (int t = 2; t <= d.NumDates; ++t) {
        text.Put("  ").Put(Unformatted(d.DateYear(t - 1))).Put("   ").Put(Unformatted(d.DateYear(t))).Put("   ");
        text.Put(Unformatted(s.AvStepDistance(t))).End();
        table.Row().Add(d.DateYear(t - 1)).Add(d.DateYear(t)).Add(s.AvStepDistance(t));
    }
    text.Line();
    text.Put("   Av Dis       =      ").Put(Unformatted(s.AvAllDistance)).End();
    // The mean over all moves is not one interval's: it gets a one-row table of its own.
    ResultTable overall;
    overall.title = "Average distance of all moves";
    overall.columns = {"AvAllDistance"};
    overall.Row().Add(s.AvAllDistance);
    text.Tables.push_back(std::move(table));
    text.Tables.push_back(std::move(overall));
}

float LargestDistance(const DataSet& d, const SpirelState& s) {
    float largest = -10;
    for (int t = 1; t <= d.NumDates; ++t)
        for (int c = 1; c <= d.NumCities; ++c)
            if (Distance(s, c, t) > largest) largest = Distance(s, c, t);
    return largest;
}

// A city's distances from the second date on, broken where it did not move.
void DrawCityDistances(const DataSet& d, const SpirelState& s, const Canvas& cv, int c, float scale) {
    Picture& p = cv.pic;
    const Colour colour = ColourFromFloat(cv.frame.PlotColor);
    float angle = SpirelStartAngle() + d.AngleStep(1);
    BrokenPath path(p, colour);
    for (int t = 2; t <= d.NumDates; ++t) {
        const float r = Distance(s, c, t) * scale;
        const SpirelPoint P = SpirelPosition(cv.frame, r, angle);
        p.CurrentTag = OpTag{c, static_cast<int16_t>(t), 0};
        if (Moved(s, c, t) == 0)
            path.Break();
        else
            path.To(P.x, P.y);
        angle = angle + d.AngleStep(t);
    }
    p.CurrentTag = OpTag{};
}

void DrawAverageCurve(const DataSet& d, const SpirelState& s, const Canvas& c, float scale) {
    Picture& p = c.pic;
    c.frame.PlotColor = static_cast<float>(c.black ? White : Black);
    const Colour colour = ColourFromFloat(c.frame.PlotColor);
    p.DrawWidth = 3;
    float angle = SpirelStartAngle() + d.AngleStep(1);
    BrokenPath path(p, colour);
    for (int t = 2; t <= d.NumDates; ++t) {
        const float r = s.AvStepDistance(t) * scale;
        const SpirelPoint P = SpirelPosition(c.frame, r, angle);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), 1};
        if (!AnyMoveAt(d, s, t))
            path.Break();
        else
            path.To(P.x, P.y);
        angle = angle + d.AngleStep(t);
    }
    p.CurrentTag = OpTag{};
}

}  // namespace

void DistanceSpirel(const DataSet& d, RankTables& r, SpirelState& s, const Canvas& c) {
    MarkMoves(d, s);
    AverageByDate(d, s);
    AverageByCity(d, s);
    PrintDistanceTable(d, s, c.text);
    DrawDistanceSpirel(d, r, s, c);
}

void DrawDistanceSpirel(const DataSet& d, RankTables& r, SpirelState& s, const Canvas& c) {
    Picture& p = c.pic;
    p.DrawWidth = 1;
    ClearPicture(c);
    const bool black = c.black;
    p.BackColor = black ? Black : LightGrey;
    const float fg = black ? Grey200 : 0.0f;

    const float M = LargestDistance(d, s);
    CityVec measure(d.NumCities), sorted(d.NumCities);
    CityVec& order = s.DrawOrder;
    for (int c = 1; c <= d.NumCities; ++c) measure(c) = s.AvCityDistance(c);
    SortDescending(measure, sorted, order, d.NumCities);

    float angle = 0;
    const float R = DrawSpirelRings(c, fg);
    // Without any move there is nothing to scale: the face stays empty and the city
    // spirel keeps the scale it had.
    const bool anyMove = M > 0;
    const float scale = anyMove ? R / M : 0.0f;
    DrawSpirelSpokes(c, DialOf(d), R, fg);
    DrawSpirelFace(c, DialOf(d), angle, R, fg);

    RampColours colours;
    AssignRampColours(d, r, colours);

    if (anyMove) {
        p.DrawWidth = 2;
        const int step = PathThinning(d.NumCities);
        for (int j = d.NumCities; j >= 1; j -= 1) {
            const int city = ToCount(order(j));
            if (!DrawsPath(j, step) && !c.marked.Has(city)) continue;
            c.frame.PlotColor = static_cast<float>(RampColourOf(colours, city));
            DrawCityDistances(d, s, c, city, scale);
        }
        DrawAverageCurve(d, s, c, scale);
        DrawThinningCaption(c, d.NumCities, step);
    }
    c.text.Line();
    if (anyMove) s.SpirelScale = scale;
}
