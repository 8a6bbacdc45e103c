#include "stats/ByGroup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t None = static_cast<std::size_t>(-1);

std::string Fixed(double v, int width, int decimals) { return FixedCell(v, width, decimals); }

std::string Padded(const std::string& s, int width, bool left = false) {
    const std::string pad(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))), ' ');
    return left ? s + pad : pad + s;
}

}  // namespace

SizeShares ShareStatistics(std::span<const double> sizes) {
    std::vector<double> x(sizes.begin(), sizes.end());
    std::sort(x.begin(), x.end());
    SizeShares s;
    const std::size_t n = x.size();
    if (n == 0) return s;
    // Whole populations: their sums are exact in double far beyond any real table.
    for (double v : x) s.total += v;
    s.largestShare = x.back() / s.total;
    s.s1s2 = n > 1 ? x.back() / x[n - 2] : NaN;
    double weighted = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double share = x[i] / s.total;
        s.hhi += share * share;
        weighted += (2.0 * static_cast<double>(i + 1) - static_cast<double>(n) - 1.0) * x[i];
    }
    s.gini = weighted / (static_cast<double>(n) * s.total);
    return s;
}

const ByGroupRow* ByGroupState::Find(std::size_t g, int t) const {
    const std::size_t k = rowIndex.empty() ? None : rowIndex[g * years.size() + static_cast<std::size_t>(t - 1)];
    return k == None ? nullptr : &rows[k];
}

ByGroupState FitByGroups(const DataSet& d, const ByGroupOptions& options, const TailFitOptions& tail,
                         const TailFitControl& control) {
    if (d.CityGroup.empty()) throw RunError("By-Group: this table has no group column (state, country or region)");
    if (options.minPlaces < 1) throw RunError("By-Group: --min-places must be at least 1");
    std::map<std::string, std::vector<int>> members;
    for (int i = 1; i <= d.NumCities; ++i)
        if (!d.Group(i).empty()) members[d.Group(i)].push_back(i);

    // Each group-date's sizes, gathered first so progress knows the whole amount of work.
    struct Job {
        std::string group;
        std::size_t groupIndex;
        int t;
        std::vector<double> x;
        std::vector<int> who;
    };
    std::vector<Job> jobs;
    std::size_t g = 0;
    for (const auto& [group, places] : members) {
        for (int t = 1; t <= d.NumDates; ++t) {
            Job job{group, g, t, {}, {}};
            for (int i : places)
                if (const double v = d.Pop(i, t); v > 0) {
                    job.x.push_back(v);
                    job.who.push_back(i);
                }
            if (static_cast<int>(job.x.size()) >= options.minPlaces) jobs.push_back(std::move(job));
        }
        ++g;
    }

    ByGroupState state;
    state.options = options;
    state.minTail = tail.minTail;
    for (int t = 1; t <= d.NumDates; ++t) state.years.push_back(d.DateYear(t));
    const long steps = 1 + std::max(0, options.replicates);
    const long total = static_cast<long>(jobs.size()) * steps;
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        const Job& job = jobs[k];
        if (control.cancel && control.cancel->load(std::memory_order_relaxed)) throw FitCancelled();
        if (control.progress) control.progress(static_cast<long>(k) * steps, total);
        if (state.groups.empty() || state.groups.back() != job.group) state.groups.push_back(job.group);
        ByGroupRow row;
        row.group = job.group;
        row.year = d.DateYear(job.t);
        row.date = job.t;
        row.n = static_cast<int>(job.x.size());
        const SizeShares s = ShareStatistics(job.x);
        row.total = s.total;
        row.largestShare = s.largestShare;
        row.s1s2 = s.s1s2;
        row.hhi = s.hhi;
        row.gini = s.gini;
        const auto top = std::max_element(job.x.begin(), job.x.end());  // the first of equal largest
        row.largest = d.CityName(job.who[static_cast<std::size_t>(top - job.x.begin())]);
        std::vector<double> sorted = job.x;
        std::sort(sorted.begin(), sorted.end());
        row.gi = FitRankHalf(sorted);
        if (row.n >= tail.minTail) row.pl = FitPowerLaw(sorted, tail.minTail, control.cancel);
        if (row.pl.ok && options.replicates > 0) {
            BootstrapOptions b;
            b.replicates = options.replicates;
            b.minTail = tail.minTail;
            b.seed = tail.seed;
            // Each (group, date) draws its own stream, whatever else the table holds.
            b.stream = (static_cast<std::uint64_t>(job.groupIndex + 1) << 32) | static_cast<std::uint64_t>(job.t);
            b.threads = tail.threads;
            b.cancel = control.cancel;
            if (control.progress)
                b.progress = [&](int done) { control.progress(static_cast<long>(k) * steps + 1 + done, total); };
            row.pBoot = BootstrapP(sorted, row.pl, b);
        }
        state.rows.push_back(std::move(row));
    }
    if (control.progress) control.progress(total, total);
    state.rowIndex.assign(state.groups.size() * state.years.size(), None);
    std::size_t gi = 0;
    for (std::size_t k = 0; k < state.rows.size(); ++k) {
        while (state.groups[gi] != state.rows[k].group) ++gi;
        state.rowIndex[gi * state.years.size() + static_cast<std::size_t>(state.rows[k].date - 1)] = k;
    }
    return state;
}

