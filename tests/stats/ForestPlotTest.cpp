// By-Group's forest plot and heat map read back page by page against the fitted rows: each
// group once, zeta -/+ 1.96 SE (the title's 95 %) where the axis puts it, colours as the key says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "TestForm.h"
#include "core/ByGroupModule.h"
#include "stats/ByGroup.h"
#include "stats/ByGroupPlots.h"
#include "draw/Ticks.h"

namespace {

struct Row {
    std::string name;
    bool bold = false;
    float lineLeft = 0, lineRight = 0, point = 0, y = 0;
    Colour colour = -1;
};

}  // namespace

TEST(ForestPlot, EachGroupOnceWithItsIntervalInTheKeysColour) {
    auto f = UsPlacesForm();
    f->Click("ByGroup");
    f->Click("ForestPlot");
    const ByGroupState& s = f->Module<ByGroupModule>().table;
    const int t = f->data->NumDates;  // the last date is shown first
    std::set<std::string> fitted;  // the groups with a fit at the date
    for (const ByGroupRow& r : s.rows)
        if (r.date == t && std::isfinite(r.gi.zeta) && std::isfinite(r.gi.se)) fitted.insert(r.group);
    ASSERT_GE(fitted.size(), 40u);
    std::map<std::string, Row> rows;
    Colour contains = -1, excludes = -1;
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
            if (op.kind == OpKind::Circle) r.point = op.x1, r.y = op.y1;
        }
        std::vector<std::pair<float, float>> down;  // (y, x) of each point: zeta rises down the page
        for (const auto& [g, r] : onPage) {
            EXPECT_EQ(r.name, s.groups[static_cast<std::size_t>(g - 1)]);
            EXPECT_TRUE(rows.emplace(r.name, r).second) << r.name << " drawn twice";
            down.emplace_back(r.y, r.point);
        }
        std::sort(down.begin(), down.end());
        for (std::size_t k = 1; k < down.size(); ++k) EXPECT_GE(down[k].second, down[k - 1].second) << "row " << k;
        EXPECT_LT(down.front().second, down.back().second);
        EXPECT_EQ(f->panel.Visible("NextGroups"), pages > 1);
        if (page + 1 < pages) f->Click("NextGroups");
    }
    ASSERT_NE(contains, -1);
    ASSERT_NE(excludes, -1);
    EXPECT_NE(contains, excludes);
    EXPECT_EQ(rows.size(), fitted.size());
    for (const auto& name : fitted) EXPECT_EQ(rows.count(name), 1u) << name;
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

// A cell for each group and date with a zeta_GI, blank where none; its colour the key's swatch at
// the height the key's labels give that zeta; below 1 bluer than red, above 1 redder.
TEST(HeatMap, EachGroupAndDateWithAZetaIsACellInTheKeysColour) {
    auto f = UsPlacesForm();
    f->SetOption("replicates", "0");
    f->Click("ByGroup");  // draws the heat map
    const ByGroupState& s = f->Module<ByGroupModule>().table;
    ASSERT_GT(s.groups.size(), static_cast<std::size_t>(GroupsPerPage));  // two pages
    const auto channel = [](Colour c, int k) { return (c >> (8 * k)) & 255; };
    std::vector<std::string> names;
    std::set<std::pair<std::size_t, int>> cells;
    const std::size_t pages = (s.groups.size() + GroupsPerPage - 1) / GroupsPerPage;
    for (std::size_t page = 0; page < pages; ++page) {
        const auto& ops = f->Picture1.Ops();
        // The key: swatches (one-point lines) from top to bottom, and its numeric labels.
        std::vector<std::pair<float, Colour>> swatches;
        std::vector<std::pair<float, double>> labels;  // the middle of the text, its value
        float keyX = 0;
        for (const DrawOp& op : ops)
            if (op.tag.series == KeySeries && op.kind == OpKind::Line) swatches.emplace_back(op.y1, op.colour), keyX = op.x1;
        ASSERT_GE(swatches.size(), 10u);
        for (const DrawOp& op : ops)
            if (op.tag.series == KeySeries && op.kind == OpKind::Text && op.x1 > keyX && op.text.find('.') != std::string::npos)
                labels.emplace_back(op.y1 + LabelHeight(op.fontSize) / 2, std::stod(op.text.substr(op.text.find_first_of("0123456789"))));
        ASSERT_EQ(labels.size(), 3u);
        const auto& [yTop, vTop] = labels.front();
        const auto& [yBottom, vBottom] = labels.back();
        ASSERT_TRUE(vTop > 1 && vBottom < 1) << vTop << " " << vBottom;
        const auto keyColour = [&](double zeta) {
            const double y = yTop + (std::clamp(zeta, vBottom, vTop) - vTop) / (vBottom - vTop) * (yBottom - yTop);
            return std::min_element(swatches.begin(), swatches.end(), [&](const auto& a, const auto& b) {
                return std::fabs(a.first - y) < std::fabs(b.first - y);
            })->second;
        };
        for (const DrawOp& op : ops) {
            if (op.tag.series != GroupHeatCell) continue;
            const auto g = static_cast<std::size_t>(op.tag.point - 1);
            if (op.kind == OpKind::Text) {
                EXPECT_EQ(op.text, s.groups[g]);
                names.push_back(op.text);
                continue;
            }
            const ByGroupRow* r = s.Find(g, op.tag.date);
            ASSERT_TRUE(r && std::isfinite(r->gi.zeta)) << s.groups[g] << " " << op.tag.date << ": a cell without a zeta";
            EXPECT_TRUE(cells.emplace(g, op.tag.date).second) << s.groups[g] << " " << op.tag.date << " drawn twice";
            // Within a swatch's step of the key's colour at this zeta (40 swatches: at most 7 a channel).
            const Colour key = keyColour(r->gi.zeta);
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(channel(op.colour, k), channel(key, k), 7) << s.groups[g] << " " << r->gi.zeta;
            EXPECT_TRUE(std::fabs(r->gi.zeta - 1) <= 0.05 || (channel(op.colour, 2) > channel(op.colour, 0)) == (r->gi.zeta < 1))
                << s.groups[g] << " " << r->gi.zeta;
        }
        EXPECT_TRUE(f->panel.Visible("NextGroups"));
        f->Click("NextGroups");
    }
    EXPECT_EQ(names, s.groups);  // every group once, in name order, across the pages
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    std::set<std::pair<std::size_t, int>> expected;
    for (const ByGroupRow& r : s.rows)
        if (std::isfinite(r.gi.zeta))
            expected.emplace(static_cast<std::size_t>(std::find(s.groups.begin(), s.groups.end(), r.group) - s.groups.begin()), r.date);
    EXPECT_EQ(cells, expected);
    EXPECT_LT(cells.size(), s.groups.size() * s.years.size()) << "some cells are blank";
}
