#include "ranksize/DataProperties.h"

#include <algorithm>
#include <vector>

#include "data/DataSet.h"
#include "data/Precision.h"
#include "draw/Canvas.h"
#include "draw/Formats.h"

namespace {

// Total population of the cities present at each date, summed in city order in the table's
// arithmetic (single precision on the classic table); absent cells must add nothing.
// total[t] for t = 1..NumDates.
std::vector<double> PresentTotals(const DataSet& d) {
    return ByPrecision(d, [&](auto real) {
        using Real = decltype(real);
        std::vector<double> total(static_cast<std::size_t>(d.NumDates) + 1);
        for (int t = 1; t <= d.NumDates; ++t) {
            Real sum = 0;
            for (int i = 1; i <= d.NumCities; ++i)
                if (d.Present(i, t) == 1) sum = sum + PopAt<Real>(d, i, t);
            total[static_cast<std::size_t>(t)] = sum;
        }
        return total;
    });
}

void PrintTable(const DataSet& d, TextSurface& text, const std::vector<double>& total) {
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
            .Put(Format(total[static_cast<std::size_t>(t)], "#########"))
            .End();
}

}  // namespace

void DataProperties(const DataSet& d, const Canvas& c) {
    Picture& p = c.pic;
    p.FontSize = 9;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    c.text.Line();

    const std::vector<double> exact = PresentTotals(d);
    PrintTable(d, c.text, exact);
    DateVec total(d.NumDates);  // the curve, at drawing precision
    for (int t = 1; t <= d.NumDates; ++t) total(t) = static_cast<float>(exact[static_cast<std::size_t>(t)]);
    ResultTable table;
    table.title = "Data Properties";
    table.columns = {"Year", "NumPresent", "TotalPopulation"};
    for (int t = 1; t <= d.NumDates; ++t)
    {
        table.Row().Add(static_cast<int>(d.DateYear(t))).Add(d.NumPresent(t));
        if (d.Exact)
            table.Add(exact[static_cast<std::size_t>(t)]);
        else
            table.Add(total(t));
    }
    c.text.Tables.push_back(std::move(table));

    const float xRange = static_cast<float>(d.NumDates * 1.1);
    DateVec xpos(d.NumDates);
    for (int t = 1; t <= d.NumDates; ++t) xpos(t) = d.NumDates * d.TimeFraction(t);

    // The classic vertical scale is fixed (a later total above it runs off the top of the
    // frame); any other table scales to its largest total, which may be billions.
    float yRange = 105000000;
    if (d.Exact) {
        float largest = 0;
        for (int t = 1; t <= d.NumDates; ++t) largest = std::max(largest, total(t));
        yRange = largest > 0 ? 1.1f * largest : yRange;
    }
    DrawAxes(c, yRange, xRange, "Population", "Time",
             Axes{AxisScale::Years, AxisScale::Linear,
                  {d.DateYear(1), d.DateYear(d.NumDates), 0.0, static_cast<double>(d.NumDates)}});
    c.frame.PlotColor = c.frame.AxisColor;
    p.DrawWidth = 2;
    PlotCurve(c, total, xpos, d.NumDates);
    p.DrawWidth = 1;
}
