#include "stats/HalfLives.h"

#include <string>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/Contrast.h"
#include "stats/PopStatsState.h"

namespace {

constexpr int TopSize = 25;  // K, the size of the top list

// TopOverlap(t, s): cities among the first min(K, NumPresent) ranks at both dates.
void CountTopOverlaps(const DataSet& d, const RankTables& r, HalfLivesState& h) {
    const CityDateGrid& rankCity = r.RankCity;
    const int T = d.NumDates;
    for (int t = 1; t <= T; ++t) {
        for (int s = 1; s <= T; ++s) {
            int count = 0;
            for (int i = 1; i <= TopSize && i <= d.NumPresent(t); ++i)
                for (int j = 1; j <= TopSize && j <= d.NumPresent(s); ++j)
                    if (rankCity(i, t) == rankCity(j, s)) ++count;
            h.TopOverlap(t, s) = static_cast<float>(count);
        }
    }
}

}  // namespace

void HalfLives(const DataSet& d, const RankTables& r, HalfLivesState& h, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    p.DrawWidth = 1;
    const int T = d.NumDates;
    DateVec x(d.NumDates);
    for (int s = 1; s <= T; ++s) x(s) = static_cast<float>(T) * d.TimeFraction(s);

    CountTopOverlaps(d, r, h);
    float yRange = -10;
    for (int t = 1; t <= T; ++t)
        for (int s = 1; s <= T; ++s)
            if (h.TopOverlap(t, s) > yRange) yRange = h.TopOverlap(t, s);
    yRange = yRange * 1.1f;

    const bool draw = h.HalfLivesNoDraw == 0;
    if (draw)
        DrawAxes(c, yRange, static_cast<float>(T), "No of Ranks in Top " + std::to_string(TopSize), "Time",
                 Axes{AxisScale::Years, AxisScale::Linear, {d.DateYear(1), d.DateYear(T), 0.0, static_cast<double>(T)}});

    // PlotCurve runs on LoopIndex, so the dates have a counter of their own.
    DateVec curve(d.NumDates);
    for (int t = 1; t <= T; ++t) {
        c.frame.PlotColor = static_cast<float>(VisiblePaletteColour(t % 15, p.BackColor));
        if (!draw) continue;
        for (int s = 1; s <= T; ++s) curve(s) = h.TopOverlap(t, s);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), 0};
        PlotCurve(c, curve, x, T);
    }
    p.CurrentTag = OpTag{};

    for (int t = 1; t <= T; ++t) {
        float sum = 0;
        for (int s = 1; s <= T; ++s) sum = sum + h.TopOverlap(t, s);
        h.AvTopOverlap(t) = sum / static_cast<float>(T);
    }
    p.DrawWidth = 1;
}
