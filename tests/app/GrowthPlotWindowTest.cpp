// Growth-Plot in the window: the wheel zooms the panel under the pointer (the ticks at a zoom
// are GrowthPlotZoomTest's); hover, brushing and a drag work at the zoom; a double-click restores.
#include "AppKit.h"

namespace {

QPointF Px(double x, double y) { return {x / 15, y / 15}; }

// Where the places are drawn, in order of position.
std::set<std::pair<float, float>> Positions(const Picture& p) {
    std::set<std::pair<float, float>> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.series == GrowthPlacePoint) out.emplace(op.x1, op.y1);
    return out;
}

std::vector<DrawOp> PlacesDrawn(const Picture& p) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.series == GrowthPlacePoint) out.push_back(op);
    return out;
}

}  // namespace

TEST(GrowthPlotWindow, WheelZoomsBothPanelsSizeAxisAndThePanelUnderThePointer) {
    ShownWindow t;
    MainWindow& w = t.w;
    w.sizeChooser()->choose(QSize(600, 600));
    w.form().SetOption("replicates", "20");
    w.runCommand("Growth");
    w.form().ChooseText("Dates", "1950");
    w.syncFromForm();
    w.runCommand("GrowthPlot");
    const Picture& p = w.form().Picture1;
    PictureView* view = w.pictureView();
    ASSERT_EQ(p.ZoomPanels.size(), 2u);
    const ViewRect top = p.ZoomPanels[0], bottom = p.ZoomPanels[1];
    const auto whole = Positions(p);
    const std::size_t wholePlaces = PlacesDrawn(p).size();
    ASSERT_GT(wholePlaces, 20u);

    // Over the mean panel: sizes zoom in both panels, growth in the mean panel alone.
    Wheel(view, Px(top.left + 0.4 * top.Width(), top.top + 0.6 * top.Height()), 5);
    ASSERT_TRUE(p.View.zoomed);
    const ViewRect shownTop = PanelShown(p.View, p.ZoomPanels, 0), shownBottom = PanelShown(p.View, p.ZoomPanels, 1);
    EXPECT_LT(shownTop.Height(), top.Height());
    EXPECT_EQ(shownBottom, (ViewRect{shownTop.left, bottom.top, shownTop.right, bottom.bottom}));
    EXPECT_LT(shownTop.Width(), top.Width());
    const std::vector<DrawOp> places = PlacesDrawn(p);
    ASSERT_FALSE(places.empty());
    EXPECT_LT(places.size(), wholePlaces) << "the picture is drawn anew at the zoom";

    // Hover names the place under the pointer at the zoom; a Shift-drag around it selects it.
    const DrawOp& one = places[places.size() / 2];
    EXPECT_TRUE(view->describeAt(Px(one.x1, one.y1)).contains(QString::fromStdString(w.form().data->CityName(one.tag.city))));
    const QPoint at = Px(one.x1, one.y1).toPoint();
    Drag(view, at - QPoint(3, 3), at + QPoint(3, 3), Qt::ShiftModifier);
    const auto selected = w.form().selection.Places();
    EXPECT_NE(std::find(selected.begin(), selected.end(), one.tag.city), selected.end());
    // A plain drag to the left shows sizes further right, in both panels, drawn anew.
    const auto zoomedAt = Positions(p);
    Drag(view, Px(top.left + 0.5 * top.Width(), top.top + 0.5 * top.Height()).toPoint(),
         Px(top.left + 0.3 * top.Width(), top.top + 0.5 * top.Height()).toPoint());
    EXPECT_GT(PanelShown(p.View, p.ZoomPanels, 0).left, shownTop.left);
    EXPECT_GT(PanelShown(p.View, p.ZoomPanels, 1).left, shownBottom.left);
    EXPECT_NE(Positions(p), zoomedAt);

    // Over the spread panel: its vertical range zooms; the mean panel's stays.
    const ViewRect meanBefore = PanelShown(p.View, p.ZoomPanels, 0);
    Wheel(view, Px(bottom.left + 0.5 * bottom.Width(), bottom.top + 0.5 * bottom.Height()), 3);
    EXPECT_LT(PanelShown(p.View, p.ZoomPanels, 1).Height(), bottom.Height());
    EXPECT_EQ(PanelShown(p.View, p.ZoomPanels, 0).top, meanBefore.top);
    EXPECT_EQ(PanelShown(p.View, p.ZoomPanels, 0).bottom, meanBefore.bottom);

    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, Px(top.left + 100, top.top + 100).toPoint());
    EXPECT_FALSE(p.View.zoomed);
    EXPECT_EQ(Positions(p), whole);
}
