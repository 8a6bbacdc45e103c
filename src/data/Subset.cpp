#include "data/Subset.h"

#include <algorithm>
#include <map>

#include "data/Loader.h"
#include "draw/RunError.h"

std::vector<GroupCount> CountGroups(const DataSet& d) {
    std::map<std::string, int> counts;
    for (int i = 1; i <= d.NumCities; ++i)
        if (!d.Group(i).empty()) ++counts[d.Group(i)];
    std::vector<GroupCount> out;
    for (const auto& [group, n] : counts) out.push_back({group, n});
    return out;
}

std::unique_ptr<DataSet> GroupSubset(const DataSet& d, const std::string& group) {
    std::vector<int> places;
    for (int i = 1; i <= d.NumCities; ++i)
        if (d.Group(i) == group) places.push_back(i);
    if (places.empty()) throw RunError("No place belongs to the group \"" + group + "\"");
    return PlacesSubset(d, places, group);
}

std::unique_ptr<DataSet> PlacesSubset(const DataSet& d, std::vector<int> places, const std::string& label) {
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    if (places.empty()) throw RunError("\"" + label + "\" holds no place");
    const std::string& group = label;
    std::vector<int> dates;
    for (int t = 1; t <= d.NumDates; ++t) {
        bool any = false;
        for (int i : places) any = any || d.Pop(i, t) > 0;
        if (any) dates.push_back(t);
    }
    // The calendar needs a span of time: a group seen at one date only has no rates.
    if (dates.size() < 2)
        throw RunError("The places of \"" + group + "\" are present at " + std::to_string(dates.size()) +
                       " date; a group needs places at two dates or more");

    auto s = std::make_unique<DataSet>();
    const int n = static_cast<int>(places.size()), T = static_cast<int>(dates.size());
    s->Resize(n, T);
    s->NumCities = static_cast<int16_t>(n);
    s->NumDates = static_cast<int16_t>(T);
    for (int k = 0; k < T; ++k) s->DateYear(k + 1) = d.DateYear(dates[static_cast<std::size_t>(k)]);
    s->FirstYear = s->DateYear(1);
    s->Exact = true;
    const bool hasPositions = !d.Latitude.empty();
    s->Population.reserve(static_cast<std::size_t>(n) * T);
    for (int k = 0; k < n; ++k) {
        const int i = places[static_cast<std::size_t>(k)];
        s->CityName(k + 1) = d.CityName(i);
        if (!d.CityGroup.empty()) s->CityGroup.push_back(d.Group(i));
        if (!d.CityID.empty()) s->CityID.push_back(d.CityID[static_cast<std::size_t>(i - 1)]);
        if (hasPositions) {
            s->Latitude.push_back(d.Latitude[static_cast<std::size_t>(i - 1)]);
            s->Longitude.push_back(d.Longitude[static_cast<std::size_t>(i - 1)]);
        }
        for (int u = 0; u < T; ++u) {
            const double v = d.Pop(i, dates[static_cast<std::size_t>(u)]);
            s->PopTable(k + 1, u + 1) = static_cast<float>(v);
            s->Population.push_back(v > 0 ? v : 0.0);
        }
    }
    DeriveTimeMeasures(*s);
    MarkPresence(*s);
    return s;
}
