// By-Group's forest plot read back from its picture, page by page: every group with a fit at
// the date is one row, named once; its point and interval ends lie where the axis puts zeta
// and zeta -/+ 1.96 SE (the 95 % the title states); an interval that leaves out 1 is drawn in
// the colour the key gives "excludes 1", with its name in bold, and every other one in the
// colour of "contains 1".
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "TestForm.h"
#include "core/ByGroupModule.h"
#include "stats/ByGroup.h"
#include "stats/ByGroupPlots.h"

namespace {

struct Row {
    std::string name;
    bool bold = false;
    float lineLeft = 0, lineRight = 0, point = 0;
    Colour colour = -1;
};

}  // namespace

TEST(ForestPlot, EachGroupOnceWithItsIntervalInTheKeysColour) {
    auto f = FormReading(std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv");
    f->Click("ByGroup");
    f->Click("ForestPlot");
    const ByGroupState& s = f->Module<ByGroupModule>().table;
    const int t = f->data->NumDates;  // the last date is shown first
    ASSERT_TRUE(f->Picture1.Ops().size() > 10);
    // The groups with a fit at the date, from the fitted rows themselves.
    std::set<std::string> fitted;
    for (const ByGroupRow& r : s.rows)
        if (r.date == t && std::isfinite(r.gi.zeta) && std::isfinite(r.gi.se)) fitted.insert(r.group);
    ASSERT_GE(fitted.size(), 40u);
    std::map<std::string, Row> rows;
    Colour contains = -1, excludes = -1;
    // GroupsPerPage rows a page; the button turns to the next page, and from the last to the first.
    const std::size_t pages = (fitted.size() + GroupsPerPage - 1) / GroupsPerPage;
    for (std::size_t page = 0; page < pages; ++page) {
        std::map<int, Row> onPage;
        const auto& ops = f->Picture1.Ops();
        for (std::size_t k = 0; k < ops.size(); ++k) {
            const DrawOp& op = ops[k];
            if (op.tag.series == KeySeries && op.kind == OpKind::Line && k + 1 < ops.size() && ops[k + 1].kind == OpKind::Text) {
                if (ops[k + 1].text == "interval contains 1") contains = op.colour;
                if (ops[k + 1].text.rfind("interval excludes 1", 0) == 0) excludes = op.colour;
            }
            if (op.tag.series != GroupForestRow) continue;
            Row& r = onPage[op.tag.point];
            if (op.kind == OpKind::Text) r.name = op.text, r.bold = op.bold;
            if (op.kind == OpKind::Line) r.lineLeft = op.x1, r.lineRight = op.x2, r.colour = op.colour;
            if (op.kind == OpKind::Circle) r.point = op.x1;
        }
        for (const auto& [g, r] : onPage) {
            EXPECT_EQ(r.name, s.groups[static_cast<std::size_t>(g - 1)]);
            EXPECT_TRUE(rows.emplace(r.name, r).second) << r.name << " drawn twice";
        }
        EXPECT_EQ(f->panel.Visible("NextGroups"), pages > 1);
        if (page + 1 < pages) f->Click("NextGroups");
    }
    ASSERT_NE(contains, -1);
    ASSERT_NE(excludes, -1);
    EXPECT_NE(contains, excludes);
    std::set<std::string> drawn;
    for (const auto& [name, r] : rows) drawn.insert(name);
    EXPECT_EQ(drawn, fitted);
    // The axis, from the two rows farthest apart: x = a + b zeta.
    const ByGroupRow *lo = nullptr, *hi = nullptr;
    for (const ByGroupRow& r : s.rows)
        if (r.date == t && fitted.count(r.group)) {
            if (!lo || r.gi.zeta < lo->gi.zeta) lo = &r;
            if (!hi || r.gi.zeta > hi->gi.zeta) hi = &r;
        }
    const double b = (rows[hi->group].point - rows[lo->group].point) / (hi->gi.zeta - lo->gi.zeta);
    const double a = rows[lo->group].point - b * lo->gi.zeta;
    ASSERT_GT(b, 0);
    for (const ByGroupRow& r : s.rows) {
        if (r.date != t || !fitted.count(r.group)) continue;
        SCOPED_TRACE(r.group);
        const Row& d = rows[r.group];
        EXPECT_NEAR(d.point, a + b * r.gi.zeta, 1.0);
        EXPECT_NEAR(d.lineLeft, a + b * (r.gi.zeta - 1.959964 * r.gi.se), 1.0);
        EXPECT_NEAR(d.lineRight, a + b * (r.gi.zeta + 1.959964 * r.gi.se), 1.0);
        // Whether 1 lies inside, judged on the picture: left and right of the line at zeta = 1.
        const bool leavesOutOne = d.lineLeft > a + b || d.lineRight < a + b;
        EXPECT_EQ(d.colour, leavesOutOne ? excludes : contains);
        EXPECT_EQ(d.bold, leavesOutOne);
    }
}
