#pragma once
// PySAL's example tables (tests/data/pysal, BSD licence in LICENSE there), read plainly so
// that the tests compare against the published values on exactly the published inputs.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "stats/Markov.h"

inline std::vector<std::vector<std::string>> PysalCsv(const std::string& name, int skipLines) {
    std::ifstream in(std::string(CITYSIZE_TEST_DATA) + "/pysal/" + name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    for (int k = 0; k < skipLines; ++k) std::getline(in, line);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> cells;
        std::stringstream s(line);
        for (std::string c; std::getline(s, c, ',');) cells.push_back(c);
        rows.push_back(cells);
    }
    return rows;
}

// usjoin.csv: per capita incomes of the 48 states, 1929-2009 (columns 2.. are the years).
inline SizePanel UsJoin() {
    const auto rows = PysalCsv("usjoin.csv", 1);
    SizePanel p;
    p.places = static_cast<int>(rows.size());
    p.dates = static_cast<int>(rows.front().size()) - 2;
    for (int y = 1929; y < 1929 + p.dates; ++y) p.years.push_back(y);
    p.value.resize(static_cast<std::size_t>(p.places) * p.dates);
    for (int i = 0; i < p.places; ++i)
        for (int t = 0; t < p.dates; ++t) p.At(i, t) = std::stod(rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(t + 2)]);
    return p;
}
