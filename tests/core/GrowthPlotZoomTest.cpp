// Growth-Plot zoomed: its two panels share the size axis, which zooms in both; the vertical
// axis of the panel under the pointer zooms, the other's stays. Each axis is ticked anew for
// the range shown, the places outside the mean panel's range are left out, the rest stand where
// the zoom takes them, and the curves stay inside their panels.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "AxisTicks.h"
#include "TestForm.h"
#include "core/Redraw.h"
#include "draw/Colours.h"

namespace {

// The ticks of one panel: a short line out of its bottom (the size axis, valued in ln
// population) or its left edge, followed at once by its label.
struct PanelTicks {
    std::vector<DrawnTick> x, y;
};
PanelTicks TicksOf(const Picture& p, const ViewRect& a) {
    PanelTicks t;
    const auto& ops = p.Ops();
    for (std::size_t i = 0; i + 1 < ops.size(); ++i) {
        const DrawOp& op = ops[i];
        if (op.kind != OpKind::Line || ops[i + 1].kind != OpKind::Text) continue;
        const std::string& label = ops[i + 1].text;
        if (op.x1 == op.x2 && std::fabs(op.y1 - a.bottom) < 0.5 && op.y2 == op.y1 + 150)
            t.x.push_back({std::log(LabelValue(label)), op.x1, label});
        else if (op.y1 == op.y2 && std::fabs(op.x1 - a.left) < 0.5 && op.x2 == op.x1 - 150 && op.y1 >= a.top - 0.5 &&
                 op.y1 <= a.bottom + 0.5)
            t.y.push_back({LabelValue(label), op.y1, label});
    }
    return t;
}

// The places drawn: (city, date) -> centre.
std::map<std::pair<int, int>, std::pair<double, double>> Places(const Picture& p) {
    std::map<std::pair<int, int>, std::pair<double, double>> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.series == GrowthPlacePoint) out[{op.tag.city, op.tag.date}] = {op.x1, op.y1};
    return out;
}

std::unique_ptr<Form> GrowthPlotOf1950() {
    auto f = FormWithRealData();
    f->SetOption("replicates", "20");
    f->Click("Growth");
    f->ChooseText("Dates", "1950");
    f->Click("GrowthPlot");
    return f;
}

}  // namespace

