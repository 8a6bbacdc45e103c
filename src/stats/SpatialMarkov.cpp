#include "stats/SpatialMarkov.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>

#include "draw/RunError.h"

namespace {

double UpperChiSquare(double x, int df) {
    if (df <= 0 || !std::isfinite(x)) return NAN;
    return boost::math::cdf(boost::math::complement(boost::math::chi_squared(df), std::max(0.0, x)));
}

}  // namespace

SpatialMarkovResult SpatialMarkovOf(const SizePanel& r, const NeighbourRule& rule, int k) {
    if (r.dates < 2) throw RunError("SpatialMarkov needs at least two dates");
    SpatialMarkovResult s;
    s.k = k;
    s.firstYear = r.years.front();
    s.lastYear = r.years.back();
    const std::size_t cells = static_cast<std::size_t>(r.places) * r.dates;
    std::vector<double> lag(cells, NAN);
    std::vector<char> everLinked(static_cast<std::size_t>(r.places), 0), everPresent(static_cast<std::size_t>(r.places), 0);
    std::string lastError;
    for (int t = 0; t < r.dates; ++t) {
        std::vector<int> sample;
        for (int i = 0; i < r.places; ++i)
            if (r.At(i, t) > 0) sample.push_back(i), everPresent[static_cast<std::size_t>(i)] = 1;
        std::vector<std::vector<int>> nb;
        try {
            nb = NeighboursAmong(rule, sample, r.places, "in " + std::to_string(r.years[static_cast<std::size_t>(t)]));
        } catch (const RunError& e) {
            s.skippedYears.push_back(r.years[static_cast<std::size_t>(t)]);
            lastError = e.what();
            continue;
        }
        for (int i : sample) {
            const auto& of = nb[static_cast<std::size_t>(i)];
            if (of.empty()) {
                ++s.withoutNeighbours;
                continue;
            }
            double sum = 0;
            for (int j : of) sum += r.At(j, t);
            lag[static_cast<std::size_t>(i) * r.dates + t] = sum / static_cast<double>(of.size());
            everLinked[static_cast<std::size_t>(i)] = 1;
        }
    }
    if (static_cast<int>(s.skippedYears.size()) == r.dates) throw RunError(lastError);
    for (int i = 0; i < r.places; ++i) s.placesNeverLinked += everPresent[static_cast<std::size_t>(i)] && !everLinked[static_cast<std::size_t>(i)];

    std::vector<double> rs, lags;
    for (std::size_t c = 0; c < cells; ++c)
        if (!std::isnan(lag[c])) rs.push_back(r.value[c]), lags.push_back(lag[c]);
    const std::vector<double> rEdges = QuantileEdges(rs, k), lagEdges = QuantileEdges(lags, k);
    s.byLag.assign(static_cast<std::size_t>(k), TransitionMatrix(k));
    s.pooled = TransitionMatrix(k);
    for (int i = 0; i < r.places; ++i)
        for (int t = 0; t + 1 < r.dates; ++t) {
            const double l = lag[static_cast<std::size_t>(i) * r.dates + t];
            if (std::isnan(l) || !(r.At(i, t + 1) > 0)) continue;
            const int from = QuantileClass(rEdges, r.At(i, t)), to = QuantileClass(rEdges, r.At(i, t + 1));
            s.byLag[static_cast<std::size_t>(QuantileClass(lagEdges, l))].Count(from, to);
            s.pooled.Count(from, to);
        }
    HomogeneityTests(s);
    return s;
}

void HomogeneityTests(SpatialMarkovResult& s) {
    const int k = s.k;
    s.q = s.lr = 0;
    s.df = 0;
    for (int i = 0; i < k; ++i) {
        int regimes = 0, reached = 0;  // b_i: lag classes with transitions from i; A_i: classes entered from i
        for (int j = 0; j < k; ++j) reached += s.pooled.Counts(i, j) > 0;
        for (const TransitionMatrix& m : s.byLag) {
            const double n = m.RowCount(i);
            if (n == 0) continue;
            ++regimes;
            for (int j = 0; j < k; ++j) {
                const double p0 = s.pooled.P(i, j), p1 = m.P(i, j);
                s.q += n * (p1 - p0) * (p1 - p0) / (p0 > 0 ? p0 : 1.0);
                if (m.Counts(i, j) > 0 && p0 > 0) s.lr += 2 * m.Counts(i, j) * std::log(p1 / p0);
            }
        }
        if (regimes > 0 && reached > 0) s.df += (regimes - 1) * (reached - 1);
    }
    s.qP = UpperChiSquare(s.q, s.df);
    s.lrP = UpperChiSquare(s.lr, s.df);
}

void PrintSpatialMarkov(const SpatialMarkovResult& s, TextSurface& text) {
    const int k = s.k;
    text.Line("Spatial Markov chain, " + std::to_string(s.firstYear) + "-" + std::to_string(s.lastYear) +
              ": classes of relative size by the class of the neighbours' mean (pooled quantiles)");
    if (s.withoutNeighbours > 0)
        text.Line(std::to_string(s.withoutNeighbours) + " place-dates without a neighbour left out (" +
                  std::to_string(s.placesNeverLinked) + " places never had one)");
    if (!s.skippedYears.empty()) {
        std::string years;
        for (int y : s.skippedYears) years += " " + std::to_string(y);
        text.Line("Dates left out (too few places with a position):" + years);
    }
    ResultTable stacked{"Spatial Markov", {"Lag", "Class", "n"}, {}};
    std::string head = "  Lag Class       n";
    for (int j = 1; j <= k; ++j) {
        stacked.columns.push_back("P" + std::to_string(j));
        head += RightAligned("P" + std::to_string(j), 8);
    }
    text.Line(head);
    for (int l = 0; l < k; ++l) {
        const TransitionMatrix& m = s.byLag[static_cast<std::size_t>(l)];
        for (int i = 0; i < k; ++i) {
            const double n = m.RowCount(i);
            stacked.Row().Add(l + 1).Add(i + 1).Add(static_cast<int>(n));
            std::string line = RightAligned(std::to_string(l + 1), 5) + RightAligned(std::to_string(i + 1), 6) +
                               RightAligned(std::to_string(static_cast<long long>(n)), 8);
            for (int j = 0; j < k; ++j) {
                stacked.Add(m.P(i, j));
                line += FixedCell(m.P(i, j), 8, 4);
            }
            text.Line(line);
        }
    }
    text.Line();
    ResultTable tests{"Homogeneity", {"Measure", "Value"}, {}};
    text.Line("Homogeneity across lag classes (Bickenbach and Bode): Q (chi-square) and LR, upper chi-square tail");
    const std::pair<const char*, double> rows[] = {{"Q", s.q},   {"Q_df", s.df},   {"Q_p", s.qP},
                                                   {"LR", s.lr}, {"LR_df", s.df}, {"LR_p", s.lrP}};
    for (const auto& [name, v] : rows) {
        const bool whole = std::string(name).find("_df") != std::string::npos;
        tests.Row().Add(name).Add(whole ? std::to_string(static_cast<int>(v)) : MarkovCsvCell(v));
        text.Line(RightAligned(name, 8) + (whole ? RightAligned(std::to_string(static_cast<int>(v)), 12) : MarkovFixedCell(v, 12, 4)));
    }
    text.Tables.push_back(std::move(stacked));
    text.Tables.push_back(std::move(tests));
}
