#include "ranksize/DataProperties.h"

#include "data/DataSet.h"
#include "draw/Canvas.h"
#include "draw/Formats.h"

namespace {

// Total population of the cities present at each date, summed in single precision in
// city order; absent cells hold 1.0 and must add nothing.
DateVec PresentTotals(const DataSet& d) {
    DateVec total;
    for (int t = 1; t <= d.NumDates; ++t) {
        float sum = 0;
        for (int i = 1; i <= d.NumCities; ++i)
            if (d.Present(i, t) == 1) sum = sum + d.PopTable(i, t);
        total(t) = sum;
    }
    return total;
}

void PrintTable(const DataSet& d, TextSurface& text, const DateVec& total) {
    text.Line().Line();
    text.Put("   ").Put("Year ").Put("  ").Put("   No of Cities").Put("      ").Put("Total Population").End();
    text.Line();
    for (int t = 1; t <= d.NumDates; ++t)
        text.Put("   ")
            .Put(Unformatted(d.DateYear(t)))
            .Put(" ")
            .Zone()
            .Put(Format(d.NumPresent(t), "###"))
            .Zone()
            .Put(Format(total(t), "#########"))
            .End();
}

}  // namespace

void DataProperties(const DataSet& d, const Canvas& c) {
    Picture& p = c.pic;
    p.FontSize = 9;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    c.text.Line();

    const DateVec total = PresentTotals(d);
    PrintTable(d, c.text, total);
    ResultTable table;
    table.title = "Data Properties";
    table.columns = {"Year", "NumPresent", "TotalPopulation"};
    for (int t = 1; t <= d.NumDates; ++t)
        table.Row().Add(static_cast<int>(d.DateYear(t))).Add(d.NumPresent(t)).Add(total(t));
    c.text.Tables.push_back(std::move(table));

    const float xRange = static_cast<float>(d.NumDates * 1.1);
    DateVec xpos;
    for (int t = 1; t <= d.NumDates; ++t) xpos(t) = d.NumDates * d.TimeFraction(t);

    // The vertical scale is fixed: a later total above it runs off the top of the frame.
    DrawAxes(c, 105000000, xRange, "Population", "Time",
             Axes{AxisScale::Years, AxisScale::Linear,
                  {d.DateYear(1), d.DateYear(d.NumDates), 0.0, static_cast<double>(d.NumDates)}});
    c.frame.PlotColor = c.frame.AxisColor;
    p.DrawWidth = 2;
    PlotCurve(c, total, xpos, d.NumDates);
    p.DrawWidth = 1;
}
