// What the window tells a researcher about the drawing under the mouse: an analysis's own
// ops first (Analysis::Describe), then what every picture's places, dates and rank curves say.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Form.h"
#include "draw/Formats.h"
#include "draw/HitTest.h"

namespace {

std::string Whole(float v) { return Format(v, "#########"); }

std::string CityAtDate(const Form& f, int c, int t) {
    const DataSet& d = *f.data;
    std::string s = d.CityName(c) + ", " + std::to_string(d.DateYear(t)) + ": ";
    if (d.Present(c, t) != 1.0f) return s + "not among the cities of that census";
    return s + "rank " + Whole(f.rank.CityRank(c, t)) + ", population " + Whole(d.PopTable(c, t));
}

}  // namespace

bool NearerStart(const Picture& picture, const Hit& hit, float x, float y) {
    const auto& ops = picture.Ops();
    if (hit.opIndex >= ops.size() || ops[hit.opIndex].kind != OpKind::Line) return false;
    const DrawOp& op = ops[hit.opIndex];
    return std::hypot(x - op.x1, y - op.y1) < std::hypot(x - op.x2, y - op.y2);
}

std::string DescribeHit(const Form& f, const Hit& hit, float x, float y) {
    const DataSet& d = *f.data;
    const OpTag& tag = hit.tag;
    for (const auto& m : f.modules)
        if (auto said = m->Describe(f, hit, x, y)) return *said;
    const bool validCity = tag.city >= 1 && tag.city <= d.NumCities;
    const bool validDate = tag.date >= 1 && tag.date <= d.NumDates;
    if (validCity && validDate) {
        // A path's segment runs from the previous date to the tagged one: name the nearer end.
        const bool nearerStart = NearerStart(f.Picture1, hit, x, y);
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
            const bool nearerStart = NearerStart(f.Picture1, hit, x, y);
            const int i = tag.point > 1 && nearerStart ? tag.point - 1 : tag.point;
            const int c = ToCount(f.rank.RankCity(i, tag.date));
            s += "\nrank " + std::to_string(i) + ": " + d.CityName(c) + ", population " +
                 Whole(f.rank.RankPop(i, tag.date));
        }
        return s;
    }
    return {};
}
