#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "app/PictureView.h"

namespace {

// The main command set and Clear-Data (read at run time: the set is another file's global).
int MainButtons() { return static_cast<int>(MainCommandSet.size()) + 1; }

struct Window {
    MainWindow w{std::make_unique<Form>(CITYSIZE_REAL_DATA)};
    Window() {
        w.setShowErrorDialogs(false);
        w.show();
    }
    QPushButton* button(const char* name) { return qobject_cast<QPushButton*>(w.control(name)); }
    QComboBox* list(const char* name) { return qobject_cast<QComboBox*>(w.control(name)); }
    void click(const char* name) {
        QPushButton* b = button(name);
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isVisible()) << name << " is not shown";
        QTest::mouseClick(b, Qt::LeftButton);
    }
    int shownButtons() {
        int n = 0;
        for (const Control& c : w.form().panel.All())
            if (c.kind == ControlKind::Button && button(c.name.c_str())->isVisible()) ++n;
        return n;
    }
    QImage pictureImage() { return w.pictureView()->grab().toImage(); }
};

}  // namespace

TEST(Window, OpensOnTheOpeningPanel) {
    Window win;
    EXPECT_EQ(win.w.windowTitle(), QStringLiteral("Visualisation-of-City-Size-Data"));
    EXPECT_TRUE(win.button("ReadData")->isVisible());
    EXPECT_TRUE(win.button("Clear")->isVisible());
    EXPECT_TRUE(win.list("BackMap")->isVisible());
    EXPECT_EQ(win.list("BackMap")->count(), 0);
    EXPECT_EQ(win.shownButtons(), 2);
    EXPECT_FALSE(win.w.pictureView()->isVisible());
    EXPECT_TRUE(win.w.control("ProgramLogo")->isVisible());
    EXPECT_TRUE(win.w.control("Label4")->isVisible());
    // The layout in pixels: twips / 15.
    EXPECT_EQ(win.button("ReadData")->geometry(), QRect(10, 10, 100, 33));
    EXPECT_EQ(win.button("ReadData")->toolTip(), QStringLiteral("Loads, checks, and normalizes the data"));
}

TEST(Window, LoadRankBlackAndClearThroughRealClicks) {
    Window win;
    win.click("ReadData");
    EXPECT_TRUE(win.w.lastError().isEmpty()) << win.w.lastError().toStdString();
    EXPECT_EQ(win.button("ReadData")->text(), QStringLiteral("Data Loaded"));
    EXPECT_EQ(win.shownButtons(), MainButtons());  // the main command set and Clear-Data
    EXPECT_FALSE(win.w.control("ProgramLogo")->isVisible());
    EXPECT_TRUE(win.w.pictureView()->isVisible());
    EXPECT_EQ(win.list("Cities")->count(), 266);
    EXPECT_EQ(win.list("BackMap")->count(), 2);
    // The empty grey surface after loading.
    EXPECT_EQ(win.pictureImage().pixelColor(300, 300), QColor(200, 200, 200));

    win.click("Rank");
    QImage grey = win.pictureImage();
    EXPECT_EQ(grey.pixelColor(5, 5), QColor(200, 200, 200));
    // The vertical axis at x = 1200 twips = 80 px is black on grey.
    EXPECT_EQ(grey.pixelColor(80, 300), QColor(0, 0, 0));

    QComboBox* back = win.list("BackMap");
    back->setCurrentIndex(1);
    emit back->activated(1);
    EXPECT_EQ(win.w.form().BackMapIndex(), 1);
    win.click("Rank");
    QImage black = win.pictureImage();
    EXPECT_EQ(black.pixelColor(5, 5), QColor(0, 0, 0));
    EXPECT_EQ(black.pixelColor(80, 300), QColor(200, 200, 200));

    win.click("Clear");
    EXPECT_EQ(win.shownButtons(), MainButtons());
    EXPECT_TRUE(win.w.form().Picture1.Ops().empty());
    EXPECT_EQ(win.pictureImage().pixelColor(300, 300), QColor(0, 0, 0));  // background colour kept
}

TEST(Window, ErrorsAreReportedAndTheDataKept) {
    Window win;
    win.click("ReadData");
    const std::string firstCity = win.w.form().data->CityName(1);
    win.w.form().DataDir = "/nonexistent-folder";
    win.click("ReadData");
    EXPECT_TRUE(win.w.lastError().contains(QStringLiteral("USData.csv"))) << win.w.lastError().toStdString();
    EXPECT_EQ(win.w.form().data->CityName(1), firstCity);
    EXPECT_EQ(win.list("Cities")->count(), 266);
    EXPECT_EQ(win.shownButtons(), MainButtons());
}

