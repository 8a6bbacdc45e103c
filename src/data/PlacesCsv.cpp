#include "data/PlacesCsv.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

std::string Field(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

std::string Number(double v) {
    if (std::isnan(v)) return {};
    char buf[32];
    // Whole numbers in full (100000, not the shorter 1e+05, which a reader of a population
    // table does not expect); anything else as the shortest text that reads back exactly.
    const bool whole = v == std::floor(v) && std::fabs(v) < 1e15;
    const auto r = whole ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                         : std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace

void WritePlacesCsv(const DataSet& d, std::ostream& out) {
    out << "name,group,id,latitude,longitude";
    for (int t = 1; t <= d.NumDates; ++t) out << ',' << d.DateYear(t);
    out << '\n';
    for (int i = 1; i <= d.NumCities; ++i) {
        const auto at = static_cast<std::size_t>(i - 1);
        out << Field(d.CityName(i)) << ',' << Field(d.Group(i)) << ','
            << Field(d.CityID.empty() ? std::string() : d.CityID[at]) << ','
            << (d.HasPosition(i) ? Number(d.Latitude[at]) + ',' + Number(d.Longitude[at]) : std::string(","));
        for (int t = 1; t <= d.NumDates; ++t) {
            const double v = d.Pop(i, t);
            out << ',' << (v > 0 ? Number(v) : std::string());
        }
        out << '\n';
    }
}
