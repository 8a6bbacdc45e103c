#include "spirels/CitySpirel.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Colours.h"
#include "draw/Canvas.h"
#include "spirels/SpirelState.h"
#include "draw/Formats.h"
#include "draw/SpirelFace.h"
#include "draw/Contrast.h"
#include "draw/Ticks.h"

namespace {


// An empty face in the city spirel's own colours, which differ from the other plots'.
void DrawFreshFace(const DataSet& d, const Canvas& c) {
    Picture& p = c.pic;
    p.DrawWidth = 1;
    ClearPicture(c);
    const bool black = c.black;
    p.BackColor = black ? Black : White;
    DrawSpirelFaceProcedure(c, DialOf(d), static_cast<float>(black ? White : Grey150));
}

// The path colour of the n-th press since "Rank-Spirel1" (n = CityPlotCount after raising).
void SetPathColour(const SpirelState& s, const Canvas& c) {
    static const int sequence[][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 255, 0}, {255, 0, 255},
                                      {0, 255, 255}, {0, 0, 0},     {150, 150, 150}, {255, 100, 0}};
    const int n = s.CityPlotCount;
    if (n < 2 || n > 10) return;
    const int* rgb = sequence[n - 2];
    c.frame.PlotColor = static_cast<float>(Visible(RGB(rgb[0], rgb[1], rgb[2]), c.pic.BackColor));
}

void PrintCityTable(const DataSet& d, const RankTables& r, TextSurface& text, int c) {
    text.Clear();
    for (int k = 0; k < 10; ++k) text.Line();
    text.FontSize = 11;
    text.Line("   " + d.CityName(c));  // city 0 (nothing chosen) fails here
    text.Line();
    text.FontSize = 9;
    text.Put("   ").Put("Year").Zone().Put("Rank").Zone().Put("Population").End();
    text.Line();
    // The CSV names the city in every row: a saved file carries no title.
    ResultTable table;
    table.title = d.CityName(c);
    table.columns = {"CityName", "Year", "Rank", "Population"};
    for (int t = 1; t <= d.NumDates; ++t) {
        float rank = r.CityRank(c, t);
        float population = d.PopTable(c, t);
        if (rank > d.NumPresent(t)) rank = population = 0;
        text.Put("   ").Put(Unformatted(d.DateYear(t))).Zone().Put(Unformatted(rank)).Zone();
        text.Put(Unformatted(population)).End();
        table.Row().Add(d.CityName(c)).Add(d.DateYear(t)).Add(rank).Add(population);
    }
    text.Tables.push_back(std::move(table));
}

// The path by rank at SpirelScale: the first dot 3 pixels wide, everything after the first
// segment 4. Returns the point of the last date, where the name goes.
SpirelPoint DrawCityRankPath(const DataSet& d, const RankTables& r, const SpirelState& s, const Canvas& cv, int c) {
    Picture& p = cv.pic;
    const Colour colour = ColourFromFloat(cv.frame.PlotColor);
    p.DrawWidth = 3;
    float angle = SpirelStartAngle();
    bool penDown = false;
    SpirelPoint P{}, lastDrawn{};
    bool drawn = false;
    for (int t = 1; t <= d.NumDates; ++t) {
        const float rank = r.CityRank(c, t);
        const float radius = s.SpirelScale * rank;
        P = SpirelPosition(cv.frame, radius, angle);
        p.CurrentTag = OpTag{c, static_cast<int16_t>(t), 0};
        if (rank > d.NumPresent(t)) {
            penDown = false;
        } else if (!penDown) {
            p.Line(P.x, P.y, P.x, P.y, colour);
            penDown = true;
        } else {
            p.DrawWidth = 4;
            p.LineTo(P.x, P.y, colour);
        }
        if (rank <= d.NumPresent(t)) lastDrawn = P, drawn = true;
        angle = angle + d.AngleStep(t);
    }
    // The name goes where the path ends: a city absent at the last date ends earlier (its
    // rank there, beyond the present ones, lies off the picture).
    return drawn ? lastDrawn : P;
}

void PlotCity(const DataSet& d, const RankTables& r, SpirelState& s, const Canvas& cv, int choice) {
    if (s.CityPlotCount == 1) DrawFreshFace(d, cv);
    s.CityPlotCount = Add16(s.CityPlotCount, 1);
    SetPathColour(s, cv);
    s.CityChoice = choice;
    const int c = s.CityChoice + 1;
    PrintCityTable(d, r, cv.text, c);

    Picture& p = cv.pic;
    const SpirelPoint end = DrawCityRankPath(d, r, s, cv, c);
    p.CurrentTag = OpTag{c, 0, 0};
    p.FontSize = 11;
    p.FontBold = true;
    // Leaders all end near the centre: a name that would overprint one printed before
    // moves down a line until it is clear, and stays inside the picture.
    const float w = static_cast<float>(LabelWidth(d.CityName(c), p.FontSize)), h = p.TextHeight();
    // A name that would run off the right edge ends just left of the path's end instead.
    const float startX = end.x + w > p.Width ? end.x - w - 60 : end.x;
    float x = std::clamp(startX, 0.0f, std::max(0.0f, p.Width - w)), y = end.y;
    for (bool moved = true; moved;) {
        moved = false;
        for (const DrawOp& op : p.Ops())
            if (op.kind == OpKind::Text && op.bold && x < op.x1 + LabelWidth(op.text, op.fontSize) &&
                op.x1 < x + w && y < op.y1 + h && op.y1 < y + h) {
                y = op.y1 + h;
                moved = true;
            }
    }
    p.CurrentX = x;
    p.CurrentY = std::max(0.0f, std::min(y, p.Height - h));
    p.Print(d.CityName(c));  // in the face colour the last DrawSpirelFace left
    p.CurrentTag = OpTag{};
}

}  // namespace

void PlotCityOnSpirel(const DataSet& d, const RankTables& r, SpirelState& s, const Canvas& c, int choice) {
    // This command alone ends silently at any error, keeping what it drew and printed.
    try {
        PlotCity(d, r, s, c, choice);
    } catch (const std::exception&) {
        c.pic.CurrentTag = OpTag{};
    }
}
