#include "AppKit.h"
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>

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
    ShownWindow t;
    MainWindow& w = t.w;
    w.runCommand("DataProperties");
    ASSERT_TRUE(w.lastError().isEmpty()) << w.lastError().toStdString();

    QTemporaryDir dir;
    EXPECT_TRUE(w.savePicture(dir.filePath("p.png"), 2.0).isEmpty());
    EXPECT_EQ(QImage(dir.filePath("p.png")).size(), QSize(1200, 1200));
    EXPECT_TRUE(w.saveText(dir.filePath("t.txt")).isEmpty());
    EXPECT_TRUE(Read(dir.filePath("t.txt")).contains("1790"));
    EXPECT_FALSE(w.saveText(QStringLiteral("/nonexistent-folder/t.txt")).isEmpty());

    for (const char* copy : {"Copy Text", "Copy Picture"}) {
        QAction* a = FindAction(w, QString::fromLatin1(copy));
        ASSERT_NE(a, nullptr) << copy;
        a->trigger();
    }
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(600, 600));
}

TEST(Menus, ToolTipNamesTheCityUnderTheMouse) {
    ShownWindow t;
    MainWindow& w = t.w;
    w.runCommand("RankChange");
    ASSERT_TRUE(w.lastError().isEmpty()) << w.lastError().toStdString();
    // The last tagged op drawn is on top: its middle must name its city.
    const DrawOp* last = nullptr;
    for (const auto& op : w.form().Picture1.Ops())
        if (op.tag.city > 0 && op.kind == OpKind::Line && (op.x1 != op.x2 || op.y1 != op.y2)) last = &op;
    ASSERT_NE(last, nullptr);
    const double k = w.pictureView()->width() / 9000.0;
    const QString tip = w.pictureView()->describeAt(QPointF((last->x1 + last->x2) / 2 * k, (last->y1 + last->y2) / 2 * k));
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
