#include "stats/MoranGrowth.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <random>
#include <unordered_map>

#include "draw/RunError.h"

namespace {

// A uniform draw from 0..n-1 (Lemire's multiply-shift; bias below 2^-40 for our n).
std::size_t Below(std::mt19937_64& rng, std::size_t n) {
    return static_cast<std::size_t>((static_cast<unsigned __int128>(rng()) * n) >> 64);
}

// Row-standardised weights as flat arrays: the neighbours of i are at[from[i]..from[i+1]).
struct FlatWeights {
    std::vector<std::size_t> from;
    std::vector<int> at;
    std::vector<double> weight;  // 1 / (number of neighbours) of each row
    explicit FlatWeights(const std::vector<std::vector<int>>& nb) {
        from.push_back(0);
        for (const auto& of : nb) {
            at.insert(at.end(), of.begin(), of.end());
            from.push_back(at.size());
            weight.push_back(1.0 / static_cast<double>(of.size()));
        }
    }
    // sum_i z_i (W z)_i
    double CrossProduct(const std::vector<double>& z) const {
        double s = 0;
        for (std::size_t i = 0; i + 1 < from.size(); ++i) {
            double lag = 0;
            for (std::size_t k = from[i]; k < from[i + 1]; ++k) lag += z[static_cast<std::size_t>(at[k])];
            s += z[i] * lag * weight[i];
        }
        return s;
    }
};

std::uint64_t Mix(std::uint64_t seed, std::uint64_t k) {
    std::uint64_t x = seed + 0x9E3779B97F4A7C15ull * (k + 1);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

double GrowthPercentPerYear(double p0, double p1, int years) {
    if (!(p0 > 0) || !(p1 > 0) || years <= 0) return NAN;
    return 100.0 * std::log(p1 / p0) / years;
}

MoranResult MoranI(const std::vector<double>& y, const std::vector<std::vector<int>>& nb, int permutations,
                   std::uint64_t seed) {
    MoranResult r;
    const std::size_t n = y.size();
    r.n = static_cast<int>(n);
    if (n < 3) return r;
    double mean = 0;
    for (double v : y) mean += v;
    mean /= static_cast<double>(n);
    std::vector<double> z(n);
    double zz = 0;
    for (std::size_t i = 0; i < n; ++i) z[i] = y[i] - mean, zz += z[i] * z[i];
    if (zz == 0) return r;
    const double s0 = static_cast<double>(n);  // every row sums to 1
    const FlatWeights flat(nb);
    r.i = flat.CrossProduct(z) / zz;           // n / S0 = 1
    r.ei = -1.0 / static_cast<double>(n - 1);
    // S1 = 1/2 sum_ij (w_ij + w_ji)^2, S2 = sum_i (w_i. + w_.i)^2.
    std::unordered_map<std::uint64_t, double> w;
    w.reserve(n * 8);
    std::vector<double> column(n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (int j : nb[i]) {
            const double v = 1.0 / static_cast<double>(nb[i].size());
            w[(static_cast<std::uint64_t>(i) << 32) | static_cast<std::uint32_t>(j)] += v;
            column[static_cast<std::size_t>(j)] += v;
        }
    double s1 = 0, s2 = 0;
    for (const auto& [key, v] : w) {
        const std::uint64_t i = key >> 32, j = key & 0xffffffffu;
        const auto back = w.find((j << 32) | i);
        const double u = back == w.end() ? 0.0 : back->second;
        s1 += (v + u) * (v + u) + (back == w.end() ? v * v : 0.0);
    }
    s1 /= 2;
    for (std::size_t i = 0; i < n; ++i) s2 += (1 + column[i]) * (1 + column[i]);
    const double nn = static_cast<double>(n) * static_cast<double>(n);
    r.vi = (nn * s1 - static_cast<double>(n) * s2 + 3 * s0 * s0) / ((nn - 1) * s0 * s0) - r.ei * r.ei;
    r.z = (r.i - r.ei) / std::sqrt(r.vi);
    r.pNorm = 2 * boost::math::cdf(boost::math::complement(boost::math::normal(), std::fabs(r.z)));
    if (permutations > 0) {
        std::mt19937_64 rng(seed);
        std::vector<double> shuffled = z;
        int larger = 0;
        for (int k = 0; k < permutations; ++k) {
            for (std::size_t a = n - 1; a > 0; --a) std::swap(shuffled[a], shuffled[Below(rng, a + 1)]);
            if (flat.CrossProduct(shuffled) / zz >= r.i) ++larger;
        }
        r.pSim = (std::min(larger, permutations - larger) + 1.0) / (permutations + 1.0);
    }
    return r;
}

std::vector<int> LisaClasses(const std::vector<double>& y, const std::vector<std::vector<int>>& nb, int permutations,
                             std::uint64_t seed, double alpha) {
    const std::size_t n = y.size();
    std::vector<int> out(n, LisaNone);
    if (n < 3) return out;
    double mean = 0;
    for (double v : y) mean += v;
    mean /= static_cast<double>(n);
    std::vector<double> z(n);
    for (std::size_t i = 0; i < n; ++i) z[i] = y[i] - mean;
    std::mt19937_64 rng(seed);
    std::vector<std::size_t> drawn;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t k = nb[i].size();
        if (k == 0 || k >= n) continue;
        double lag = 0;
        for (int j : nb[i]) lag += z[static_cast<std::size_t>(j)];
        lag /= static_cast<double>(k);
        const double local = z[i] * lag;
        // Conditional permutation: i stays, its k neighbours are drawn from the other places.
        int larger = 0;
        for (int p = 0; p < permutations; ++p) {
            drawn.clear();
            double sum = 0;
            while (drawn.size() < k) {
                const std::size_t j = Below(rng, n);
                if (j == i || std::find(drawn.begin(), drawn.end(), j) != drawn.end()) continue;
                drawn.push_back(j);
                sum += z[j];
            }
            if (z[i] * sum / static_cast<double>(k) >= local) ++larger;
        }
        const double p = (std::min(larger, permutations - larger) + 1.0) / (permutations + 1.0);
        if (!(p < alpha)) continue;
        out[i] = z[i] > 0 ? (lag > 0 ? LisaHighHigh : LisaHighLow) : (lag < 0 ? LisaLowLow : LisaLowHigh);
    }
    return out;
}

GrowthNeighbours GrowthSampleWithNeighbours(const SizePanel& p, const NeighbourRule& rule, int t) {
    const std::string when = "at both " + std::to_string(p.years[static_cast<std::size_t>(t)]) + " and " +
                             std::to_string(p.years[static_cast<std::size_t>(t + 1)]);
    std::vector<int> sample;
    for (int i = 0; i < p.places; ++i)
        if (p.At(i, t) > 0 && p.At(i, t + 1) > 0) sample.push_back(i);
    GrowthNeighbours g;
    std::vector<std::vector<int>> nb = NeighboursAmong(rule, sample, p.places, when);
    // A place without neighbours leaves; others lose it as a neighbour, until none is lonely.
    for (bool dropped = true; dropped;) {
        dropped = false;
        std::vector<int> kept;
        for (int i : sample)
            if (nb[static_cast<std::size_t>(i)].empty()) dropped = true, ++g.withoutNeighbours;
            else kept.push_back(i);
        if (!dropped) break;
        std::vector<char> in(static_cast<std::size_t>(p.places), 0);
        for (int i : kept) in[static_cast<std::size_t>(i)] = 1;
        for (int i : kept) std::erase_if(nb[static_cast<std::size_t>(i)], [&](int j) { return !in[static_cast<std::size_t>(j)]; });
        sample = std::move(kept);
    }
    std::vector<int> position(static_cast<std::size_t>(p.places), -1);
    for (std::size_t k = 0; k < sample.size(); ++k) position[static_cast<std::size_t>(sample[k])] = static_cast<int>(k);
    const int years = p.years[static_cast<std::size_t>(t + 1)] - p.years[static_cast<std::size_t>(t)];
    for (int i : sample) {
        g.rows.push_back(i);
        g.growth.push_back(GrowthPercentPerYear(p.At(i, t), p.At(i, t + 1), years));
        std::vector<int> of;
        for (int j : nb[static_cast<std::size_t>(i)]) of.push_back(position[static_cast<std::size_t>(j)]);
        g.neighbours.push_back(std::move(of));
    }
    return g;
}

std::vector<MoranGrowthRow> MoranGrowthOf(const SizePanel& p, const NeighbourRule& rule, int permutations,
                                          std::uint64_t seed) {
    if (p.dates < 2) throw RunError("MoranGrowth needs at least two dates");
    std::vector<MoranGrowthRow> rows(static_cast<std::size_t>(p.dates - 1));
    std::vector<std::string> errors(rows.size());
    // The pairs on two threads; each pair has its own seed, so the result does not depend on them.
    std::atomic<int> next{0};
    auto work = [&] {
        for (int t; (t = next++) + 1 < p.dates;) {
            MoranGrowthRow& row = rows[static_cast<std::size_t>(t)];
            row.fromYear = p.years[static_cast<std::size_t>(t)];
            row.toYear = p.years[static_cast<std::size_t>(t + 1)];
            try {
                const GrowthNeighbours g = GrowthSampleWithNeighbours(p, rule, t);
                row.withoutNeighbours = g.withoutNeighbours;
                row.moran = MoranI(g.growth, g.neighbours, permutations, Mix(seed, static_cast<std::uint64_t>(t)));
            } catch (const RunError& e) {
                row.skipped = true;
                errors[static_cast<std::size_t>(t)] = e.what();
            }
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    std::string lastError;
    for (const std::string& e : errors)
        if (!e.empty()) lastError = e;
    if (std::all_of(rows.begin(), rows.end(), [](const MoranGrowthRow& r) { return r.skipped; })) throw RunError(lastError);
    return rows;
}

void PrintMoranGrowth(const std::vector<MoranGrowthRow>& rows, TextSurface& text) {
    text.Line("Moran's I of growth (100 ln(P'/P) / years) between consecutive dates, row-standardised weights");
    text.Line(" From    To      n        I        EI   z_norm   p_norm   p_sim  no neighbours");
    ResultTable table{"Moran growth", {"From", "To", "n", "I", "EI", "z_norm", "p_norm", "p_sim"}, {}};
    for (const MoranGrowthRow& r : rows) {
        const MoranResult& m = r.moran;
        table.Row().Add(r.fromYear).Add(r.toYear).Add(m.n);
        for (double v : {m.i, m.ei, m.z, m.pNorm, m.pSim}) table.Add(MarkovCsvCell(v));
        text.Line(RightAligned(std::to_string(r.fromYear), 5) + RightAligned(std::to_string(r.toYear), 6) +
                  RightAligned(std::to_string(m.n), 7) + FixedCell(m.i, 9, 4) + FixedCell(m.ei, 10, 5) +
                  FixedCell(m.z, 9, 2) + FixedCell(m.pNorm, 9, 4) + FixedCell(m.pSim, 8, 3) +
                  RightAligned(r.skipped ? "too few places" : std::to_string(r.withoutNeighbours), 15));
    }
    text.Tables.push_back(std::move(table));
}
