// What the window tells a researcher about the drawing under the mouse.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Form.h"
#include "draw/Formats.h"
#include "draw/HitTest.h"
#include "stats/GrowthPlots.h"
#include "stats/ByGroupPlots.h"
#include "stats/MobilityPages.h"

namespace {

std::string Whole(float v) { return Format(v, "#########"); }

std::string CityAtDate(const Form& f, int c, int t) {
    const DataSet& d = *f.data;
    std::string s = d.CityName(c) + ", " + std::to_string(d.DateYear(t)) + ": ";
    if (d.Present(c, t) != 1.0f) return s + "not among the cities of that census";
    return s + "rank " + Whole(f.rank.CityRank(c, t)) + ", population " + Whole(d.PopTable(c, t));
}

// Whether (x, y) lies nearer the start than the end of the hit line.
bool NearerStart(const Form& f, const Hit& hit, float x, float y) {
    const auto& ops = f.Picture1.Ops();
    if (hit.opIndex >= ops.size() || ops[hit.opIndex].kind != OpKind::Line) return false;
    const DrawOp& op = ops[hit.opIndex];
    return std::hypot(x - op.x1, y - op.y1) < std::hypot(x - op.x2, y - op.y2);
}

// A point of the mobility plot, or the segment ending there: its pair of dates and measures.
std::string MobilityPairAt(const Form& f, const Hit& hit, float x, float y) {
    int t = hit.tag.date;
    if (t > 2 && NearerStart(f, hit, x, y)) --t;
    const auto& pairs = f.mobility.pairs;
    if (t < 2 || t - 2 >= static_cast<int>(pairs.size())) return {};
    const MobilityPair& m = pairs[static_cast<std::size_t>(t - 2)];
    char buf[160];
    std::snprintf(buf, sizeof buf, "\ntau_b %.4f, turnover %.4f, mean shift %.5f\n%d common, %d entries, %d exits",
                  m.kendall.tau, m.turnover, static_cast<double>(m.meanShift), m.common, m.entries, m.exits);
    return std::to_string(m.fromYear) + " to " + std::to_string(m.toYear) + buf;
}

std::string Fixed(double v, int decimals = 3) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// A Tail-Fit point (series TailFitExponents) names the date's row of the table; a Hill
// plot point (TailHillPoint) its k and estimate.
std::string DescribeTailFit(const Form& f, const OpTag& tag) {
    const DataSet& d = *f.data;
    if (tag.series == TailFitExponents) {
        for (const auto& r : f.tailFit.rows) {
            if (r.year != d.DateYear(tag.date)) continue;
            std::string s = "\nzeta_GI " + Fixed(r.gi.zeta) + " +- " + Fixed(1.96 * r.gi.se) + " (n " +
                            std::to_string(r.n) + ")\nzeta_MLE " + Fixed(r.pl.zeta) + " +- " + Fixed(1.96 * r.pl.se) +
                            " above x_min " + Fixed(r.pl.xmin, 0) + " (n_tail " + std::to_string(r.pl.nTail) +
                            "), D " + Fixed(r.pl.D);
            if (r.pBoot) s += ", p_boot " + Fixed(*r.pBoot);
            return s + "\nvs lognormal: LR " + Fixed(r.vuong.normalised, 2) + ", p " + Fixed(r.vuong.p) + ", " +
                   r.vuong.favoured + " favoured";
        }
    }
    if (tag.series == TailHillPoint && tag.point >= 1) {
        std::vector<double> x = PresentPopulations(d, tag.date);
        std::sort(x.begin(), x.end(), std::greater<>());
        const auto hill = HillEstimates(x);
        if (static_cast<std::size_t>(tag.point) <= hill.size()) {
            const HillPoint& h = hill[static_cast<std::size_t>(tag.point) - 1];
            return "\nHill estimate over the " + std::to_string(h.k) + " largest: zeta " + Fixed(h.zeta) + " (" +
                   Fixed(h.lower) + " to " + Fixed(h.upper) + ")";
        }
    }
    return {};
}

// A By-Group row or cell: the group, the date and its exponents; a group's name alone.
std::string DescribeGroup(const Form& f, const OpTag& tag) {
    const ByGroupState& s = f.byGroup;
    const std::size_t g = static_cast<std::size_t>(tag.point - 1);
    if (g >= s.groups.size()) return {};
    if (tag.date < 1) return s.groups[g];
    const ByGroupRow* r = s.Find(g, tag.date);
    if (!r) return s.groups[g] + ", " + std::to_string(s.years[static_cast<std::size_t>(tag.date - 1)]);
    std::string text = r->group + ", " + std::to_string(r->year) + ": zeta_GI " + Fixed(r->gi.zeta) + " +- " +
                       Fixed(1.96 * r->gi.se) + " (n " + std::to_string(r->n) + ")";
    if (r->pl.ok) text += "\nzeta_MLE " + Fixed(r->pl.zeta) + " above x_min " + Fixed(r->pl.xmin, 0);
    return text + "\nlargest " + r->largest + ", share " + Fixed(r->largestShare) + ", Gini " + Fixed(r->gini);
}

}  // namespace

std::string DescribeHit(const Form& f, const Hit& hit, float x, float y) {
    const DataSet& d = *f.data;
    const OpTag& tag = hit.tag;
    for (const auto& m : f.modules)
        if (auto said = m->Describe(f, hit, x, y)) return *said;
    if (tag.series == MobilityPairSeries) return MobilityPairAt(f, hit, x, y);
    if (tag.series == GrowthPlacePoint) return DescribeGrowthPlace(d, tag.city, tag.date);
    if (tag.series == GrowthBetaPoint)
        return tag.date >= 1 && tag.date <= static_cast<int>(f.growth.rows.size())
                   ? DescribeGrowthRow(f.growth.rows[static_cast<std::size_t>(tag.date) - 1])
                   : std::string();
    if (tag.series == GroupForestRow || tag.series == GroupHeatCell) return DescribeGroup(f, tag);
    if (tag.series == MapPlaceSeries) return DescribeMapPlace(d, f.map, tag.city, tag.date);
    const bool validCity = tag.city >= 1 && tag.city <= d.NumCities;
    const bool validDate = tag.date >= 1 && tag.date <= d.NumDates;
    if (validCity && validDate) {
        // A path's segment runs from the previous date to the tagged one: name the nearer end.
        const bool nearerStart = NearerStart(f, hit, x, y);
        const int t = tag.series == 0 && tag.date > 1 && nearerStart ? tag.date - 1 : tag.date;
        return CityAtDate(f, tag.city, t);
    }
    if (validCity) {
        std::string s = d.CityName(tag.city);
        for (int t = 1; t <= d.NumDates; ++t)
            if (d.Present(tag.city, t) == 1.0f) {
                s.append("\n").append(CityAtDate(f, tag.city, t).substr(d.CityName(tag.city).size() + 2));
            }
        return s;
    }
    if (validDate) {
        std::string s = "Census of " + std::to_string(d.DateYear(tag.date));
        if (tag.series == RankCurve && tag.point >= 1 && tag.point <= d.NumCities) {
            // The segment ends at `point`; the nearer of its two ends is the rank meant.
            const bool nearerStart = NearerStart(f, hit, x, y);
            const int i = tag.point > 1 && nearerStart ? tag.point - 1 : tag.point;
            const int c = ToCount(f.rank.RankCity(i, tag.date));
            s += "\nrank " + std::to_string(i) + ": " + d.CityName(c) + ", population " +
                 Whole(f.rank.RankPop(i, tag.date));
        }
        return s + DescribeTailFit(f, tag);
    }
    return {};
}