void PrintByGroup(const ByGroupState& state, TextSurface& text) {
    const bool boot = state.options.replicates > 0;
    std::string title = "By group: places present >= " + std::to_string(state.options.minPlaces) +
                        "; zeta_GI by rank - 1/2 over all places; power-law MLE (x_min by KS, tail >= " +
                        std::to_string(state.minTail) + ")";
    if (boot) title += "; bootstrap p (" + std::to_string(state.options.replicates) + " replicates)";
    text.Line(title);
    int gw = 5;
    for (const auto& g : state.groups) gw = std::max(gw, std::min(28, static_cast<int>(g.size())));
    int lw = 7;
    for (const auto& r : state.rows) lw = std::max(lw, std::min(24, static_cast<int>(r.largest.size())));
    auto cut = [](const std::string& s, int w) { return static_cast<int>(s.size()) > w ? s.substr(0, w) : s; };
    std::string head = Padded("Group", gw, true) + " " + Padded("Year", 5) + " " + Padded("n", 5) + " " +
                       Padded("Total", 12) + " " + Padded("Largest", lw, true) + " " + Padded("Share", 6) + " " +
                       Padded("S1/S2", 6) + " " + Padded("HHI", 6) + " " + Padded("Gini", 6) + " " +
                       Padded("zeta_GI", 7) + " " + Padded("SE_GI", 6) + " " + Padded("x_min", 10) + " " +
                       Padded("n_tail", 6) + " " + Padded("zeta_MLE", 8) + " " + Padded("SE_MLE", 6);
    if (boot) head += " " + Padded("p_boot", 6);
    text.Line(head);

    ResultTable table;
    table.title = "By group";
    table.columns = {"Group",   "Year",  "n",     "Total",  "Largest", "LargestShare", "S1_S2",   "HHI",
                     "Gini",    "zeta_GI", "SE_GI", "x_min", "n_tail",  "zeta_MLE",     "SE_MLE"};
    if (boot) table.columns.push_back("p_boot");
    for (const auto& r : state.rows) {
        const bool fit = r.pl.ok;
        const double nan = NaN;
        std::string line = Padded(cut(r.group, gw), gw, true) + " " + Padded(std::to_string(r.year), 5) + " " +
                           Padded(std::to_string(r.n), 5) + " " + Fixed(r.total, 12, 0) + " " +
                           Padded(cut(r.largest, lw), lw, true) + " " + Fixed(r.largestShare, 6, 3) + " " +
                           Fixed(r.s1s2, 6, 2) + " " + Fixed(r.hhi, 6, 3) + " " + Fixed(r.gini, 6, 3) + " " +
                           Fixed(r.gi.zeta, 7, 3) + " " + Fixed(r.gi.se, 6, 3) + " " +
                           Fixed(fit ? r.pl.xmin : nan, 10, 0) + " " +
                           (fit ? Padded(std::to_string(r.pl.nTail), 6) : Padded("-", 6)) + " " +
                           Fixed(fit ? r.pl.zeta : nan, 8, 3) + " " + Fixed(fit ? r.pl.se : nan, 6, 3);
        if (boot) line.append(" ").append(Fixed(r.pBoot ? *r.pBoot : nan, 6, 3));
        text.Line(line);
        table.Row().Add(r.group).Add(r.year).Add(r.n).Add(CsvValue(r.total)).Add(r.largest);
        table.Add(CsvValue(r.largestShare)).Add(CsvValue(r.s1s2)).Add(CsvValue(r.hhi)).Add(CsvValue(r.gini));
        table.Add(CsvValue(r.gi.zeta)).Add(CsvValue(r.gi.se));
        if (fit)
            table.Add(CsvValue(r.pl.xmin)).Add(r.pl.nTail).Add(CsvValue(r.pl.zeta)).Add(CsvValue(r.pl.se));
        else
            table.Add(MissingCsvCell).Add(MissingCsvCell).Add(MissingCsvCell).Add(MissingCsvCell);
        if (boot) table.Add(CsvValue(r.pBoot ? *r.pBoot : nan));
    }
    text.Tables.push_back(std::move(table));
}
