// Pictures that draw their own axes, zoomed: the plot area shows the part of the data the
// zoom asks for, the axes tick anew for that part, and nothing drawn as data leaves the area.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "TestForm.h"
#include "core/Redraw.h"
#include "draw/Ticks.h"

namespace {

struct AxisTick {
    double value;     // on the axis's own scale (log10 of the label on a log axis)
    double position;  // twips along the axis
    std::string label;
};

// "250k" -> 250000, "1.5m" -> 1500000, "0.02" -> 0.02.
double LabelValue(const std::string& s) {
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (end && *end == 'k') v *= 1e3;
    if (end && *end == 'm') v *= 1e6;
    return v;
}

// Each tick is a short line crossing the axis followed at once by its label.
// A tick's shape: a short line out of the area from its bottom, left or right edge.
bool TickShaped(const DrawOp& op, const ViewRect& a) {
    if (op.kind != OpKind::Line) return false;
    if (op.x1 == op.x2 && std::fabs(op.y1 - a.bottom) < 0.5 && op.y2 > op.y1 && op.y2 <= a.bottom + 200) return true;
    if (op.y1 != op.y2) return false;
    return (std::fabs(op.x1 - a.left) < 0.5 && op.x2 < op.x1 && op.x2 >= a.left - 200) ||
           (std::fabs(op.x1 - a.right) < 0.5 && op.x2 > op.x1 && op.x2 <= a.right + 200);
}

void TicksOf(const Picture& p, bool xLog, bool yLog, std::vector<AxisTick>& xs, std::vector<AxisTick>& ys,
             std::vector<AxisTick>& rs, std::set<std::size_t>& tickOps) {
    const ViewRect& a = p.ZoomArea;
    const auto& ops = p.Ops();
    for (std::size_t i = 0; i + 1 < ops.size(); ++i) {
        const DrawOp& op = ops[i];
        if (op.kind != OpKind::Line || ops[i + 1].kind != OpKind::Text) continue;
        const std::string& label = ops[i + 1].text;
        if (op.x1 == op.x2 && std::fabs(op.y1 - a.bottom) < 0.5 && op.y2 > op.y1 && op.y2 <= a.bottom + 200) {
            const double v = LabelValue(label);
            xs.push_back({xLog ? std::log10(v) : v, op.x1, label});
        } else if (op.y1 == op.y2 && std::fabs(op.x1 - a.left) < 0.5 && op.x2 < op.x1 && op.x2 >= a.left - 200) {
            const double v = LabelValue(label);
            ys.push_back({yLog ? std::log10(v) : v, op.y1, label});
        } else if (op.y1 == op.y2 && std::fabs(op.x1 - a.right) < 0.5 && op.x2 > op.x1 && op.x2 <= a.right + 200) {
            rs.push_back({LabelValue(label), op.y1, label});
        } else {
            continue;
        }
        tickOps.insert(i);
        tickOps.insert(i + 1);
    }
}

// Twips per unit and the position of 0, from the first and last tick of an axis.
struct Map {
    double slope = 0, at0 = 0;
    explicit Map(const std::vector<AxisTick>& t) {
        slope = (t.back().position - t.front().position) / (t.back().value - t.front().value);
        at0 = t.front().position - slope * t.front().value;
    }
    double Value(double position) const { return (position - at0) / slope; }
};

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

std::set<std::string> Labels(const std::vector<AxisTick>& t) {
    std::set<std::string> s;
    for (const AxisTick& k : t) s.insert(k.label);
    return s;
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
        {"By-Group forest plot",
         [](Form& f) {
             f.SetOption("replicates", "0");
             f.Click("ByGroup");
             f.Click("ForestPlot");
         },
         "ForestPlot", false, false, false, true},
        {"Mobility", [](Form& f) { f.Click("Mobility"); }, "Mobility", false, false, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto f = c.allPlaces ? UsPlacesForm()
                             : FormWithRealData();
        c.draw(*f);
        Picture& p = f->Picture1;
        const ViewRect area = p.ZoomArea;
        ASSERT_FALSE(area.Empty());
        std::vector<AxisTick> wholeX, wholeY, wholeR;
        std::set<std::size_t> ignored;
        TicksOf(p, c.xLog, c.yLog, wholeX, wholeY, wholeR, ignored);
        ASSERT_GE(wholeX.size(), 2u);
        if (c.yTicks) {
            ASSERT_GE(wholeY.size(), 2u);
        } else {
            // No ticks on a named axis: the layout's own top and bottom stand for 1 and 0.
            wholeY = {{0, area.bottom, ""}, {1, area.top, ""}};
        }
        // The data-to-twips map of the whole picture, read off its own ticks.
        const Map mx(wholeX), my(wholeY);
        const Where whole = TaggedEnds(p);

        // Three times about a point off the centre: a third of each axis shows.
        ASSERT_TRUE(p.View.ZoomAbout(area, area.left + area.Width() * 0.4, area.top + area.Height() * 0.6, 3));
        const ViewRect shown = p.View.shown;
        ASSERT_TRUE(RedrawPicture(*f, c.command));
        EXPECT_EQ(p.ZoomArea, area);

        std::vector<AxisTick> xs, ys, rs;
        std::set<std::size_t> tickOps;
        TicksOf(p, c.xLog, c.yLog, xs, ys, rs, tickOps);
        ASSERT_GE(xs.size(), 2u);
        EXPECT_NE(Labels(xs), Labels(wholeX));
        if (c.yTicks) {
            ASSERT_GE(ys.size(), 2u);
            EXPECT_NE(Labels(ys), Labels(wholeY));
        } else {
            EXPECT_TRUE(ys.empty());
        }
        // Each label lies in the range shown, its tick where the zoom puts that value.
        const double x0 = mx.Value(shown.left), x1 = mx.Value(shown.right);
        const double y0 = my.Value(shown.bottom), y1 = my.Value(shown.top);
        const double tolX = 1e-3 * (x1 - x0), tolY = 1e-3 * (y1 - y0);
        for (const AxisTick& k : xs) {
            EXPECT_GE(k.value, x0 - tolX) << k.label;
            EXPECT_LE(k.value, x1 + tolX) << k.label;
            EXPECT_NEAR(k.position, area.left + (k.value - x0) / (x1 - x0) * area.Width(), 2) << k.label;
        }
        for (const AxisTick& k : ys) {
            EXPECT_GE(k.value, y0 - tolY) << k.label;
            EXPECT_LE(k.value, y1 + tolY) << k.label;
            EXPECT_NEAR(k.position, area.bottom - (k.value - y0) / (y1 - y0) * area.Height(), 2) << k.label;
        }

        // A second value axis on the right re-ticks the same way.
        ASSERT_EQ(wholeR.size() >= 2, c.rightAxis);
        if (c.rightAxis) {
            const Map mr(wholeR);
            const double r0 = mr.Value(shown.bottom), r1 = mr.Value(shown.top);
            ASSERT_GE(rs.size(), 2u);
            EXPECT_NE(Labels(rs), Labels(wholeR));
            for (const AxisTick& k : rs) {
                EXPECT_GE(k.value, r0 - 1e-3 * (r1 - r0)) << k.label;
                EXPECT_LE(k.value, r1 + 1e-3 * (r1 - r0)) << k.label;
                EXPECT_NEAR(k.position, area.bottom - (k.value - r0) / (r1 - r0) * area.Height(), 2) << k.label;
            }
        }

        // Every line and mark other than the ticks and the key lies in the area (discs may be
        // cut by its edge); some data are still drawn.
        int data = 0;
        const auto& ops = p.Ops();
        for (std::size_t i = 0; i < ops.size(); ++i) {
            const DrawOp& op = ops[i];
            // Ticks, and the corner stubs of the axes, reach out of the area.
            if (op.tag.series == KeySeries || tickOps.count(i) || TickShaped(op, area)) continue;
            const float e = 0.5f;
            if (op.kind == OpKind::Text) {
                // A label of a data row (a forest plot's names) only beside a row shown.
                if (op.tag.series != 0) {
                    const double mid = op.y1 + LabelHeight(op.fontSize) / 2;
                    EXPECT_TRUE(mid >= area.top - e && mid <= area.bottom + e) << op.text;
                }
                continue;
            }
            if (op.kind == OpKind::Circle) {
                EXPECT_TRUE(op.x1 + op.radius >= area.left && op.x1 - op.radius <= area.right &&
                            op.y1 + op.radius >= area.top && op.y1 - op.radius <= area.bottom)
                    << "circle at " << op.x1 << ", " << op.y1;
            } else {
                EXPECT_TRUE(op.x1 >= area.left - e && op.x1 <= area.right + e && op.x2 >= area.left - e &&
                            op.x2 <= area.right + e && op.y1 >= area.top - e && op.y1 <= area.bottom + e &&
                            op.y2 >= area.top - e && op.y2 <= area.bottom + e)
                    << "line " << op.x1 << "," << op.y1 << " - " << op.x2 << "," << op.y2;
            }
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
