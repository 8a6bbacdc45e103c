#include "stats/SpatialWeights.h"

#include <nanoflann.hpp>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include "draw/RunError.h"

namespace {

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string t; in >> t;) out.push_back(t);
    return out;
}

[[noreturn]] void Refuse(const std::string& path, int line, const std::string& what) {
    throw RunError(path + ", line " + std::to_string(line) + ": " + what);
}

struct UnitVectors {
    std::vector<double> xyz;  // 3 per candidate
    std::size_t kdtree_get_point_count() const { return xyz.size() / 3; }
    double kdtree_get_pt(std::size_t i, std::size_t d) const { return xyz[3 * i + d]; }
    template <class Box>
    bool kdtree_get_bbox(Box&) const {
        return false;
    }
};

using Tree = nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<double, UnitVectors>, UnitVectors, 3,
                                                 std::size_t>;

}  // namespace

bool HasGeoPosition(const GeoPoint& p) {
    return std::isfinite(p.lat) && std::isfinite(p.lon) && !(p.lat == 0 && p.lon == 0);
}

SpatialWeights ReadGal(const std::string& path, const std::vector<std::string>& ids, int rows) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw RunError("Cannot open the weights file " + path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    std::size_t at = 0;
    while (at < lines.size() && Tokens(lines[at]).empty()) ++at;
    if (at == lines.size()) throw RunError(path + " is empty: a GAL file starts with the number of places");
    const std::vector<std::string> head = Tokens(lines[at]);
    long declared = -1;
    try {
        declared = std::stol(head.size() >= 2 ? head[1] : head[0]);
    } catch (...) {
    }
    if ((head.size() != 1 && head.size() < 2) || declared < 0 || (head.size() > 1 && head[0] != "0"))
        Refuse(path, static_cast<int>(at + 1), "the header is `n` or `0 n shapefile idvariable`");
    ++at;

    // Records: (line number, own id, neighbour ids).
    struct Record {
        int line;
        std::string id;
        std::vector<std::string> of;
    };
    std::vector<Record> records;
    std::unordered_map<std::string, int> seen;  // id -> its line
    while (at < lines.size()) {
        const std::vector<std::string> t = Tokens(lines[at]);
        if (t.empty()) {
            ++at;
            continue;
        }
        const int line = static_cast<int>(at + 1);
        long count = -1;
        if (t.size() == 2) try {
                std::size_t used = 0;
                count = std::stol(t[1], &used);
                if (used != t[1].size()) count = -1;
            } catch (...) {
            }
        if (count < 0) Refuse(path, line, "expected `id count`, found \"" + lines[at] + "\"");
        if (auto [it, fresh] = seen.emplace(t[0], line); !fresh)
            Refuse(path, line, "the id " + t[0] + " is given twice (first on line " + std::to_string(it->second) + ")");
        const std::vector<std::string> of = at + 1 < lines.size() ? Tokens(lines[at + 1]) : std::vector<std::string>{};
        if (static_cast<long>(of.size()) != count)
            Refuse(path, line + 1, "place " + t[0] + " has " + std::to_string(count) + " neighbours by its count but " +
                                       std::to_string(of.size()) + " ids are listed");
        std::vector<std::string> sorted = of;
        std::sort(sorted.begin(), sorted.end());
        if (auto d = std::adjacent_find(sorted.begin(), sorted.end()); d != sorted.end())
            Refuse(path, line + 1, "the neighbour " + *d + " of place " + t[0] + " is listed twice");
        records.push_back({line, t[0], of});
        at += 2;
    }
    if (static_cast<long>(records.size()) != declared)
        Refuse(path, 1, "the header says " + std::to_string(declared) + " places but " +
                            std::to_string(records.size()) + " are listed");

    // Each id to its data row: by the table's ID column, or by the record's position.
    std::unordered_map<std::string, int> row;
    if (ids.empty()) {
        for (std::size_t k = 0; k < records.size() && static_cast<int>(k) < rows; ++k) row[records[k].id] = static_cast<int>(k);
    } else {
        for (std::size_t k = 0; k < ids.size(); ++k)
            if (!ids[k].empty()) row.emplace(ids[k], static_cast<int>(k));
    }
    SpatialWeights w;
    w.neighbours.assign(static_cast<std::size_t>(rows), {});
    std::vector<std::string> unmatched;
    auto note = [&](const std::string& id) {
        if (std::find(unmatched.begin(), unmatched.end(), id) == unmatched.end()) unmatched.push_back(id);
    };
    for (const Record& r : records) {
        const auto self = row.find(r.id);
        if (self == row.end()) {
            note(r.id);
            continue;
        }
        for (const std::string& id : r.of) {
            const auto other = row.find(id);
            if (other == row.end()) note(id);
            else if (other->second != self->second) w.neighbours[static_cast<std::size_t>(self->second)].push_back(other->second);
        }
    }
    if (!unmatched.empty()) {
        std::string list;
        for (std::size_t k = 0; k < unmatched.size() && k < 10; ++k) list += (k ? ", " : "") + unmatched[k];
        if (unmatched.size() > 10) list += ", ...";
        w.warnings.push_back(path + ": " + std::to_string(unmatched.size()) + " ids match no place and are left out: " + list);
    }
    return w;
}

