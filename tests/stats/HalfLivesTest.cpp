#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestForm.h"
#include "core/Commands.h"
#include "stats/HalfLives.h"

namespace {

// Four cities, three dates; 0 marks an absent city.
//   1790: A 50, B 40            -> top list {A, B}
//   1800: B 70, A 60, C 30      -> top list {A, B, C}
//   1810: C 90, B 80, D 20      -> top list {B, C, D}
// Absent cities are ranked below the present ones (with the placeholder 1.0) and must not
// count: with them every overlap would be 4.
const char* const FourCities =
    "\"A\",50,60,0\n"
    "\"B\",40,70,80\n"
    "\"C\",0,30,90\n"
    "\"D\",0,0,20\n";

// The line ops of the curve of date t, in drawing order (the first is the start mark).
std::vector<DrawOp> CurveOps(const Form& f, int t) {
    std::vector<DrawOp> ops;
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.kind == OpKind::Line && op.tag.date == t) ops.push_back(op);
    return ops;
}

bool HasText(const Form& f, const std::string& text) {
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.kind == OpKind::Text && op.text == text) return true;
    return false;
}

}  // namespace

TEST(HalfLives, OneCurvePerDatePeakingAtItsOwnDate) {
    auto f = FormWithData(FourCities, 4, 3);
    f->Click("HalfLives");
    EXPECT_TRUE(HasText(*f, "No of Ranks in Top 25"));
    EXPECT_TRUE(HasText(*f, "Time"));
    for (int t = 1; t <= 3; ++t) {
        std::vector<DrawOp> ops = CurveOps(*f, t);
        ASSERT_EQ(ops.size(), 3u) << "date " << t;  // the mark and two segments
        // Vertex s of the curve: the mark for s = 1, the end of segment s - 1 after that.
        auto vertexY = [&](int s) { return s == 1 ? ops[0].y1 : ops[static_cast<std::size_t>(s - 1)].y2; };
        for (int s = 1; s <= 3; ++s) EXPECT_LE(vertexY(t), vertexY(s)) << "curve " << t << " at " << s;
    }
    // x runs from the left margin (first date) to the right end of the axis (last date).
    std::vector<DrawOp> ops = CurveOps(*f, 2);
    EXPECT_FLOAT_EQ(ops[0].x1, 1200);
    EXPECT_FLOAT_EQ(ops[2].x2, 9000 - 1200);
    EXPECT_EQ(f->Picture1.DrawWidth, 1);
}