TEST(GrowthPlotZoom, TheSizeAxisZoomsInBothPanelsAndTheVerticalOneInThePanelUnderThePointer) {
    auto f = GrowthPlotOf1950();
    Picture& p = f->Picture1;
    ASSERT_EQ(p.ZoomPanels.size(), 2u);
    const ViewRect top = p.ZoomPanels[0], bottom = p.ZoomPanels[1];
    EXPECT_EQ(p.ZoomArea, (ViewRect{top.left, top.top, top.right, bottom.bottom}));
    const PanelTicks wholeTop = TicksOf(p, top), wholeBottom = TicksOf(p, bottom);
    ASSERT_TRUE(wholeTop.x.size() >= 2 && wholeTop.y.size() >= 2 && wholeBottom.y.size() >= 2);
    EXPECT_EQ(Labels(wholeTop.x), Labels(wholeBottom.x));
    // The data-to-twips maps of the whole picture, read off its own ticks.
    const Scale sx(wholeTop.x), topY(wholeTop.y), bottomY(wholeBottom.y);
    const auto wholePlaces = Places(p);
    ASSERT_GT(wholePlaces.size(), 20u);
    const std::vector<DrawOp> wholeOps = p.Ops();

    // Three times about a point of the mean panel, left of the middle and low.
    ASSERT_TRUE(ZoomPanelsAbout(p.View, p.ZoomPanels, top.left + 0.4 * top.Width(), top.top + 0.7 * top.Height(), 3));
    ASSERT_TRUE(RedrawPicture(*f, "GrowthPlot"));
    // Each tick where its value lies in the range shown: the size axis in both panels, the mean
    // panel's growth axis zoomed, the spread panel's whole (the ranges shown: PanelZoomTest;
    // which labels change: GrowthPlotWindow.WheelZooms...).
    const ViewRect shownTop = PanelShown(p.View, p.ZoomPanels, 0);
    const PanelTicks zTop = TicksOf(p, top), zBottom = TicksOf(p, bottom);
    const double x0 = sx.Value(shownTop.left), x1 = sx.Value(shownTop.right);
    ExpectTicksIn(zTop.x, x0, x1, top.left, top.right);
    ExpectTicksIn(zBottom.x, x0, x1, bottom.left, bottom.right);
    ExpectTicksIn(zTop.y, topY.Value(shownTop.bottom), topY.Value(shownTop.top), top.bottom, top.top);
    ExpectTicksIn(zBottom.y, bottomY.Value(bottom.bottom), bottomY.Value(bottom.top), bottom.bottom, bottom.top);

    // The places drawn are those whose whole-picture place lies in the part shown, each moved
    // where the zoom takes it (places within a twip of the edge may go either way).
    const auto zoomed = Places(p);
    for (const auto& [key, at] : wholePlaces) {
        const double x = top.left + (at.first - shownTop.left) * 3, y = top.top + (at.second - shownTop.top) * 3;
        const bool inside = x > top.left + 1 && x < top.right - 1 && y > top.top + 1 && y < top.bottom - 1;
        const bool outside = x < top.left - 1 || x > top.right + 1 || y < top.top - 1 || y > top.bottom + 1;
        const auto it = zoomed.find(key);
        if (inside) {
            ASSERT_NE(it, zoomed.end()) << key.first;
            EXPECT_NEAR(it->second.first, x, 0.5);
            EXPECT_NEAR(it->second.second, y, 0.5);
        } else if (outside) {
            EXPECT_EQ(it, zoomed.end()) << key.first;
        }
    }
    // The curves and bands keep to their panels.
    for (const DrawOp& op : p.Ops()) {
        if (op.kind != OpKind::Line || op.tag.series == KeySeries) continue;
        const bool mean = op.colour == SeriesBlue || op.colour == BandBlue;
        const bool spread = op.colour == SeriesOrange || op.colour == BandOrange;
        if (!mean && !spread) continue;
        const ViewRect& a = mean ? top : bottom;
        for (auto [x, y] : {std::pair{op.x1, op.y1}, std::pair{op.x2, op.y2}})
            EXPECT_TRUE(x >= a.left - 0.5 && x <= a.right + 0.5 && y >= a.top - 0.5 && y <= a.bottom + 0.5)
                << (mean ? "mean " : "spread ") << x << ", " << y;
    }

    // Then about a point of the spread panel: its axis ticked for the range shown (which
    // labels change in which panel: GrowthPlotWindow.WheelZooms...).
    ASSERT_TRUE(ZoomPanelsAbout(p.View, p.ZoomPanels, bottom.left + 0.5 * bottom.Width(), bottom.top + 0.5 * bottom.Height(), 2));
    ASSERT_TRUE(RedrawPicture(*f, "GrowthPlot"));
    const ViewRect shownBottom = PanelShown(p.View, p.ZoomPanels, 1);
    ExpectTicksIn(TicksOf(p, bottom).y, bottomY.Value(shownBottom.bottom), bottomY.Value(shownBottom.top), bottom.bottom,
                  bottom.top);

    // Zoomed out again over each panel, the picture is drawn exactly as before.
    ASSERT_TRUE(ZoomPanelsAbout(p.View, p.ZoomPanels, top.left + 10, top.top + 10, 1e-3));
    EXPECT_TRUE(p.View.zoomed) << "the spread panel is still zoomed upright";
    ASSERT_TRUE(ZoomPanelsAbout(p.View, p.ZoomPanels, bottom.left + 10, bottom.top + 10, 1e-3));
    EXPECT_FALSE(p.View.zoomed);
    ASSERT_TRUE(RedrawPicture(*f, "GrowthPlot"));
    ASSERT_EQ(p.Ops().size(), wholeOps.size());
    for (std::size_t i = 0; i < wholeOps.size(); ++i) {
        const DrawOp &a = p.Ops()[i], &b = wholeOps[i];
        EXPECT_TRUE(a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.text == b.text && a.tag == b.tag) << i;
    }
}
