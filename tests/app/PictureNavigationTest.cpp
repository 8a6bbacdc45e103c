// The picture in the window: laid out for the room or the size chosen, zoomed by the wheel,
// panned by a drag, restored by Home and a double-click; the zoomed map's discs and hover.
#include "AppKit.h"
#include "app/PictureNavigation.h"
#include "map/Map.h"

namespace {

const std::string Five = CITYSIZE_TEST_DATA "/map/five.csv";

// The y-axis labels drawn (left of the plot area, 9 pt) and where their middles stand.
std::vector<std::pair<std::string, double>> YLabels(const Picture& p) {
    std::vector<std::pair<std::string, double>> out;
    for (const DrawOp& op : p.Ops())
        if (op.kind == OpKind::Text && op.fontSize == 9 && op.x1 < p.ZoomArea.left && op.y1 > p.ZoomArea.top - 100 &&
            op.y1 < p.ZoomArea.bottom && op.text.find_first_not_of("0123456789") == std::string::npos)
            out.emplace_back(op.text, op.y1 + std::round(9 * 20 * 1.15) / 2);
    return out;
}

struct Window : ShownWindow {
    using ShownWindow::ShownWindow;
    const Picture& pic() { return w.form().Picture1; }
};

}  // namespace

// Fit window (the default) gives the picture the room the window has, anew after a resize;
// a size chosen lays it out at that size, and Save writes the size shown.
TEST(PictureNavigation, ThePictureIsLaidOutForTheRoomAndTheSizeChosen) {
    Window t;
    t.w.runCommand("Rank");
    t.w.resize(1100, 700);
    QTest::qWait(200);
    const float first = t.pic().Width;
    EXPECT_EQ(t.view()->width(), std::lround(first / 15));
    t.w.resize(1400, 900);
    QTest::qWait(200);
    EXPECT_GT(t.pic().Width, first + 15 * 200) << "300 pixels wider: most of them go to the picture";
    EXPECT_GT(t.pic().Height, 0);
    EXPECT_EQ(t.view()->size(), QSize(std::lround(t.pic().Width / 15), std::lround(t.pic().Height / 15)));
    EXPECT_EQ(t.pic().ZoomArea.right, t.pic().Width - 1200) << "Rank-Size drawn anew at the size";

    t.w.sizeChooser()->choose(QSize(1000, 400));
    EXPECT_EQ(t.pic().Width, 15000);
    EXPECT_EQ(t.pic().Height, 6000);
    EXPECT_EQ(t.view()->size(), QSize(1000, 400));
    QTemporaryDir dir;
    EXPECT_EQ(t.w.savePicture(dir.filePath("p.png")), QString());
    EXPECT_EQ(QImage(dir.filePath("p.png")).size(), QSize(1000, 400));
    // A resize leaves a chosen size alone.
    t.w.resize(700, 500);
    QTest::qWait(200);
    EXPECT_EQ(t.view()->size(), QSize(1000, 400));
    t.w.sizeChooser()->choose(QSize(600, 600));
    EXPECT_EQ(t.pic().Width, 9000);
}

// Eight notches (1.25^8 = 6) about the middle of Rank-Size: the y axis spans a factor of about
// 20, so its ticks are new values, each where its value lies (its label's position mapped back
// through the view and the frame's scale). A drag pans by what it moved.
TEST(PictureNavigation, WheelZoomReTicksDragPansHomeRestores) {
    Window t;
    t.w.sizeChooser()->choose(QSize(600, 600));
    t.w.runCommand("Rank");
    const Picture& p = t.pic();
    std::set<std::string> whole;
    for (const auto& [label, y] : YLabels(p)) whole.insert(label);
    Wheel(t.view(), QPointF(300, 300), 8);
    ASSERT_TRUE(p.View.zoomed);
    EXPECT_NEAR(p.View.ScaleX(p.ZoomArea), std::pow(1.25, 8), 1e-9);
    const auto labels = YLabels(p);
    ASSERT_GE(labels.size(), 2u);
    bool fresh = false;
    for (const auto& [label, y] : labels) {
        fresh = fresh || !whole.count(label);
        const double at = (p.ZoomArea.bottom - p.View.ToLayoutY(p.ZoomArea, y)) / t.w.form().frame.YScale;
        EXPECT_NEAR(std::exp(at) / std::stod(label), 1.0, 0.02) << label;
    }
    EXPECT_TRUE(fresh) << "the zoom shows tick values the whole picture does not";

    const ViewRect before = p.View.shown;
    // A drag is not a click: starting on a curve, it leaves the pin as it was (none).
    Drag(t.view(), QPoint(300, 300), QPoint(360, 280));
    EXPECT_EQ(t.w.form().Pinned, 0);
    // 60 pixels right, 20 up: the layout moves 60 * 15 / 5.96 twips to the left of the view.
    EXPECT_NEAR(p.View.shown.left, before.left - 60 * 15 / std::pow(1.25, 8), 1e-6);
    EXPECT_NEAR(p.View.shown.top, before.top + 20 * 15 / std::pow(1.25, 8), 1e-6);

    QTest::keyClick(t.view(), Qt::Key_Home);
    EXPECT_FALSE(p.View.zoomed);
    std::set<std::string> again;
    for (const auto& [label, y] : YLabels(p)) again.insert(label);
    EXPECT_EQ(again, whole);
    Wheel(t.view(), QPointF(300, 300), 2);
    ASSERT_TRUE(p.View.zoomed);
    QTest::mouseDClick(t.view(), Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_FALSE(p.View.zoomed);

    // A spirel has no axes to zoom.
    t.w.runCommand("Clear");
    t.w.runCommand("RankSpirel1");
    Wheel(t.view(), QPointF(300, 300), 3);
    EXPECT_FALSE(p.View.zoomed);
}

// Zoomed on New York, disc areas stay proportional to population (2010 in five.csv: 8,175,133
// and 2,695,598) and hover names the place under the pointer.
TEST(PictureNavigation, TheZoomedMapKeepsDiscAreasAndHover) {
    Window t(Five);
    t.w.sizeChooser()->choose(QSize(600, 600));
    t.w.runCommand("Map");
    auto disc = [&](const char* name) {
        for (const DrawOp& op : t.pic().Ops())
            if (op.tag.series == MapPlaceSeries && t.w.form().data->CityName(op.tag.city) == name) return op;
        return DrawOp{};
    };
    const DrawOp ny = disc("New York, NY");
    Wheel(t.view(), QPointF(ny.x1 / 15, ny.y1 / 15), 4);
    ASSERT_TRUE(t.pic().View.zoomed);
    const DrawOp zny = disc("New York, NY"), zchi = disc("Chicago, IL");
    ASSERT_GT(zny.radius, ny.radius);
    ASSERT_GT(zchi.radius, 0);
    EXPECT_NEAR(std::pow(zny.radius / zchi.radius, 2), 8175133.0 / 2695598.0, 1e-3);
    EXPECT_TRUE(t.view()->describeAt(QPointF(zny.x1 / 15, zny.y1 / 15)).contains(QStringLiteral("New York, NY, 2010")));
    EXPECT_TRUE(t.view()->describeAt(QPointF(zchi.x1 / 15, zchi.y1 / 15)).contains(QStringLiteral("Chicago, IL, 2010")));
    // A choice of date redraws the map at the same zoom.
    t.w.form().ChooseText("Dates", "1990");
    t.w.syncFromForm();
    EXPECT_TRUE(t.pic().View.zoomed);
    EXPECT_NEAR(disc("New York, NY").x1, zny.x1, 0.5);
}
