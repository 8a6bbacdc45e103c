#include "stats/Growth.h"
#include "stats/Replicates.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <mutex>
#include <numeric>
#include <random>
#include <thread>

#include <boost/math/distributions/students_t.hpp>

#include "draw/ResultTable.h"
#include "draw/RunError.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr int GridPoints = 100;

double Mean(const std::vector<double>& v) {
    double s = 0;
    for (double a : v) s += a;
    return v.empty() ? NaN : s / static_cast<double>(v.size());
}

double Sd(const std::vector<double>& v) {
    if (v.size() < 2) return NaN;
    const double m = Mean(v);
    double s = 0;
    for (double a : v) s += (a - m) * (a - m);
    return std::sqrt(s / static_cast<double>(v.size() - 1));
}

// Two-sided p of t on df degrees of freedom.
double TwoSidedP(double t, double df) {
    if (!std::isfinite(t) || !(df > 0)) return std::isinf(t) ? 0.0 : NaN;
    const boost::math::students_t dist(df);
    return 2 * boost::math::cdf(boost::math::complement(dist, std::fabs(t)));
}

// Average ranks (1-based), ties sharing the mean of their positions.
std::vector<double> Ranks(const std::vector<double>& v) {
    std::vector<std::size_t> order(v.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return v[a] < v[b]; });
    std::vector<double> r(v.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i;
        while (j + 1 < order.size() && v[order[j + 1]] == v[order[i]]) ++j;
        const double rank = (static_cast<double>(i + j) / 2) + 1;
        for (std::size_t k = i; k <= j; ++k) r[order[k]] = rank;
        i = j + 1;
    }
    return r;
}

double Pearson(const std::vector<double>& a, const std::vector<double>& b) {
    const double ma = Mean(a), mb = Mean(b);
    double sab = 0, saa = 0, sbb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return sab / std::sqrt(saa * sbb);
}

// Normalises g within each group into gt.
void Normalise(GrowthSample& s) {
    const int groups = s.group.empty() ? 0 : *std::max_element(s.group.begin(), s.group.end()) + 1;
    std::vector<double> sum(groups), sum2(groups), count(groups);
    for (std::size_t i = 0; i < s.g.size(); ++i) {
        sum[s.group[i]] += s.g[i];
        count[s.group[i]] += 1;
    }
    for (std::size_t i = 0; i < s.g.size(); ++i) {
        const double d = s.g[i] - sum[s.group[i]] / count[s.group[i]];
        sum2[s.group[i]] += d * d;
    }
    s.gt.resize(s.g.size());
    for (std::size_t i = 0; i < s.g.size(); ++i) {
        const int k = s.group[i];
        const double sd = count[k] > 1 ? std::sqrt(sum2[k] / (count[k] - 1)) : NaN;
        s.gt[i] = (s.g[i] - sum[k] / count[k]) / sd;
    }
}

std::string Cell(double v, int width, int decimals) { return FixedCell(v, width, decimals); }
std::string Cell(const std::string& s, int width) { return RightAligned(s, width); }

// The truncated kernel of one grid point: the weights of the sorted rows [first, first + w.size()).
struct KernelRow {
    std::size_t first = 0;
    std::vector<double> w;
};

}  // namespace

GrowthSample PairSample(const DataSet& d, int t) {
    if (t < 1 || t >= d.NumDates) throw RunError("Growth: no pair of dates starts at date " + std::to_string(t));
    GrowthSample s;
    s.from = t;
    s.to = t + 1;
    s.fromYear = d.DateYear(t);
    s.toYear = d.DateYear(t + 1);
    const int years = s.toYear - s.fromYear;
    if (years <= 0)
        throw RunError("Growth: the dates " + std::to_string(s.fromYear) + " and " + std::to_string(s.toYear) +
                       " do not follow each other in time");
    for (int c = 1; c <= d.NumCities; ++c) {
        const double a = d.Pop(c, t), b = d.Pop(c, t + 1);
        if (a > 0 && b > 0) {
            s.city.push_back(c);
            s.date.push_back(t);
            s.group.push_back(0);
            s.x.push_back(std::log(a));
            s.g.push_back(GrowthRate(a, b, years));
        } else if (a > 0) {
            ++s.exited;
        } else if (b > 0) {
            ++s.entered;
        }
    }
    Normalise(s);
    return s;
}

