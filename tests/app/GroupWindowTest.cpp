// The Group list and By-Group's pictures in the real window, offscreen.
#include "AppKit.h"
#include <QListWidget>
#include <map>
#include "app/GroupDock.h"
#include "core/ByGroupModule.h"
#include "stats/ByGroupPlots.h"

TEST(GroupWindow, ListChoosesAGroupAndAForestRowSelectsIt) {
    ShownWindow t(CITYSIZE_REAL_DATA, false);
    MainWindow& w = t.w;
    ImportOptions o;
    o.unit = 1000;
    ASSERT_EQ(w.loadData(QStringLiteral(CITYSIZE_REAL_DATA "/un-wup2018-f12-cities-1950-2035.csv"), o), QString());
    QListWidget* list = w.groupDock()->list();
    ASSERT_TRUE(w.groupDock()->isVisible());
    ASSERT_GT(list->count(), 100);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("All (1860 places)"));
    // Every group once, in name order, with its number of places counted here from the table.
    std::map<std::string, int> counted;
    for (int c = 1; c <= w.form().data->NumCities; ++c) ++counted[w.form().data->Group(c)];
    ASSERT_EQ(list->count(), static_cast<int>(counted.size()) + 1);
    int row = 1;
    for (const auto& [group, n] : counted)
        EXPECT_EQ(list->item(row++)->text().toStdString(), group + " (" + std::to_string(n) + " places)");
    // A click on Japan installs its 33 agglomerations (in 2015) and names it in the caption.
    const auto japan = list->findItems(QStringLiteral("Japan ("), Qt::MatchStartsWith);
    ASSERT_EQ(japan.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(japan[0]).center());
    EXPECT_EQ(w.form().groupName, "Japan");
    EXPECT_TRUE(w.windowTitle().contains(QStringLiteral("Japan")));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(w.form().data->NumCities, 1860);

    // By-Group, then the forest plot of the last date: a click on a row's point selects the
    // row's group in the list, without installing it.
    w.runCommand("ByGroup");
    ASSERT_EQ(w.lastError(), QString());
    w.runCommand("ForestPlot");
    const DrawOp* point = nullptr;
    for (const auto& op : w.form().Picture1.Ops())
        if (op.kind == OpKind::Circle && op.tag.series == GroupForestRow) point = &op;
    ASSERT_NE(point, nullptr);
    PictureView* view = w.pictureView();
    const QPoint at(static_cast<int>(point->x1 * view->width() / w.form().Picture1.Width),
                    static_cast<int>(point->y1 * view->height() / w.form().Picture1.Height));
    EXPECT_FALSE(view->describeAt(at).isEmpty());
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    const std::string& group = w.form().Module<ByGroupModule>().table.groups[static_cast<std::size_t>(point->tag.point - 1)];
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_TRUE(list->currentItem()->text().startsWith(QString::fromStdString(group + " (")));
    EXPECT_EQ(w.form().groupName, "");
}
