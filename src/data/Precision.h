#pragma once
#include <type_traits>
#include <utility>

#include "data/DataSet.h"
#include "data/Ranking.h"

// The arithmetic of a table's sums, chosen here and nowhere else: single precision on the
// classic table, whose printed results are the system's to the last digit, and double
// precision over the exact populations on every other table (a float total of 419 million
// is off by hundreds). An analysis writes its sums once, on a type Real, and runs them as
//     ByPrecision(d, [&](auto real) { using Real = decltype(real); ... });
template <typename F>
decltype(auto) ByPrecision(bool exact, F&& f) {
    return exact ? f(double{}) : f(float{});
}
template <typename F>
decltype(auto) ByPrecision(const DataSet& d, F&& f) {
    return ByPrecision(d.Exact, std::forward<F>(f));
}

// The population of city c at date t in the arithmetic Real. Absent places weigh 1, as they
// do in the rank tables, so running sums over every rank agree in both arithmetics.
template <typename Real>
Real PopAt(const DataSet& d, int c, int t) {
    if constexpr (std::is_same_v<Real, float>)
        return d.PopTable(c, t);
    else
        return d.Present(c, t) > 0 ? d.Pop(c, t) : 1.0;
}

// The population at rank i, date t in the arithmetic Real.
template <typename Real>
Real RankedPop(const DataSet& d, const RankTables& r, int i, int t) {
    if constexpr (std::is_same_v<Real, float>)
        return r.RankPop(i, t);
    else
        return PopAt<double>(d, static_cast<int>(r.RankCity(i, t)), t);
}