SpatialWeights NearestNeighbours(const std::vector<GeoPoint>& points, const std::vector<int>& candidates, int k) {
    SpatialWeights w;
    w.neighbours.assign(points.size(), {});
    const std::size_t n = candidates.size();
    if (k < 1 || static_cast<std::size_t>(k) >= n) return w;
    UnitVectors v;
    v.xyz.reserve(3 * n);
    constexpr double Degree = 3.14159265358979323846 / 180;
    for (int c : candidates) {
        const GeoPoint& p = points[static_cast<std::size_t>(c)];
        const double phi = p.lat * Degree, lambda = p.lon * Degree;
        v.xyz.insert(v.xyz.end(), {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)});
    }
    Tree tree(3, v, nanoflann::KDTreeSingleIndexAdaptorParams(10));
    // Chord length grows with great-circle distance, so the nearest by chord are the nearest.
    std::vector<std::size_t> found(static_cast<std::size_t>(k) + 2);
    std::vector<double> dist(static_cast<std::size_t>(k) + 2);
    std::vector<std::pair<std::size_t, double>> within;
    for (std::size_t a = 0; a < n; ++a) {
        const double* q = &v.xyz[3 * a];
        const std::size_t want = std::min(n, static_cast<std::size_t>(k) + 2);
        const std::size_t got = tree.knnSearch(q, want, found.data(), dist.data());
        std::vector<std::pair<double, std::size_t>> best;
        for (std::size_t r = 0; r < got; ++r) best.emplace_back(dist[r], found[r]);
        std::sort(best.begin(), best.end());
        // A tie at the k-th distance may reach beyond what was found: take every point that close.
        const double kth = best[std::min(got - 1, static_cast<std::size_t>(k))].first;
        if (got == want && best.back().first <= kth) {
            within.clear();
            tree.radiusSearch(q, kth * (1 + 1e-12) + 1e-300, within, nanoflann::SearchParams());
            best.clear();
            for (const auto& r : within) best.emplace_back(r.second, r.first);
            std::sort(best.begin(), best.end());
        }
        std::vector<int>& out = w.neighbours[static_cast<std::size_t>(candidates[a])];
        for (const auto& [d, b] : best) {
            if (b == a) continue;
            if (static_cast<int>(out.size()) == k) break;
            out.push_back(candidates[b]);
        }
    }
    return w;
}

std::vector<std::vector<int>> NeighboursAmong(const NeighbourRule& rule, const std::vector<int>& sample, int rows,
                                              const std::string& when) {
    if (rule.gal) {
        std::vector<char> in(static_cast<std::size_t>(rows), 0);
        for (int i : sample) in[static_cast<std::size_t>(i)] = 1;
        std::vector<std::vector<int>> out(static_cast<std::size_t>(rows));
        for (int i : sample)
            for (int j : rule.gal->neighbours[static_cast<std::size_t>(i)])
                if (in[static_cast<std::size_t>(j)]) out[static_cast<std::size_t>(i)].push_back(j);
        return out;
    }
    std::vector<int> located;
    for (int i : sample)
        if (HasGeoPosition(rule.points[static_cast<std::size_t>(i)])) located.push_back(i);
    if (static_cast<int>(located.size()) <= rule.nearest)
        throw RunError("--neighbours " + std::to_string(rule.nearest) + " is more than the " +
                       std::to_string(located.empty() ? 0 : located.size() - 1) +
                       " other places with a position " + when);
    return NearestNeighbours(rule.points, located, rule.nearest).neighbours;
}
