#pragma once
// Small tables for the information statistics, with the helpers their tests share.
#include <string>
#include <vector>

#include "TestForm.h"

// Four cities, three dates (1790, 1800, 1810). 0 means absent.
//            1790 1800 1810
//   A          50   40   40
//   B          30    -   30     absent in 1800
//   C          20   20   20
//   D           -   50   10     a newcomer in 1800
// Ranks:  1790 A1 B2 C3 (D absent);  1800 D1 A2 C3 (B absent);  1810 A1 B2 C3 D4.
// Shares: 1790 .5 .3 .2;  1800 5/11 4/11 2/11;  1810 .4 .3 .2 .1.  Totals 100, 110, 100.
inline const char* ShiftsCsv = "\"A\",50,40,40\n\"B\",30,0,30\n\"C\",20,20,20\n\"D\",0,50,10\n";

inline std::unique_ptr<Form> ShiftsForm() { return FormWithData(ShiftsCsv, 4, 3); }

// Four equal cities, doubled from 1790 to 1800: equal shares that do not change.
inline const char* EqualCsv = "\"A\",100,200\n\"B\",100,200\n\"C\",100,200\n\"D\",100,200\n";

// The 14-column print zones of a line, each with its surrounding blanks removed.
inline std::vector<std::string> ZoneFields(const std::string& line) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < line.size(); at += 14) {
        std::string z = line.substr(at, 14);
        std::size_t a = z.find_first_not_of(' ');
        std::size_t b = z.find_last_not_of(' ');
        out.push_back(a == std::string::npos ? "" : z.substr(a, b - a + 1));
    }
    return out;
}