namespace {

// Every pair's sample stacked, x relative to the pair's mean of ln S.
GrowthSample Stack(const DataSet& d, const std::vector<GrowthSample>& pairs) {
    GrowthSample s;
    s.pooled = true;
    s.from = 1;
    s.to = d.NumDates;
    s.fromYear = d.DateYear(1);
    s.toYear = d.DateYear(d.NumDates);
    int group = 0;
    for (const GrowthSample& p : pairs) {
        s.entered += p.entered;
        s.exited += p.exited;
        if (p.x.size() < 3 || !(Sd(p.g) > 0)) continue;  // too few, or nothing to normalise
        const double mx = Mean(p.x);
        for (std::size_t i = 0; i < p.x.size(); ++i) {
            s.city.push_back(p.city[i]);
            s.date.push_back(p.from);
            s.group.push_back(group);
            s.x.push_back(p.x[i] - mx);
            s.g.push_back(p.g[i]);
        }
        ++group;
    }
    if (group == 0) throw RunError("Growth: no pair of dates has three places present at both");
    Normalise(s);
    return s;
}

}  // namespace

GrowthSample PooledSample(const DataSet& d) {
    std::vector<GrowthSample> pairs;
    for (int t = 1; t < d.NumDates; ++t) pairs.push_back(PairSample(d, t));
    return Stack(d, pairs);
}

RankCorrelation Spearman(const std::vector<double>& a, const std::vector<double>& b) {
    const std::size_t n = a.size();
    if (n < 3) return {NaN, NaN};
    const double rho = Pearson(Ranks(a), Ranks(b));
    if (std::fabs(rho) >= 1) return {rho, 0.0};
    const double t = rho * std::sqrt((static_cast<double>(n) - 2) / (1 - rho * rho));
    return {rho, TwoSidedP(t, static_cast<double>(n) - 2)};
}

GrowthRow Regress(const GrowthSample& s) {
    GrowthRow r;
    r.fromYear = s.fromYear;
    r.toYear = s.toYear;
    r.pooled = s.pooled;
    r.n = static_cast<int>(s.x.size());
    r.entered = s.entered;
    r.exited = s.exited;
    r.meanGrowth = Mean(s.g);
    r.sdGrowth = Sd(s.g);
    const std::vector<double>& y = s.pooled ? s.gt : s.g;
    if (r.n < 3) {
        r.beta = r.seBeta = r.t = r.p = r.spearman = r.pSpearman = NaN;
        return r;
    }
    const double mx = Mean(s.x), my = Mean(y);
    double sxx = 0, sxy = 0;
    for (int i = 0; i < r.n; ++i) {
        sxx += (s.x[i] - mx) * (s.x[i] - mx);
        sxy += (s.x[i] - mx) * (y[i] - my);
    }
    r.beta = sxy / sxx;
    // HC1: the sandwich sum of squared residuals, scaled by n / (n - 2).
    double meat = 0;
    for (int i = 0; i < r.n; ++i) {
        const double e = y[i] - my - r.beta * (s.x[i] - mx);
        meat += (s.x[i] - mx) * (s.x[i] - mx) * e * e;
    }
    const double n = r.n;
    r.seBeta = std::sqrt(n / (n - 2) * meat) / sxx;
    r.t = r.beta / r.seBeta;
    r.p = TwoSidedP(r.t, n - 2);
    const RankCorrelation rc = Spearman(y, s.x);
    r.spearman = rc.rho;
    r.pSpearman = rc.p;
    return r;
}

GrowthState GrowthAllPairs(const DataSet& d, const GrowthOptions& options) {
    if (d.NumDates < 2) throw RunError("Growth needs at least two dates");
    GrowthState state;
    state.options = options;
    std::vector<GrowthSample> pairs;
    for (int t = 1; t < d.NumDates; ++t) {
        pairs.push_back(PairSample(d, t));
        state.rows.push_back(Regress(pairs.back()));
    }
    state.rows.push_back(Regress(Stack(d, pairs)));
    return state;
}

