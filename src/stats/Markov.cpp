#include "stats/Markov.h"

#include <cmath>

#include "data/DataSet.h"
#include "draw/RunError.h"

SizePanel PanelOf(const DataSet& d) {
    SizePanel p;
    p.places = d.NumCities;
    p.dates = d.NumDates;
    for (int t = 1; t <= d.NumDates; ++t) p.years.push_back(d.DateYear(t));
    p.value.assign(static_cast<std::size_t>(p.places) * p.dates, 0.0);
    for (int i = 1; i <= d.NumCities; ++i)
        for (int t = 1; t <= d.NumDates; ++t) {
            const double v = d.Pop(i, t);
            p.At(i - 1, t - 1) = v > 0 && std::isfinite(v) ? v : 0.0;
        }
    return p;
}

SizePanel RelativeSizes(const SizePanel& p) {
    SizePanel r = p;
    for (int t = 0; t < p.dates; ++t) {
        double sum = 0;
        int n = 0;
        for (int i = 0; i < p.places; ++i)
            if (p.At(i, t) > 0) sum += p.At(i, t), ++n;
        for (int i = 0; i < p.places; ++i) r.At(i, t) = n > 0 && p.At(i, t) > 0 ? p.At(i, t) / (sum / n) : 0.0;
    }
    return r;
}

MarkovResult MarkovOf(const SizePanel& r, int k) {
    if (r.dates < 2) throw RunError("Markov needs at least two dates");
    MarkovResult m;
    m.k = k;
    m.firstYear = r.years.front();
    m.lastYear = r.years.back();
    m.transitions = TransitionMatrix(k);
    std::vector<int> before(static_cast<std::size_t>(r.places), -1), now(static_cast<std::size_t>(r.places), -1);
    for (int t = 0; t < r.dates; ++t) {
        std::vector<double> present;
        for (int i = 0; i < r.places; ++i)
            if (r.At(i, t) > 0) present.push_back(r.At(i, t));
        const std::vector<double> edges = QuantileEdges(present, k);
        for (int i = 0; i < r.places; ++i) now[static_cast<std::size_t>(i)] = r.At(i, t) > 0 ? QuantileClass(edges, r.At(i, t)) : -1;
        if (t > 0)
            for (std::size_t i = 0; i < now.size(); ++i)
                if (before[i] >= 0 && now[i] >= 0) m.transitions.Count(before[i], now[i]);
        std::swap(before, now);
    }
    m.p = StochasticRows(m.transitions);
    m.steady = SteadyState(m.p, k);
    m.firstPassage = FirstPassageTimes(m.p, k);
    m.mobility = Mobility(m.p, k);
    return m;
}

// "inf" for an infinite time, "-" where the quantity does not exist (no single steady state).
std::string MarkovCsvCell(double v) {
    if (std::isinf(v)) return "inf";
    return std::isnan(v) ? "-" : CsvValue(v);
}

std::string MarkovFixedCell(double v, int width, int decimals) {
    return std::isinf(v) ? RightAligned("inf", width) : FixedCell(v, width, decimals);
}

void PrintMarkov(const MarkovResult& m, TextSurface& text) {
    const int k = m.k;
    double total = 0;
    for (int i = 0; i < k; ++i) total += m.transitions.RowCount(i);
    text.Line("Markov chain of relative size classes (quantiles of each date), " + std::to_string(m.firstYear) + "-" +
              std::to_string(m.lastYear) + ": " + std::to_string(static_cast<long long>(total)) + " transitions");
    ResultTable main{"Markov", {"Class", "n"}, {}};
    std::string head = "Class       n";
    for (int j = 1; j <= k; ++j) {
        main.columns.push_back("P" + std::to_string(j));
        head += RightAligned("P" + std::to_string(j), 8);
    }
    main.columns.insert(main.columns.end(), {"Steady", "Sojourn"});
    text.Line(head + "  Steady  Sojourn");
    for (int i = 0; i < k; ++i) {
        const double n = m.transitions.RowCount(i);
        const double pii = n > 0 ? m.transitions.P(i, i) : NAN;
        const double steady = m.steady ? (*m.steady)[static_cast<std::size_t>(i)] : NAN;
        const double sojourn = n > 0 ? SojournTime(pii) : NAN;
        main.Row().Add(i + 1).Add(static_cast<int>(n));
        std::string line = RightAligned(std::to_string(i + 1), 5) + RightAligned(std::to_string(static_cast<long long>(n)), 8);
        for (int j = 0; j < k; ++j) {
            main.Add(m.transitions.P(i, j));
            line += FixedCell(m.transitions.P(i, j), 8, 4);
        }
        main.Add(MarkovCsvCell(steady)).Add(MarkovCsvCell(sojourn));
        text.Line(line + MarkovFixedCell(steady, 8, 4) + MarkovFixedCell(sojourn, 9, 2));
    }
    if (!m.steady) text.Line("No steady state: the chain has more than one recurrent class.");
    text.Line();

    ResultTable passage{"Mean first-passage times", {"Class"}, {}};
    text.Line("Mean first-passage times (censuses from the row's class until the column's is entered; diagonal: return time)");
    head = "Class";
    for (int j = 1; j <= k; ++j) {
        passage.columns.push_back("T" + std::to_string(j));
        head += RightAligned("T" + std::to_string(j), 10);
    }
    text.Line(head);
    for (int i = 0; i < k; ++i) {
        passage.Row().Add(i + 1);
        std::string line = RightAligned(std::to_string(i + 1), 5);
        for (int j = 0; j < k; ++j) {
            const double v = m.firstPassage[static_cast<std::size_t>(i * k + j)];
            passage.Add(MarkovCsvCell(v));
            line += MarkovFixedCell(v, 10, 2);
        }
        text.Line(line);
    }
    text.Line();

    ResultTable measures{"Mobility", {"Measure", "Value"}, {}};
    const std::pair<const char*, double> rows[] = {{"Shorrocks", m.mobility.shorrocks},
                                                   {"ShorrocksDet", m.mobility.shorrocksDet},
                                                   {"SommersConlisk", m.mobility.sommersConlisk},
                                                   {"Bartholomew", m.mobility.bartholomew}};
    text.Line("Mobility: Shorrocks (K - trace P)/(K - 1), ShorrocksDet 1 - |det P|, SommersConlisk 1 - |lambda2|,");
    text.Line("Bartholomew sum_ij p_ij |i - j| / (K (K - 1)) from a uniform start");
    for (const auto& [name, v] : rows) {
        measures.Row().Add(name).Add(MarkovCsvCell(v));
        text.Line(RightAligned(name, 15) + MarkovFixedCell(v, 10, 5));
    }
    text.Tables.push_back(std::move(main));
    text.Tables.push_back(std::move(passage));
    text.Tables.push_back(std::move(measures));
}
