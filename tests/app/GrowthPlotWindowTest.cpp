// Growth-Plot in the window: the wheel over the mean panel zooms the size axis of both panels
// and the mean panel's growth axis, which are ticked anew; the places left are those in the
// range shown; hover, brushing and a drag work at the zoom, and a double-click restores it.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TestForm.h"
#include "app/MainWindow.h"
#include "app/PictureSizeChooser.h"
#include "app/PictureView.h"

namespace {

void Wheel(QWidget* view, QPointF at, int notches) {
    QWheelEvent e(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &e);
}

void Drag(QWidget* w, QPoint a, QPoint b, Qt::KeyboardModifiers mods) {
    QTest::mousePress(w, Qt::LeftButton, mods, a);
    QTest::mouseMove(w, a + (b - a) / 4);
    QTest::mouseMove(w, (a + b) / 2);
    QTest::mouseMove(w, b);
    QTest::mouseRelease(w, Qt::LeftButton, mods, b);
}

QPointF Px(double x, double y) { return {x / 15, y / 15}; }

// The labels of the ticks under a panel (the size axis) and left of it (its vertical axis):
// a short tick line out of the panel's edge followed by its label.
std::pair<std::set<std::string>, std::set<std::string>> Labels(const Picture& p, const ViewRect& a) {
    std::set<std::string> x, y;
    const auto& ops = p.Ops();
    for (std::size_t i = 0; i + 1 < ops.size(); ++i) {
        const DrawOp& op = ops[i];
        if (op.kind != OpKind::Line || ops[i + 1].kind != OpKind::Text) continue;
        if (op.x1 == op.x2 && op.y1 == static_cast<float>(a.bottom) && op.y2 == op.y1 + 150) x.insert(ops[i + 1].text);
        if (op.y1 == op.y2 && op.x1 == static_cast<float>(a.left) && op.x2 == op.x1 - 150 && op.y1 >= a.top &&
            op.y1 <= a.bottom)
            y.insert(ops[i + 1].text);
    }
    return {x, y};
}

std::vector<DrawOp> PlacesDrawn(const Picture& p) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.series == GrowthPlacePoint) out.push_back(op);
    return out;
}

}  // namespace

TEST(GrowthPlotWindow, WheelZoomsBothPanelsSizeAxisAndThePanelUnderThePointer) {
    MainWindow w{std::make_unique<Form>(std::string(CITYSIZE_REAL_DATA))};
    w.setShowErrorDialogs(false);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.runCommand("ReadData");
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
    const auto wholeTop = Labels(p, top), wholeBottom = Labels(p, bottom);
    const std::size_t wholePlaces = PlacesDrawn(p).size();
    ASSERT_GT(wholePlaces, 20u);

    Wheel(view, Px(top.left + 0.4 * top.Width(), top.top + 0.6 * top.Height()), 5);
    ASSERT_TRUE(p.View.zoomed);
    const auto zTop = Labels(p, top), zBottom = Labels(p, bottom);
    EXPECT_NE(zTop.first, wholeTop.first) << "the size axis is ticked anew";
    EXPECT_EQ(zTop.first, zBottom.first) << "in both panels alike";
    EXPECT_NE(zTop.second, wholeTop.second) << "the mean panel's growth axis too";
    EXPECT_EQ(zBottom.second, wholeBottom.second) << "the spread panel's axis stays";
    const std::vector<DrawOp> places = PlacesDrawn(p);
    ASSERT_FALSE(places.empty());
    EXPECT_LT(places.size(), wholePlaces);
    for (const DrawOp& op : places)
        EXPECT_TRUE(top.Contains(op.x1, op.y1)) << op.x1 << ", " << op.y1;

    // Hover names the place under the pointer at the zoom.
    const DrawOp& one = places[places.size() / 2];
    EXPECT_TRUE(view->describeAt(Px(one.x1, one.y1)).contains(QString::fromStdString(w.form().data->CityName(one.tag.city))));
    // A Shift-drag around it selects it.
    const QPoint at = Px(one.x1, one.y1).toPoint();
    Drag(view, at - QPoint(3, 3), at + QPoint(3, 3), Qt::ShiftModifier);
    const auto selected = w.form().selection.Places();
    EXPECT_NE(std::find(selected.begin(), selected.end(), one.tag.city), selected.end());
    // A plain drag to the left shows sizes further right, in both panels.
    const double left = PanelShown(p.View, p.ZoomPanels, 1).left;
    Drag(view, Px(top.left + 0.5 * top.Width(), top.top + 0.5 * top.Height()).toPoint(),
         Px(top.left + 0.3 * top.Width(), top.top + 0.5 * top.Height()).toPoint(), Qt::NoModifier);
    EXPECT_GT(PanelShown(p.View, p.ZoomPanels, 1).left, left);
    EXPECT_NE(Labels(p, bottom).first, zBottom.first);

    // The wheel over the spread panel zooms its axis; the mean panel's stays as it is.
    const auto before = Labels(p, top).second;
    Wheel(view, Px(bottom.left + 0.5 * bottom.Width(), bottom.top + 0.5 * bottom.Height()), 3);
    EXPECT_EQ(Labels(p, top).second, before);
    EXPECT_NE(Labels(p, bottom).second, wholeBottom.second);

    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, Px(top.left + 100, top.top + 100).toPoint());
    EXPECT_FALSE(p.View.zoomed);
    EXPECT_EQ(Labels(p, top), wholeTop);
    EXPECT_EQ(Labels(p, bottom), wholeBottom);
    EXPECT_EQ(PlacesDrawn(p).size(), wholePlaces);
}
