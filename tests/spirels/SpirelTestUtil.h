#pragma once
// Shared by the spirel tests: five hand-ranked cities, dots and where a radius lands on a face of 4 dates.
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "TestForm.h"
#include "draw/Picture.h"

// Five cities, four dates (1790..1820: three steps of 2 pi / 3, so date 4 is back on the
// spoke of date 1). Ranks by hand (absent cities take the last ranks, in city order):
//   date 1: A 1, D 2, E 3, B 4, C 5 (absent)      NumPresent 4
//   date 2: A 1, E 2, D 3, B 4, C 5 (both absent) NumPresent 3
//   date 3: A 1, B 2, C 3, E 4, D 5 (absent)      NumPresent 4
//   date 4: A 1, D 2, B 3, E 4, C 5 (absent)      NumPresent 4
inline std::unique_ptr<Form> FiveCities() {
    return FormWithData("\"A\",100,100,100,100\n\"B\",50,0,90,30\n\"C\",0,0,60,0\n\"D\",80,90,0,50\n\"E\",70,95,40,5\n", 5, 4);
}

inline std::vector<DrawOp> OpsOfCity(const Picture& p, int city) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city == city) out.push_back(op);
    return out;
}

inline bool IsDot(const DrawOp& op) { return op.x1 == op.x2 && op.y1 == op.y2; }

// Where radius r at date t of 4 lands (clockwise from straight up, centre 4500, 4500).
inline void ExpectAt(float x, float y, double r, int t) {
    const double a = 6.283185307179586 * (t - 1) / 3;
    EXPECT_NEAR(x, 4500 + r * std::sin(a), 0.05) << "r " << r << " date " << t;
    EXPECT_NEAR(y, 4500 - r * std::cos(a), 0.05) << "r " << r << " date " << t;
}
