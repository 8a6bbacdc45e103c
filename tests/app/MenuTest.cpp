#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestForm.h"
#include "app/MainWindow.h"
#include "app/PictureView.h"

namespace {

QAction* FindAction(MainWindow& w, const QString& text) {
    for (QAction* menu : w.menuBar()->actions())
        if (menu->menu())
            for (QAction* a : menu->menu()->actions())
                if (a->text() == text) return a;
    return nullptr;
}

}  // namespace

TEST(Menus, SaveAndCopyTheResults) {
    MainWindow w(std::make_unique<Form>(CITYSIZE_REAL_DATA));
    w.setShowErrorDialogs(false);
    w.show();
    w.runCommand("ReadData");
    w.runCommand("DataProperties");
    ASSERT_TRUE(w.lastError().isEmpty()) << w.lastError().toStdString();

    QTemporaryDir dir;
    EXPECT_TRUE(w.savePicture(dir.filePath("p.png"), 2.0).isEmpty());
    QImage saved(dir.filePath("p.png"));
    EXPECT_EQ(saved.size(), QSize(1200, 1200));
    EXPECT_TRUE(w.saveText(dir.filePath("t.txt")).isEmpty());
    EXPECT_NE(FileBytes(dir.filePath("t.txt").toStdString()).find("1790"), std::string::npos);
    EXPECT_FALSE(w.saveText(QStringLiteral("/nonexistent-folder/t.txt")).isEmpty());

    for (const char* copy : {"Copy Text", "Copy Picture"}) {
        QAction* a = FindAction(w, QString::fromLatin1(copy));
        ASSERT_NE(a, nullptr) << copy;
        a->trigger();
    }
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(600, 600));
}

TEST(Menus, ToolTipNamesTheCityUnderTheMouse) {
    MainWindow w(std::make_unique<Form>(CITYSIZE_REAL_DATA));
    w.setShowErrorDialogs(false);
    w.show();
    w.runCommand("ReadData");
    w.runCommand("RankChange");
    ASSERT_TRUE(w.lastError().isEmpty()) << w.lastError().toStdString();
    // The last tagged op drawn is on top: its middle must name its city.
    const auto& ops = w.form().Picture1.Ops();
    const DrawOp* last = nullptr;
    for (const auto& op : ops)
        if (op.tag.city > 0 && op.kind == OpKind::Line && (op.x1 != op.x2 || op.y1 != op.y2)) last = &op;
    ASSERT_NE(last, nullptr);
    const double k = w.pictureView()->width() / 9000.0;
    QPointF mid((last->x1 + last->x2) / 2 * k, (last->y1 + last->y2) / 2 * k);
    const QString tip = w.pictureView()->describeAt(mid);
    EXPECT_TRUE(tip.startsWith(QString::fromStdString(w.form().data->CityName(last->tag.city)))) << tip.toStdString();
    EXPECT_TRUE(w.pictureView()->describeAt(QPointF(595, 5)).isEmpty());
    // A lone line of Akron in 1790: the tip reaches 60 twips and half the line's width.
    Picture& p = w.form().Picture1;
    p.Clear();
    p.CurrentTag = OpTag{1, 1, 0};
    p.Line(1500, 4500, 7500, 4500, 0);
    p.CurrentTag = OpTag{};
    EXPECT_TRUE(w.pictureView()->describeAt(QPointF(4500 * k, 4560 * k)).startsWith(QStringLiteral("Akron, OH, 1790")));
    EXPECT_TRUE(w.pictureView()->describeAt(QPointF(4500 * k, 4575 * k)).isEmpty());
}
