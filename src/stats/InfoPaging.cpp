#include "stats/InfoPaging.h"

#include <string>
#include <utility>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/TextSurface.h"
#include "stats/InfoStatsState.h"
#include "draw/Formats.h"

namespace {

// The matrices of the last two pages print this many columns whatever the number of dates.
constexpr int CommonColumns = 33;
constexpr int ShareShiftColumns = 22;

// One matrix row: " "; year, row average, then the values joined by single blanks.
void PrintMatrixRow(TextSurface& out, int16_t year, float rowAverage, const StatGrid& m, int t, int columns,
                    const char* picture) {
    out.Put(" ").Put(Unformatted(year)).Zone().Put(Unformatted(rowAverage)).Zone();
    for (int u = 1; u <= columns; ++u) {
        if (u > 1) out.Put(" ");
        out.Put(Format(m(t, u), picture));
    }
    out.End();
}

void PrintAverageOverall(TextSurface& out, float average) {
    out.Put("     ").Put("Average Overall").Put("   ").Put(Format(average, "###.######")).End();
}

// A matrix for CSV: one row per date, its row average, then one column per date of the
// calendar (the printed table pads to a fixed width with zeros; the CSV does not).
ResultTable MatrixTable(const DataSet& d, const char* title, const StatVec& rowAverage, const StatGrid& m) {
    ResultTable table;
    table.title = title;
    table.columns = {"Year", "RowAverage"};
    for (int u = 1; u <= d.NumDates; ++u) table.columns.push_back(std::to_string(d.DateYear(u)));
    for (int t = 1; t <= d.NumDates; ++t) {
        table.Row().Add(d.DateYear(t)).Add(rowAverage(t));
        for (int u = 1; u <= d.NumDates; ++u) table.Add(m(t, u));
    }
    return table;
}

ResultTable OverallTable(const char* title, const char* column, float average) {
    ResultTable table;
    table.title = title;
    table.columns = {column};
    table.Row().Add(average);
    return table;
}

}  // namespace

void NextInfo(const DataSet& d, InfoStatsState& s, TextSurface& out) {
    out.Clear();
    s.InfoAverages.Fill(0);

    out.Line().Line();
    out.Put("       ").Put("Time+ ");
    for (const char* h : {"CumInfo", "TotCumIn", "CumInfoGr", "CumGr", "TotCumGr", "CumTotGr", "Info", "TotIn",
                          "InfoGr", "Growth", "TotGrowth", "PopGr"})
        out.Zone().Put(h);
    out.End();
    out.Line();

    ResultTable table;
    table.title = "Information of change and growth";
    table.columns = {"From",     "To",     "CumInfo", "TotCumInfo", "CumInfoGr", "CumGrowth", "TotCumGrowth",
                     "CumTotGr", "Info",   "TotInfo", "InfoGr",     "Growth",    "TotGrowth", "PopGr"};
    for (int t = 2; t <= d.NumDates; ++t) {
        const float values[12] = {s.CumInfo(t),
                                  s.TotCumInfo(t),
                                  s.CumInfo(t) + s.TotCumInfo(t),
                                  s.CumGrowth(t),
                                  s.TotCumGrowth(t),
                                  s.CumGrowth(t) * s.TotCumGrowth(t),
                                  s.Info(t),
                                  s.TotInfo(t),
                                  s.Info(t) + s.TotInfo(t),
                                  s.Growth(t),
                                  s.TotGrowth(t),
                                  s.Growth(t) * s.TotGrowth(t)};
        // The row is labelled with the year at the start of the interval.
        out.Put("       ").Put(Unformatted(d.DateYear(t - 1)));
        for (float v : values) out.Zone().Put(Format(v, "###.####"));
        out.End();
        table.Row().Add(d.DateYear(t - 1)).Add(d.DateYear(t));
        for (float v : values) table.Add(v);
        for (int k = 0; k < 12; ++k) s.InfoAverages(12 + k) = s.InfoAverages(12 + k) + values[k] * d.StepFraction(t);
    }

    out.Line();
    out.Put("       ").Put(Unformatted(d.DateYear(1)));
    for (int k = 12; k <= 23; ++k) out.Zone().Put(Format(s.InfoAverages(k), "###.#####"));
    out.End();
    out.Line();
    // Printed under the first year; the CSV names the row instead.
    table.Row().Add("Average").Add("");
    for (int k = 12; k <= 23; ++k) table.Add(s.InfoAverages(k));
    out.Tables.push_back(std::move(table));
}

void NextLastInfo(const DataSet& d, const RankTables& r, TextSurface& out) {
    out.Clear();
    const int T = d.NumDates;

    StatGrid Common(d.NumDates, d.NumDates);
    StatVec RowAverage(d.NumDates);
    for (int t = 1; t <= T; ++t) {
        const int nt = ToCount(d.NumPresent(t));
        for (int u = 1; u <= T; ++u) {
            const int nu = ToCount(d.NumPresent(u));
            // A city present at t is common when its rank at u is among the places present there.
            float count = 0;
            for (int i = 1; i <= nt; ++i)
                if (r.CityRank(r.RankCity(i, t), u) <= nu) count = count + 1;
            Common(t, u) = count;
        }
    }
    float overall = 0;
    for (int t = 1; t <= T; ++t) {
        float row = 0;
        for (int u = 1; u <= T; ++u)
            if (u != t) row = row + Common(t, u);
        RowAverage(t) = row / static_cast<float>(T - 1);
        overall = overall + row;
    }
    const float OverallAverage = overall / static_cast<float>(T * T - T);

    out.Clear();
    out.Line();
    for (int t = 1; t <= T; ++t) PrintMatrixRow(out, d.DateYear(t), RowAverage(t), Common, t, CommonColumns, "###.");
    out.Line();
    PrintAverageOverall(out, OverallAverage);
    out.Tables.push_back(MatrixTable(d, "Cities present at both dates", RowAverage, Common));
    out.Tables.push_back(OverallTable("Average overall", "OverallAverage", OverallAverage));
}

void LastInfo(const DataSet& d, const InfoStatsState& s, TextSurface& out) {
    const int T = d.NumDates;

    // A fresh working copy: entries beyond the loaded dates print as zero even when an
    // earlier data set with more dates left values in ShareShift.
    StatGrid shift(d.NumDates, d.NumDates);
    for (int t = 1; t <= T; ++t)
        for (int u = 1; u <= T; ++u) shift(t, u) = s.ShareShift(t, u);
    StatVec RowAverage(d.NumDates);
    for (int t = 1; t <= T; ++t) {
        float row = 0;
        for (int u = 1; u <= T; ++u) row = row + shift(t, u);  // the diagonal is 0
        RowAverage(t) = row / static_cast<float>(T - 1);
    }

    out.Clear();
    out.Line();
    for (int t = 1; t <= T; ++t)
        PrintMatrixRow(out, d.DateYear(t), RowAverage(t), shift, t, ShareShiftColumns, ".###");
    out.Line();
    PrintAverageOverall(out, s.AvShareShift);
    out.Tables.push_back(MatrixTable(d, "Share shift", RowAverage, shift));
    out.Tables.push_back(OverallTable("Average overall", "AvShareShift", s.AvShareShift));
}
