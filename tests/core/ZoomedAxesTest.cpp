// Pictures that draw their own axes, zoomed: the plot area shows the part of the data the
// zoom asks for, the axes tick anew for that part, and nothing drawn as data leaves the area.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "AxisTicks.h"
#include "TestForm.h"
#include "core/Redraw.h"
#include "draw/Ticks.h"

namespace {

// A tick: a short line out of the area from its bottom (x), left (y) or right (r) edge; 0 if none.
char TickSide(const DrawOp& op, const ViewRect& a) {
    if (op.kind != OpKind::Line) return 0;
    if (op.x1 == op.x2 && std::fabs(op.y1 - a.bottom) < 0.5 && op.y2 > op.y1 && op.y2 <= a.bottom + 200) return 'x';
    if (op.y1 != op.y2) return 0;
    if (std::fabs(op.x1 - a.left) < 0.5 && op.x2 < op.x1 && op.x2 >= a.left - 200) return 'y';
    return std::fabs(op.x1 - a.right) < 0.5 && op.x2 > op.x1 && op.x2 <= a.right + 200 ? 'r' : 0;
}

// Each tick followed at once by its label; the ops of both go into tickOps.
void TicksOf(const Picture& p, bool xLog, bool yLog, std::vector<DrawnTick>& xs, std::vector<DrawnTick>& ys, std::vector<DrawnTick>& rs,
             std::set<std::size_t>& tickOps) {
    const auto& ops = p.Ops();
    for (std::size_t i = 0; i + 1 < ops.size(); ++i) {
        const char side = TickSide(ops[i], p.ZoomArea);
        if (!side || ops[i + 1].kind != OpKind::Text) continue;
        const std::string& label = ops[i + 1].text;
        const double v = LabelValue(label);
        if (side == 'x') xs.push_back({xLog ? std::log10(v) : v, ops[i].x1, label});
        if (side == 'y') ys.push_back({yLog ? std::log10(v) : v, ops[i].y1, label});
        if (side == 'r') rs.push_back({v, ops[i].y1, label});
        tickOps.insert(i);
        tickOps.insert(i + 1);
    }
}

// Where each tagged mark or line end of a picture lies (a circle's centre, a line's end).
using Where = std::map<std::tuple<int, int, int, int, int, Colour>, std::pair<double, double>>;
Where TaggedEnds(const Picture& p) {
    Where w;
    for (const DrawOp& op : p.Ops()) {
        if (op.kind == OpKind::Text || op.tag.series == 0 || op.tag.series == KeySeries) continue;
        const auto key = std::make_tuple(static_cast<int>(op.kind), op.tag.city, static_cast<int>(op.tag.date),
                                         static_cast<int>(op.tag.series), op.tag.point, op.colour);
        const bool circle = op.kind == OpKind::Circle;
        w.emplace(key, std::make_pair(circle ? op.x1 : op.x2, circle ? op.y1 : op.y2));
    }
    return w;
}

}  // namespace

