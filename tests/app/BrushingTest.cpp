// Brushing places in the window (Shift-drag, Ctrl-drag, Esc, the selection's table, Analyse
// selection) and selecting them on the command line (--select, --in-selection, --labels).
#include "AppKit.h"
#include <QFontMetricsF>
#include <QLabel>
#include <QTableWidget>
#include "app/Brushing.h"
#include "app/SelectionPanel.h"
#include "core/Groups.h"
#include "core/MapModule.h"
#include "core/Marks.h"
#include "core/TailFitModule.h"
#include "map/MapLabels.h"

namespace {

const QString Five = QStringLiteral(CITYSIZE_TEST_DATA "/map/five.csv");

// The cities whose paths the view paints emphasised (its display list read as painting does).
std::vector<int> EmphasisedOnView(const MainWindow& w) {
    const Emphasised e = render::ShownEmphasis(const_cast<MainWindow&>(w).form().Picture1,
                                                w.pictureView()->emphasised());
    std::vector<int> out;
    for (int c = 1; c <= const_cast<MainWindow&>(w).form().data->NumCities; ++c)
        if (e.Has(c)) out.push_back(c);
    return out;
}

}  // namespace

TEST(Brushing, ShiftDragSelectsCtrlDragRemovesEscClearsAndEveryPictureFollows) {
    ShownWindow t(Five.toStdString());
    MainWindow& w = t.w;
    w.runCommand("Map");
    PictureView* view = w.pictureView();
    const MapGeometry& g = w.form().Module<MapModule>().state.geometry;
    // Table order: New York 1, Chicago 2, Los Angeles 3, Anchorage 4, Miami 5. A rectangle
    // around New York and Miami (the east), then one around Chicago.
    const double east = std::min(g.x[0], g.x[4]) - 60, eastTop = g.y[0] - 60, eastBottom = g.y[4] + 60;
    Drag(view, t.at(east, eastTop), t.at(8690, eastBottom), Qt::ShiftModifier);
    EXPECT_EQ(w.form().selection.Places(), (std::vector<int>{1, 5}));
    EXPECT_EQ(EmphasisedOnView(w), (std::vector<int>{1, 5}));
    Drag(view, t.at(g.x[1] - 40, g.y[1] - 40), t.at(g.x[1] + 40, g.y[1] + 40), Qt::ShiftModifier);
    EXPECT_EQ(w.form().selection.Places(), (std::vector<int>{1, 2, 5}));
    // The table under the text: largest first at the last date, with the count and total
    // (8,175,133 + 2,695,598 + 399,457 = 11,270,188 in 2010, five.csv).
    QTableWidget* table = w.selectionPanel()->table();
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("New York, NY"));
    EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("2695598"));
    EXPECT_EQ(table->item(2, 0)->text(), QStringLiteral("Miami, FL"));
    EXPECT_TRUE(w.selectionPanel()->summary()->text().contains(QStringLiteral("3 places")));
    EXPECT_TRUE(w.selectionPanel()->summary()->text().contains(QStringLiteral("total population 11270188")));
    // A plain drag is not a brush.
    Drag(view, t.at(300, 720), t.at(8700, 7300), Qt::NoModifier);
    EXPECT_EQ(w.form().selection.Size(), 3);
    // Ctrl-drag over the east removes New York and Miami.
    Drag(view, t.at(east, eastTop), t.at(8690, eastBottom), Qt::ControlModifier);
    EXPECT_EQ(w.form().selection.Places(), std::vector<int>{2});

    // The same selection on Rank-Spirel1: Chicago's path emphasised, the others dimmed.
    w.runCommand("Clear");
    w.runCommand("RankSpirel1");
    EXPECT_EQ(EmphasisedOnView(w), std::vector<int>{2});
    const DrawOp* chicago = nullptr;
    const DrawOp* other = nullptr;
    for (const DrawOp& op : w.form().Picture1.Ops()) {
        if (op.kind == OpKind::Line && PathCity(op) == 2 && !chicago) chicago = &op;
        if (op.kind == OpKind::Line && PathCity(op) == 3 && !other) other = &op;
    }
    ASSERT_TRUE(chicago && other);
    const Emphasised marked = MarkedPlaces(w.form());
    EXPECT_TRUE(EmphasisStyle(*chicago, marked, w.form().Picture1.BackColor).onTop);
    EXPECT_EQ(EmphasisStyle(*other, marked, w.form().Picture1.BackColor).colour,
              Dimmed(other->colour, w.form().Picture1.BackColor));
    // Brushing on the spirel: a rectangle over Los Angeles' first point adds it.
    Drag(view, t.at(other->x1 - 30, other->y1 - 30), t.at(other->x1 + 30, other->y1 + 30), Qt::ShiftModifier);
    EXPECT_TRUE(w.form().selection.Has(3));
    // Esc clears the selection (and the pin).
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_TRUE(w.form().selection.Empty());
    EXPECT_TRUE(EmphasisedOnView(w).empty());
    EXPECT_FALSE(w.selectionPanel()->isVisible());
}