TEST(Window, ClearBeforeLoadOffersCommandsThatAskForData) {
    Window win;
    win.click("Clear");
    EXPECT_EQ(win.shownButtons(), MainButtons());
    win.click("Rank");
    EXPECT_EQ(win.w.lastError(), QStringLiteral("Load the data first"));
}

// Every table command's text lies in a pane nothing covers: each line, scrolled into view,
// is wholly inside the pane and clear of the picture and of every control shown on the
// stage (as clipped by the stage's scroll area). Wide lines may need the horizontal
// scroll bar (the test screen is 800 x 600), so the check is that they are reachable.
TEST(Window, EveryTableCommandsTextIsFullyVisible) {
    const std::vector<std::vector<const char*>> runs = {
        {"DataProperties"}, {"Zipf"}, {"RankSpirel1", "Cities=Chicago, IL", "PlotCity", "DistancePlot"},
        {"InfoStats", "NextInfo", "NextLastInfo", "LastInfo"}, {"PopStats", "NextPop", "LastPop"}};
    Window win;
    win.click("ReadData");
    QPlainTextEdit* pane = win.w.textPane();
    QWidget* view = pane->viewport();
    const auto inWindow = [&](QWidget* w, QRect r) { return QRect(w->mapTo(&win.w, r.topLeft()), r.size()); };
    const QRect paneBox = inWindow(view, view->rect());
    for (const auto& run : runs) {
        win.click("Clear");
        for (const char* step : run) {
            const std::string click = step;
            if (click.rfind("Cities=", 0) == 0) {
                win.w.form().ChooseText("Cities", click.substr(7));
                continue;
            }
            win.click(step);
            ASSERT_TRUE(win.w.lastError().isEmpty()) << step << ": " << win.w.lastError().toStdString();
            ASSERT_FALSE(win.w.form().Text.Lines().empty()) << step;
            std::vector<QRect> covers;
            QWidget* stageView = win.w.stage()->parentWidget();
            const QRect stageBox = inWindow(stageView, stageView->rect());
            EXPECT_FALSE(stageBox.intersects(paneBox)) << step;
            for (QWidget* w : win.w.stage()->findChildren<QWidget*>())
                if (w->isVisible() && w->parentWidget() == win.w.stage())
                    covers.push_back(inWindow(w, w->rect()).intersected(stageBox));
            ASSERT_FALSE(covers.empty()) << step;
            int lines = 0;
            for (QTextBlock b = pane->document()->begin(); b.isValid(); b = b.next(), ++lines) {
                QTextCursor at(b);
                pane->setTextCursor(at);
                pane->ensureCursorVisible();
                const QTextLine line = b.layout()->lineAt(0);
                const QRect box = inWindow(view, QRect(pane->cursorRect(at).topLeft(),
                                                       QSize(std::ceil(line.naturalTextWidth()), std::ceil(line.height()))));
                for (const QRect& c : covers) EXPECT_FALSE(box.intersects(c)) << step << " line " << lines;
                EXPECT_TRUE(paneBox.contains(box.topLeft())) << step << " line " << lines;
                EXPECT_LE(box.bottom(), paneBox.bottom()) << step << " line " << lines;
                EXPECT_LE(line.naturalTextWidth(), view->width() + pane->horizontalScrollBar()->maximum())
                    << step << " line " << lines << " cannot be scrolled to";
            }
            EXPECT_GT(lines, 2) << step;
        }
    }
    // Each line keeps its own size, in the bundled monospaced font: PlotCity's city name in
    // 11 pt over its table in 9 pt, not one point larger.
    win.click("Clear");
    win.click("RankSpirel1");
    win.w.form().ChooseText("Cities", "Boston, MA");
    win.click("PlotCity");
    QTextBlock name = pane->document()->begin();
    EXPECT_EQ(name.text().trimmed(), QStringLiteral("Boston, MA"));
    EXPECT_EQ(name.charFormat().font().pointSizeF(), 11.0);
    EXPECT_EQ(name.next().next().charFormat().font().pointSizeF(), 9.0);
    EXPECT_EQ(QFontInfo(name.charFormat().font()).family(), QStringLiteral("DejaVu Sans Mono"));
}

