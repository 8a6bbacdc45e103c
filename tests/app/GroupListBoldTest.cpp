// The Group list marks the installed group, and only it, in bold: "All" for the whole table,
// the group a click installs, and still that one after a forest row merely selects another.
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/GroupDock.h"
#include "app/MainWindow.h"

namespace {

QStringList BoldRows(QListWidget* list) {
    QStringList bold;
    for (int r = 0; r < list->count(); ++r)
        if (list->item(r)->font().bold()) bold << list->item(r)->text();
    return bold;
}

}  // namespace

TEST(GroupListBold, OnlyTheInstalledGroupIsBold) {
    MainWindow w{std::make_unique<Form>(CITYSIZE_REAL_DATA)};
    w.setShowErrorDialogs(false);
    w.show();
    ImportOptions o;
    o.unit = 1000;
    ASSERT_EQ(w.loadData(QStringLiteral(CITYSIZE_REAL_DATA "/un-wup2018-f12-cities-1950-2035.csv"), o), QString());
    QListWidget* list = w.groupDock()->list();
    EXPECT_EQ(BoldRows(list), QStringList{list->item(0)->text()});
    for (const char* group : {"Japan (", "Brazil (", "All ("}) {
        SCOPED_TRACE(group);
        const auto items = list->findItems(QString::fromLatin1(group), Qt::MatchStartsWith);
        ASSERT_EQ(items.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items[0]).center());
        EXPECT_EQ(BoldRows(list), QStringList{items[0]->text()});
    }
    // Choosing a row by the keyboard's current item alone installs nothing and moves no bold.
    list->setCurrentRow(5);
    EXPECT_EQ(BoldRows(list), QStringList{list->item(0)->text()});
}
