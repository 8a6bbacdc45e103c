#include "stats/RankShiftSum.h"

#include <cmath>

#include "draw/Numeric.h"

RankShiftTotals SumRankShifts(const DataSet& d, const RankTables& r, int t, int ref) {
    RankShiftTotals s;
    const int n = ToCount(d.NumPresent(t));
    for (int i = 1; i <= n; ++i) {
        const float c = r.RankCity(i, t);
        const float r1 = r.CityRank(c, t), r0 = r.CityRank(c, ref);
        if (r0 <= d.NumPresent(ref)) {
            s.count = s.count + 1;
            s.sum = s.sum + std::fabs(r1 - r0);
        }
    }
    return s;
}
