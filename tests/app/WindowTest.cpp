#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "app/PictureView.h"

namespace {

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
    EXPECT_EQ(win.shownButtons(), 24);  // the main command set and Clear-Data
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
    EXPECT_EQ(win.shownButtons(), 24);
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
    EXPECT_EQ(win.shownButtons(), 24);
}

TEST(Window, ClearBeforeLoadOffersCommandsThatAskForData) {
    Window win;
    win.click("Clear");
    EXPECT_EQ(win.shownButtons(), 24);
    win.click("Rank");
    EXPECT_EQ(win.w.lastError(), QStringLiteral("Load the data first"));
}

TEST(Window, LongTextCanBeScrolledTo) {
    Window win;
    win.click("ReadData");
    for (int i = 0; i < 200; ++i) win.w.form().Text.Line(std::string(150, 'x'));
    win.w.syncFromForm();
    QWidget* canvas = reinterpret_cast<QWidget*>(win.w.textCanvas());
    EXPECT_GT(canvas->height(), 2000);
    EXPECT_GT(canvas->width(), 1000);
}
