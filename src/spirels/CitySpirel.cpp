#include "spirels/CitySpirel.h"

#include <exception>
#include <utility>

#include "app/Form.h"
#include "draw/Formats.h"
#include "draw/SpirelFace.h"

namespace {

constexpr Colour White = 255 + 256 * 255 + 65536 * 255;
constexpr Colour Grey150 = 150 + 256 * 150 + 65536 * 150;

// An empty face in the city spirel's own colours, which differ from the other plots'.
void DrawFreshFace(Form& f) {
    Picture& p = f.Picture1;
    p.DrawWidth = 1;
    ClearPicture(f);
    const bool black = BlackBackground(f);
    p.BackColor = black ? Black : White;
    DrawSpirelFaceProcedure(f, static_cast<float>(black ? White : Grey150));
}

// The path colour of the n-th press since "Rank-Spirel1" (n = CityPlotCount after raising).
void SetPathColour(Form& f) {
    static const int sequence[][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 255, 0}, {255, 0, 255},
                                      {0, 255, 255}, {0, 0, 0},     {150, 150, 150}, {255, 100, 0}};
    const int n = f.spirel.CityPlotCount;
    if (n < 2 || n > 10) return;
    const int* rgb = sequence[n - 2];
    f.frame.PlotColor = static_cast<float>(RGB(rgb[0], rgb[1], rgb[2]));
}

void PrintCityTable(Form& f, int c) {
    const DataSet& d = *f.data;
    TextSurface& text = f.Text;
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
        float rank = f.rank.CityRank(c, t);
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
SpirelPoint DrawCityRankPath(Form& f, int c) {
    const DataSet& d = *f.data;
    Picture& p = f.Picture1;
    const Colour colour = ColourFromFloat(f.frame.PlotColor);
    p.DrawWidth = 3;
    float angle = SpirelStartAngle();
    bool penDown = false;
    SpirelPoint P{};
    for (int t = 1; t <= d.NumDates; ++t) {
        const float rank = f.rank.CityRank(c, t);
        const float r = f.spirel.SpirelScale * rank;
        P = SpirelPosition(f, r, angle);
        p.CurrentTag = OpTag{static_cast<int16_t>(c), static_cast<int16_t>(t), 0};
        if (rank > d.NumPresent(t)) {
            penDown = false;
        } else if (!penDown) {
            p.Line(P.x, P.y, P.x, P.y, colour);
            penDown = true;
        } else {
            p.DrawWidth = 4;
            p.LineTo(P.x, P.y, colour);
        }
        angle = angle + d.AngleStep(t);
    }
    return P;
}

void PlotCity(Form& f) {
    if (f.spirel.CityPlotCount == 1) DrawFreshFace(f);
    f.spirel.CityPlotCount = Add16(f.spirel.CityPlotCount, 1);
    SetPathColour(f);
    f.spirel.CityChoice = static_cast<int16_t>(f.panel["Cities"].listIndex);
    const int c = f.spirel.CityChoice + 1;
    PrintCityTable(f, c);

    Picture& p = f.Picture1;
    const SpirelPoint end = DrawCityRankPath(f, c);
    p.CurrentTag = OpTag{static_cast<int16_t>(c), 0, 0};
    p.CurrentX = end.x;
    p.CurrentY = end.y;
    p.FontSize = 11;
    p.FontBold = true;
    p.Print(f.data->CityName(c));  // in the face colour the last DrawSpirelFace left
    p.CurrentTag = OpTag{};
}

}  // namespace

void PlotCity_Click(Form& f) {
    // This command alone ends silently at any error, keeping what it drew and printed.
    try {
        PlotCity(f);
    } catch (const std::exception&) {
        f.Picture1.CurrentTag = OpTag{};
    }
}