void PrintGrowth(const GrowthState& state, TextSurface& text) {
    text.Line("Growth g = ln(S'/S) / years between consecutive dates, against x = ln S: OLS slope beta with HC1 SE,");
    text.Line("Student t (n - 2), Spearman's rho. Places entering or exiting between the dates are left out.");
    text.Line("Pooled: every pair, normalised growth within each pair against size relative to the pair's mean ln S.");
    const int w[] = {5, 5, 6, 7, 7, 9, 9, 10, 9, 7, 8, 8, 8};
    const char* head[] = {"From", "To", "n", "Enter", "Exit", "MeanG", "SDG", "Beta", "SE", "t", "p", "Spearman",
                          "p_Sp"};
    std::string line;
    for (int i = 0; i < 13; ++i) line += Cell(head[i], w[i]) + " ";
    text.Line(line);
    ResultTable table;
    table.title = "Growth against size";
    table.columns = {"From", "To", "n", "Entered", "Exited", "MeanGrowth", "SDGrowth", "Beta", "SE_Beta", "t", "p",
                     "Spearman", "p_Spearman"};
    for (const auto& r : state.rows) {
        const std::string from = r.pooled ? "Pooled" : std::to_string(r.fromYear);
        const std::string to = r.pooled ? "" : std::to_string(r.toYear);
        line = Cell(r.pooled ? "Pool" : from, w[0]) + " " + Cell(to, w[1]) + " " + Cell(std::to_string(r.n), w[2]) +
               " " + Cell(std::to_string(r.entered), w[3]) + " " + Cell(std::to_string(r.exited), w[4]) + " " +
               Cell(r.meanGrowth, w[5], 5) + " " + Cell(r.sdGrowth, w[6], 5) + " " + Cell(r.beta, w[7], 5) + " " +
               Cell(r.seBeta, w[8], 5) + " " + Cell(r.t, w[9], 2) + " " + Cell(r.p, w[10], 4) + " " +
               Cell(r.spearman, w[11], 4) + " " + Cell(r.pSpearman, w[12], 4);
        text.Line(line);
        table.Row().Add(from).Add(to).Add(r.n).Add(r.entered).Add(r.exited).Add(CsvValue(r.meanGrowth));
        table.Add(CsvValue(r.sdGrowth)).Add(CsvValue(r.beta)).Add(CsvValue(r.seBeta)).Add(CsvValue(r.t));
        table.Add(CsvValue(r.p)).Add(CsvValue(r.spearman)).Add(CsvValue(r.pSpearman));
    }
    text.Tables.push_back(std::move(table));
}

double Percentile(std::vector<double> v, double q) {
    if (v.empty()) return NaN;
    std::sort(v.begin(), v.end());
    const double pos = q / 100 * static_cast<double>(v.size() - 1);
    const std::size_t lo = static_cast<std::size_t>(std::floor(pos));
    const std::size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (pos - static_cast<double>(lo)) * (v[hi] - v[lo]);
}

double RuleBandwidth(const std::vector<double>& x) {
    const double sd = Sd(x);
    const double iqr = Percentile(x, 75) - Percentile(x, 25);
    double a = std::min(sd, iqr / 1.34);
    if (!(a > 0)) a = sd;  // more than half the places of one size: the spread alone
    if (!(a > 0)) throw RunError("Growth: every place has the same size, so no bandwidth can be chosen");
    return 0.9 * a * std::pow(static_cast<double>(x.size()), -0.2);
}