TEST(Brushing, AnalyseSelectionThenTailFitAndSaveLoad) {
    ShownWindow t(Five.toStdString());
    MainWindow& w = t.w;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sel.txt"));
    EXPECT_EQ(w.selectionPanel()->save(file), QStringLiteral("No place is selected"));
    w.form().selection.Set({1, 2, 3});
    w.brushing()->changed();
    EXPECT_EQ(w.selectionPanel()->save(file), QString());
    w.brushing()->clear();
    EXPECT_TRUE(w.selectionPanel()->load(dir.filePath(QStringLiteral("missing.txt"))).contains(QStringLiteral("missing.txt")));
    EXPECT_EQ(w.selectionPanel()->load(file), QString());
    EXPECT_EQ(w.form().selection.Places(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(w.selectionPanel()->analyse(), QString());
    EXPECT_EQ(w.form().data->NumCities, 3);
    EXPECT_TRUE(w.windowTitle().contains(QStringLiteral("Selection (3 places)")));
    w.form().Module<TailFitModule>().options.replicates = 0;
    w.runCommand("TailFit");
    // Tail-Fit runs on the three places alone (five.csv has six present in 1990).
    EXPECT_TRUE(w.lastError().contains(QStringLiteral("1990: 3 places present, fewer than the 10"))) << w.lastError().toStdString();
    // "All" restores the whole table.
    ChooseGroup(w.form(), AllGroups);
    EXPECT_EQ(w.form().data->NumCities, 6);
}

TEST(Brushing, LabelWidthsCoverTheFontAsDrawn) {
    // The names' boxes are estimated without a font; the renderer's font must fit in them.
    const char* names[] = {"New York City", "Los Angeles", "Washington", "MMMMWWWW", "illinois", "San Bernardino",
                           "Winston-Salem", "Indianapolis", "Virginia Beach", "Jacksonville"};
    for (bool bold : {false, true})
        for (double scale : {1.0, 2.0})
            for (const char* name : names) {
                DrawOp op;
                op.fontSize = static_cast<float>(LabelFontSize);
                op.bold = bold;
                const double pxPerTwip = scale / render::TwipsPerPixel;
                const QFontMetricsF metrics(render::PictureFont(op, pxPerTwip));
                const double drawn = metrics.horizontalAdvance(QString::fromUtf8(name)) / pxPerTwip;
                EXPECT_LE(drawn + LabelTextMargin, LabelTextWidth(name, LabelFontSize, bold) + 8) << name << bold << scale;
                EXPECT_LE(metrics.height() / pxPerTwip, LabelTextHeight(LabelFontSize) + 8) << name;
            }
}

TEST(Brushing, CommandLineSelectInSelectionAndLabels) {
    QTemporaryDir dir;
    const QString names = Write(dir.filePath("names.txt"), "Chicago, IL\n\"Miami, FL\"\n");
    // The picture's bytes after ReadData, the command and the options.
    auto run = [&](QStringList extra, const char* command = "Map") {
        const QString png = dir.filePath("p.png");
        QFile::remove(png);
        EXPECT_EQ(RunCitysize(QStringList{"run", "--data", Five} + extra + QStringList{"ReadData", command, "--picture", png}).status, 0)
            << extra.join(' ').toStdString();
        return Read(png);
    };
    // The same picture from a list and from a file, and not the picture without a selection.
    const QByteArray listed = run({"--select", "Chicago, IL;Miami, FL"}), plain = run({});
    EXPECT_EQ(run({"--select", "@" + names}), listed);
    EXPECT_NE(listed, plain);
    // Labels: 0 gives another map, and the same as the default when the table has fewer places.
    EXPECT_NE(run({"--labels", "0"}), plain);
    EXPECT_EQ(run({"--labels", "10"}), plain);
    // --in-selection: Rank-Size of the two places alone, as Analyse selection draws it.
    const QByteArray two = run({"--select", "Chicago, IL;Miami, FL", "--in-selection"}, "Rank");
    MainWindow w{std::make_unique<Form>(Five.toStdString())};
    w.setShowErrorDialogs(false);
    w.runCommand("ReadData");
    w.form().selection.Set({2, 5});
    ASSERT_EQ(w.selectionPanel()->analyse(), QString());
    w.runCommand("Rank");
    const QImage drawn = render::ToImage(w.form().Picture1, 1.0, MarkedPlaces(w.form()));
    EXPECT_EQ(QImage::fromData(two).convertToFormat(QImage::Format_RGB32), drawn);

    // Refusals name the value.
    const struct Refusal { QStringList args; QString says; } refusals[] = {
        {{"--select", "Chicago, IL;Gotham, NY"}, "\"Gotham, NY\""},
        {{"--select", "@" + dir.filePath("missing.txt")}, "missing.txt"},
        {{"--in-selection"}, "--in-selection needs --select"},
        {{"--labels", "-1"}, "--labels -1"},
        {{"--labels", "ten"}, "--labels ten"},
    };
    for (const Refusal& r : refusals) {
        const Result res = RunCitysize(QStringList{"run", "--data", Five} + r.args + QStringList{"ReadData", "Map"});
        EXPECT_NE(res.status, 0) << r.args.join(' ').toStdString();
        EXPECT_TRUE(res.err.contains(r.says)) << res.err.toStdString();
    }
}
