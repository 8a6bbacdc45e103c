#include "core/Selection.h"

#include <algorithm>
#include <fstream>
#include <unordered_map>

#include "data/DataSet.h"
#include "draw/RunError.h"

void Selection::Clear() {
    places_.clear();
    member_.clear();
}

void Selection::Rebuild() {
    std::sort(places_.begin(), places_.end());
    places_.erase(std::unique(places_.begin(), places_.end()), places_.end());
    places_.erase(std::remove_if(places_.begin(), places_.end(), [](int c) { return c <= 0; }), places_.end());
    member_.assign(places_.empty() ? 0 : static_cast<std::size_t>(places_.back()) + 1, 0);
    for (int c : places_) member_[static_cast<std::size_t>(c)] = 1;
}

void Selection::Set(const std::vector<int>& places) {
    places_ = places;
    Rebuild();
}

void Selection::Add(const std::vector<int>& places) {
    places_.insert(places_.end(), places.begin(), places.end());
    Rebuild();
}

void Selection::Remove(const std::vector<int>& places) {
    std::vector<int> gone = places;
    std::sort(gone.begin(), gone.end());
    places_.erase(std::remove_if(places_.begin(), places_.end(),
                                 [&](int c) { return std::binary_search(gone.begin(), gone.end(), c); }),
                  places_.end());
    Rebuild();
}

Selection Selection::Remapped(const DataSet& from, const DataSet& to) const {
    Selection out;
    out.markedPicture = markedPicture;
    if (places_.empty()) return out;
    std::unordered_map<std::string, int> index;
    for (int c = 1; c <= to.NumCities; ++c) index.emplace(to.CityName(c), c);
    std::vector<int> kept;
    for (int c : places_) {
        if (c > from.NumCities) continue;
        const auto it = index.find(from.CityName(c));
        if (it != index.end()) kept.push_back(it->second);
    }
    out.Set(kept);
    return out;
}

namespace {

std::string Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(first, last - first + 1));
}

// A CSV field as --places quotes it: "Chicago, IL" and doubled quotes inside.
std::string Unquoted(const std::string& s) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return s;
    std::string out;
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        out += s[i];
        if (s[i] == '"' && s[i + 1] == '"') ++i;
    }
    return out;
}

}  // namespace

std::vector<std::string> SplitNameList(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t semi = std::min(text.find(';', from), text.size());
        std::string name = Trimmed(text.substr(from, semi - from));
        if (!name.empty()) out.push_back(std::move(name));
        from = semi + 1;
    }
    return out;
}

std::vector<std::string> ReadNameFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw RunError("The selection file \"" + path + "\" cannot be read");
    std::vector<std::string> names;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        // A file saved by a Windows editor may start with a byte-order mark.
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        first = false;
        std::string name = Unquoted(Trimmed(line));
        if (!name.empty()) names.push_back(std::move(name));
    }
    if (names.empty()) throw RunError("The selection file \"" + path + "\" names no place");
    return names;
}

std::vector<int> PlacesNamed(const DataSet& d, const std::vector<std::string>& names) {
    std::unordered_map<std::string, int> index;
    for (int c = d.NumCities; c >= 1; --c) index[d.CityName(c)] = c;
    std::vector<int> out;
    for (const std::string& name : names) {
        const auto it = index.find(name);
        if (it == index.end()) throw RunError("No place is named \"" + name + "\"");
        if (std::find(out.begin(), out.end(), it->second) == out.end()) out.push_back(it->second);
    }
    return out;
}

std::vector<int> PlacesFromList(const DataSet& d, std::string_view list) {
    if (!list.empty() && list.front() == '@') return PlacesNamed(d, ReadNameFile(std::string(list.substr(1))));
    const std::vector<std::string> names = SplitNameList(list);
    if (names.empty()) throw RunError("The selection \"" + std::string(list) + "\" names no place");
    return PlacesNamed(d, names);
}

void WriteNameFile(const DataSet& d, const Selection& s, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    for (int c : s.Places())
        if (c <= d.NumCities) out << d.CityName(c) << '\n';
    out.flush();
    if (!out) throw RunError("Cannot write the selection file \"" + path + "\"");
}