TEST(ZoomedAxes, TicksAreChosenForTheRangeShownAndDataStayInTheArea) {
    struct Case {
        const char* name;
        std::function<void(Form&)> draw;
        const char* command;  // what redraws it
        bool xLog, yLog;
        bool yTicks = true;  // a forest plot's rows are named, not ticked
        bool allPlaces = false;
        bool rightAxis = false;
    };
    auto tailFit = [](Form& f) {
        f.SetOption("replicates", "0");
        f.Click("TailFit");
        f.ChooseText("Dates", "2000");
    };
    const Case cases[] = {
        {"Growth betas", [](Form& f) { f.Click("Growth"); }, "Growth", false, false},
        {"Tail-Plot", [&](Form& f) { tailFit(f); f.Click("TailPlot"); }, "TailPlot", true, true},
        {"Hill-Plot", [&](Form& f) { tailFit(f); f.Click("HillPlot"); }, "HillPlot", false, false},
        {"By-Group forest plot", [](Form& f) { f.SetOption("replicates", "0"); f.Click("ByGroup"); f.Click("ForestPlot"); },
         "ForestPlot", false, false, false, true},
        {"Mobility", [](Form& f) { f.Click("Mobility"); }, "Mobility", false, false, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto f = c.allPlaces ? UsPlacesForm() : FormWithRealData();
        c.draw(*f);
        Picture& p = f->Picture1;
        const ViewRect area = p.ZoomArea;
        ASSERT_FALSE(area.Empty());
        std::vector<DrawnTick> wholeX, wholeY, wholeR, xs, ys, rs;
        std::set<std::size_t> ignored, tickOps;
        TicksOf(p, c.xLog, c.yLog, wholeX, wholeY, wholeR, ignored);
        ASSERT_GE(wholeX.size(), 2u);
        ASSERT_EQ(wholeY.size() >= 2, c.yTicks);
        ASSERT_EQ(wholeR.size() >= 2, c.rightAxis);
        const Where whole = TaggedEnds(p);

        // Three times about a point off the centre: a third of each axis shows.
        ASSERT_TRUE(p.View.ZoomAbout(area, area.left + area.Width() * 0.4, area.top + area.Height() * 0.6, 3));
        const ViewRect shown = p.View.shown;
        ASSERT_TRUE(RedrawPicture(*f, c.command));
        EXPECT_EQ(p.ZoomArea, area);

        TicksOf(p, c.xLog, c.yLog, xs, ys, rs, tickOps);
        // New labels, each in the range shown (read off the whole picture's own ticks), its tick
        // where the zoom puts that value; a second value axis on the right re-ticks the same way.
        EXPECT_NE(Labels(xs), Labels(wholeX));
        ExpectTicksIn(xs, Scale(wholeX).Value(shown.left), Scale(wholeX).Value(shown.right), area.left, area.right);
        for (const auto& [whole, now, on] : {std::tuple{&wholeY, &ys, c.yTicks}, std::tuple{&wholeR, &rs, c.rightAxis}}) {
            if (!on) {
                EXPECT_TRUE(now->empty());  // a forest plot's named rows carry no ticks
                continue;
            }
            EXPECT_NE(Labels(*now), Labels(*whole));
            ExpectTicksIn(*now, Scale(*whole).Value(shown.bottom), Scale(*whole).Value(shown.top), area.bottom, area.top);
        }

        // Every line and mark other than the ticks and the key lies in the area (discs may be
        // cut by its edge); some data are still drawn.
        int data = 0;
        const auto& ops = p.Ops();
        for (std::size_t i = 0; i < ops.size(); ++i) {
            const DrawOp& op = ops[i];
            // Ticks, and the corner stubs of the axes, reach out of the area.
            if (op.tag.series == KeySeries || tickOps.count(i) || TickSide(op, area)) continue;
            const float e = 0.5f;
            const auto in = [&](double x, double y, double r) { return x + r >= area.left - e && x - r <= area.right + e && y + r >= area.top - e && y - r <= area.bottom + e; };
            if (op.kind == OpKind::Text) {
                // A label of a data row (a forest plot's names) only beside a row shown.
                EXPECT_TRUE(op.tag.series == 0 || in(area.left, op.y1 + LabelHeight(op.fontSize) / 2, 0)) << op.text;
                continue;
            }
            EXPECT_TRUE(op.kind == OpKind::Circle ? in(op.x1, op.y1, op.radius) : in(op.x1, op.y1, 0) && in(op.x2, op.y2, 0))
                << op.x1 << "," << op.y1 << " - " << op.x2 << "," << op.y2 << " radius " << op.radius;
            if (op.tag.series != 0) ++data;
        }
        EXPECT_GT(data, 0);
        // Data are moved by the zoom, not drawn where they were: each tagged mark or line end
        // that the area's edge did not cut lies where the zoom takes its unzoomed place.
        int moved = 0;
        for (const auto& [key, at] : TaggedEnds(p)) {
            const auto it = whole.find(key);
            ASSERT_NE(it, whole.end());
            const auto& [x, y] = at;
            if (x < area.left + 1 || x > area.right - 1 || y < area.top + 1 || y > area.bottom - 1) continue;
            EXPECT_NEAR(x, p.View.ToShownX(area, it->second.first), 1);
            EXPECT_NEAR(y, p.View.ToShownY(area, it->second.second), 1);
            ++moved;
        }
        EXPECT_GT(moved, 0);
    }
}