GrowthCurves KernelCurves(const GrowthSample& s, const GrowthOptions& o, const TailFitControl& control) {
    const std::size_t n = s.x.size();
    if (n < 3) throw RunError("Growth-Plot: fewer than three places are present at both dates");
    for (double v : s.gt)
        if (!std::isfinite(v))
            throw RunError("Growth-Plot: every place grew alike from " + std::to_string(s.fromYear) + " to " +
                           std::to_string(s.toYear) + ", so growth cannot be normalised");
    // Every replicate's curves are kept for the percentiles: 1.6 kB each.
    if (o.replicates > 100000) throw RunError("Growth-Plot takes at most 100,000 bootstrap replicates");
    GrowthCurves c;
    c.h = o.bandwidth > 0 ? o.bandwidth : RuleBandwidth(s.x);
    c.replicates = std::max(0, o.replicates);
    c.seed = o.seed;
    const double lo = Percentile(s.x, 1), hi = Percentile(s.x, 99);
    for (int j = 0; j < GridPoints; ++j) c.grid.push_back(lo + (hi - lo) * j / (GridPoints - 1));

    // Rows in order of x, so each grid point's kernel covers one run of them.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return s.x[a] < s.x[b]; });
    std::vector<double> xs(n);
    for (std::size_t i = 0; i < n; ++i) xs[i] = s.x[order[i]];
    std::vector<KernelRow> kernel(GridPoints);
    for (int j = 0; j < GridPoints; ++j) {
        const double g = c.grid[j];
        std::size_t first = 0, last = n;
        if (o.cutoff > 0) {
            first = static_cast<std::size_t>(std::lower_bound(xs.begin(), xs.end(), g - o.cutoff * c.h) - xs.begin());
            last = static_cast<std::size_t>(std::upper_bound(xs.begin(), xs.end(), g + o.cutoff * c.h) - xs.begin());
        }
        kernel[j].first = first;
        for (std::size_t i = first; i < last; ++i) {
            const double u = (xs[i] - g) / c.h;
            kernel[j].w.push_back(std::exp(-0.5 * u * u));
        }
    }

    // Curves from normalised growth in x order, weighted by how often each row was drawn.
    auto curves = [&](const std::vector<double>& gt, const std::vector<double>* count, double* mean, double* sd) {
        for (int j = 0; j < GridPoints; ++j) {
            const KernelRow& k = kernel[j];
            double a0 = 0, a1 = 0, a2 = 0;
            for (std::size_t i = 0; i < k.w.size(); ++i) {
                const double w = count ? k.w[i] * (*count)[k.first + i] : k.w[i];
                const double v = gt[k.first + i];
                a0 += w;
                a1 += w * v;
                a2 += w * v * v;
            }
            const double m = a1 / a0;
            mean[j] = m;
            sd[j] = std::sqrt(std::max(0.0, a2 / a0 - m * m));
        }
    };
    std::vector<double> gtSorted(n), gSorted(n);
    std::vector<int> groupSorted(n);
    for (std::size_t i = 0; i < n; ++i) {
        gtSorted[i] = s.gt[order[i]];
        gSorted[i] = s.g[order[i]];
        groupSorted[i] = s.group[order[i]];
    }
    c.mean.resize(GridPoints);
    c.sd.resize(GridPoints);
    curves(gtSorted, nullptr, c.mean.data(), c.sd.data());

    const int R = c.replicates;
    c.meanLo.assign(GridPoints, NaN);
    c.meanHi.assign(GridPoints, NaN);
    c.sdLo.assign(GridPoints, NaN);
    c.sdHi.assign(GridPoints, NaN);
    if (R == 0) return c;

    // The rows of each group (pair), in x order: a replicate redraws within each group.
    const int groups = *std::max_element(groupSorted.begin(), groupSorted.end()) + 1;
    std::vector<std::vector<std::size_t>> members(groups);
    for (std::size_t i = 0; i < n; ++i) members[groupSorted[i]].push_back(i);

    std::vector<double> means(static_cast<std::size_t>(R) * GridPoints), sds(means.size());
    RunReplicates(
        R, o.threads,
        [&](bool) {
            return [&, count = std::vector<double>(n), gt = std::vector<double>(n), sum = std::vector<double>(groups),
                    sum2 = std::vector<double>(groups), drawn = std::vector<double>(groups)](int r) mutable {
                if (control.cancel && control.cancel->load(std::memory_order_relaxed)) throw FitCancelled();
                std::seed_seq seq{static_cast<std::uint32_t>(o.seed), static_cast<std::uint32_t>(o.seed >> 32),
                                  static_cast<std::uint32_t>(r), 0x67726f77u};
                std::mt19937_64 rng(seq);
                std::fill(count.begin(), count.end(), 0.0);
                for (const auto& m : members) {
                    const auto size = static_cast<unsigned __int128>(m.size());
                    for (std::size_t k = 0; k < m.size(); ++k)
                        count[m[static_cast<std::size_t>((static_cast<unsigned __int128>(rng()) * size) >> 64)]] += 1;
                }
                // The replicate's own mean and sd of g within each group.
                std::fill(sum.begin(), sum.end(), 0.0);
                std::fill(sum2.begin(), sum2.end(), 0.0);
                std::fill(drawn.begin(), drawn.end(), 0.0);
                for (std::size_t i = 0; i < n; ++i) {
                    sum[groupSorted[i]] += count[i] * gSorted[i];
                    drawn[groupSorted[i]] += count[i];
                }
                for (std::size_t i = 0; i < n; ++i) {
                    const double d = gSorted[i] - sum[groupSorted[i]] / drawn[groupSorted[i]];
                    sum2[groupSorted[i]] += count[i] * d * d;
                }
                for (std::size_t i = 0; i < n; ++i) {
                    const int k = groupSorted[i];
                    gt[i] = (gSorted[i] - sum[k] / drawn[k]) / std::sqrt(sum2[k] / (drawn[k] - 1));
                }
                const std::size_t at = static_cast<std::size_t>(r) * GridPoints;
                curves(gt, &count, &means[at], &sds[at]);
            };
        },
        [&](int d, bool caller) {
            if (caller && control.progress) control.progress(d, R);
        });
    if (control.progress) control.progress(R, R);

    // A replicate whose draw left a grid point without weight says nothing there.
    std::vector<double> m, v;
    for (int j = 0; j < GridPoints; ++j) {
        m.clear();
        v.clear();
        for (int r = 0; r < R; ++r) {
            const std::size_t at = static_cast<std::size_t>(r) * GridPoints + j;
            if (std::isfinite(means[at])) m.push_back(means[at]);
            if (std::isfinite(sds[at])) v.push_back(sds[at]);
        }
        c.meanLo[j] = Percentile(m, 2.5);
        c.meanHi[j] = Percentile(m, 97.5);
        c.sdLo[j] = Percentile(v, 2.5);
        c.sdHi[j] = Percentile(v, 97.5);
    }
    return c;
}

