#include "data/TableBuild.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "data/Loader.h"
#include "data/TableCells.h"

namespace {

// Places among the `top` largest at date t (ties with the last one included).
std::vector<char> TopAt(const Table& tab, std::size_t t, int top) {
    std::vector<char> in(tab.Places(), 0);
    std::vector<double> v;
    for (std::size_t p = 0; p < tab.Places(); ++p)
        if (tab.At(p, t) > 0) v.push_back(tab.At(p, t));
    double threshold = 0;
    if (v.size() > static_cast<std::size_t>(top)) {
        std::nth_element(v.begin(), v.begin() + (top - 1), v.end(), std::greater<double>());
        threshold = v[static_cast<std::size_t>(top - 1)];
    }
    for (std::size_t p = 0; p < tab.Places(); ++p) in[p] = tab.At(p, t) > 0 && tab.At(p, t) >= threshold;
    return in;
}

void KeepPlaces(Table& tab, const std::vector<char>& keep) {
    Table out;
    out.years = tab.years;
    for (std::size_t p = 0; p < tab.Places(); ++p) {
        if (!keep[p]) continue;
        out.names.push_back(tab.names[p]);
        out.groups.push_back(tab.groups[p]);
        out.ids.push_back(tab.ids[p]);
        out.latitude.push_back(tab.latitude[p]);
        out.longitude.push_back(tab.longitude[p]);
        for (std::size_t t = 0; t < tab.Dates(); ++t) out.values.push_back(tab.At(p, t));
    }
    tab = std::move(out);
}

}  // namespace

void ChoosePlaces(Table& tab, int top, ImportPreview& pv) {
    if (top <= 0) return;
    const std::size_t all = tab.Places();
    std::vector<char> keep(tab.Places(), 0);
    std::vector<std::vector<char>> in;
    for (std::size_t t = 0; t < tab.Dates(); ++t) {
        in.push_back(TopAt(tab, t, top));
        for (std::size_t p = 0; p < tab.Places(); ++p) keep[p] |= in.back()[p];
    }
    for (std::size_t t = 0; t < tab.Dates(); ++t)
        for (std::size_t p = 0; p < tab.Places(); ++p)
            if (!in[t][p]) tab.At(p, t) = 0;
    KeepPlaces(tab, keep);
    pv.warnings.push_back("Kept " + Thousands(tab.Places()) + " of " + Thousands(all) + " places: those among the " +
                          std::to_string(top) + " largest at one or more dates (absent at the other dates)");
}

namespace {

// How many places bear each name. The keys view the table's names: nothing is renamed while
// the counts are in use.
std::unordered_map<std::string_view, int> NameCounts(const std::vector<std::string>& names) {
    std::unordered_map<std::string_view, int> c;
    c.reserve(names.size());
    for (const auto& n : names) ++c[n];
    return c;
}

}  // namespace

void MakeNamesUnique(Table& tab, ImportPreview& pv) {
    std::vector<char> renamed(tab.Places(), 0);
    {
        const auto c = NameCounts(tab.names);
        if (c.size() == tab.Places()) return;  // every name once: the common case, and a million places
        for (std::size_t p = 0; p < tab.Places(); ++p) {
            const std::string& g = tab.groups[p];
            renamed[p] = c.at(tab.names[p]) > 1 && !g.empty() && tab.names[p].find(g) == std::string::npos;
        }
    }
    for (std::size_t p = 0; p < tab.Places(); ++p)
        if (renamed[p]) tab.names[p] += ", " + tab.groups[p];
    std::vector<char> numbered(tab.Places(), 0);
    {
        const auto c = NameCounts(tab.names);
        for (std::size_t p = 0; p < tab.Places(); ++p) numbered[p] = c.at(tab.names[p]) > 1;
    }
    std::unordered_map<std::string, int> seen;
    for (std::size_t p = 0; p < tab.Places(); ++p) {
        if (!numbered[p]) continue;
        const std::string base = tab.names[p];
        const int k = ++seen[base];
        tab.names[p] = base + " (" + (tab.ids[p].empty() ? std::string("#").append(std::to_string(k)) : tab.ids[p]) + ")";
        renamed[p] = 1;
    }
    // Only the names as loaded, each once (two places may still share one when their IDs repeat).
    std::vector<std::string> changed;
    std::set<std::string> listed;
    for (std::size_t p = 0; p < tab.Places(); ++p)
        if (renamed[p] && listed.insert(tab.names[p]).second) changed.push_back(tab.names[p]);
    if (changed.empty()) return;
    std::string list;
    for (std::size_t k = 0; k < changed.size() && k < 12; ++k) list += (k ? "; " : "") + changed[k];
    if (changed.size() > 12) list += "; ...";
    pv.warnings.push_back(std::to_string(changed.size()) + " names made unique: " + list);
}

std::unique_ptr<DataSet> ToDataSet(Table&& tab, bool exact) {
    auto d = std::make_unique<DataSet>();
    d->Resize(static_cast<int>(tab.Places()), static_cast<int>(tab.Dates()));
    d->NumCities = static_cast<decltype(d->NumCities)>(tab.Places());
    d->NumDates = static_cast<decltype(d->NumDates)>(tab.Dates());
    d->DataReady = 0;
    d->FirstYear = static_cast<decltype(d->FirstYear)>(tab.years.front());
    for (std::size_t t = 0; t < tab.Dates(); ++t) d->DateYear(t + 1) = static_cast<int16_t>(tab.years[t]);
    d->Exact = exact;
    // The table's columns move into the data set: a million places are not held twice.
    for (std::size_t p = 0; p < tab.Places(); ++p) {
        d->CityName(p + 1) = std::move(tab.names[p]);
        for (std::size_t t = 0; t < tab.Dates(); ++t) {
            double& v = tab.values[p * tab.Dates() + t];
            if (!(v > 0)) v = 0.0;
            d->PopTable(p + 1, t + 1) = static_cast<float>(v);
        }
    }
    d->Population = std::move(tab.values);
    d->CityGroup = std::move(tab.groups);
    d->CityID = std::move(tab.ids);
    d->Latitude = std::move(tab.latitude);
    d->Longitude = std::move(tab.longitude);
    DeriveTimeMeasures(*d);
    MarkPresence(*d);
    return d;
}