void PrintGrowthCurves(const GrowthSample& s, const GrowthCurves& c, TextSurface& text) {
    const std::string what = s.pooled ? "Pooled, " + std::to_string(s.fromYear) + "-" + std::to_string(s.toYear) +
                                            " (size relative to each pair's mean ln S)"
                                      : std::to_string(s.fromYear) + "-" + std::to_string(s.toYear);
    text.Line("Growth against size, " + what + ": n " + std::to_string(s.x.size()) + ", " +
              std::to_string(s.entered) + " entering and " + std::to_string(s.exited) + " exiting left out");
    char buf[200];
    if (c.replicates > 0)
        std::snprintf(buf, sizeof buf,
                      "Nadaraya-Watson, Gaussian kernel, h %.4f; bands 2.5-97.5 %% of %d bootstrap replicates (seed %llu)",
                      c.h, c.replicates, static_cast<unsigned long long>(c.seed));
    else
        std::snprintf(buf, sizeof buf, "Nadaraya-Watson, Gaussian kernel, h %.4f; no bootstrap", c.h);
    text.Line(buf);
    text.Line(Cell("lnS", 8) + " " + Cell("Mean", 8) + " " + Cell("Mean_lo", 8) + " " + Cell("Mean_hi", 8) + " " +
              Cell("SD", 8) + " " + Cell("SD_lo", 8) + " " + Cell("SD_hi", 8));
    ResultTable table;
    table.title = "Growth against size, " + what;
    table.columns = {"lnS", "Mean", "Mean_lo", "Mean_hi", "SD", "SD_lo", "SD_hi"};
    for (std::size_t j = 0; j < c.grid.size(); ++j) {
        text.Line(Cell(c.grid[j], 8, 4) + " " + Cell(c.mean[j], 8, 4) + " " + Cell(c.meanLo[j], 8, 4) + " " +
                  Cell(c.meanHi[j], 8, 4) + " " + Cell(c.sd[j], 8, 4) + " " + Cell(c.sdLo[j], 8, 4) + " " +
                  Cell(c.sdHi[j], 8, 4));
        table.Row().Add(CsvValue(c.grid[j])).Add(CsvValue(c.mean[j])).Add(CsvValue(c.meanLo[j]));
        table.Add(CsvValue(c.meanHi[j])).Add(CsvValue(c.sd[j])).Add(CsvValue(c.sdLo[j])).Add(CsvValue(c.sdHi[j]));
    }
    text.Tables.push_back(std::move(table));
}
