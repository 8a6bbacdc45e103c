#include "AppKit.h"
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QTimer>
#include <chrono>
#include "app/ImportDialog.h"
#include "core/TailFitModule.h"

namespace {

struct Window : ShownWindow {
    Window() : ShownWindow(CITYSIZE_REAL_DATA, false) {}
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

// The main command set, the analyses' buttons that join it, and Clear-Data.
static int MainPanelButtons() {
    int n = static_cast<int>(MainCommandSet.size()) + 1;
    for (AnalysisFactory make : RegisteredAnalyses())
        for (const CommandSpec& c : make()->Commands()) n += c.mainSet;
    return n;
}

TEST(Window, LoadRankBlackAndClearThroughRealClicks) {
    Window win;
    win.click("ReadData");
    EXPECT_EQ(win.button("ReadData")->text(), QStringLiteral("Data Loaded"));
    EXPECT_EQ(win.shownButtons(), MainPanelButtons());
    EXPECT_EQ(win.list("Cities")->count(), 266);
    win.click("Rank");
    // The vertical axis at x = 1200 twips = 80 px is black on grey.
    EXPECT_EQ(win.pictureImage().pixelColor(80, 300), QColor(0, 0, 0));

    QComboBox* back = win.list("BackMap");
    back->setCurrentIndex(1);
    emit back->activated(1);
    win.click("Rank");
    EXPECT_EQ(win.pictureImage().pixelColor(80, 300), QColor(200, 200, 200));

    win.click("Clear");
    EXPECT_EQ(win.shownButtons(), MainPanelButtons());
    EXPECT_TRUE(win.w.form().Picture1.Ops().empty());
    EXPECT_EQ(win.pictureImage().pixelColor(300, 300), QColor(0, 0, 0));  // background colour kept
}

// A table opened through its preview: each choice re-reads the file, OK loads what the
// preview showed, Cancel and a bad file leave the data loaded as it was.
TEST(Window, OpensATableThroughItsPreview) {
    Window win;
    win.click("ReadData");
    QTemporaryDir dir;
    // Largest at some date: Alpha in 1900 and 1950, Beta in 2000; Gamma never.
    const QString towns = Write(dir.filePath("towns.csv"),
                                "ID,Town,State,Pop1900,Pop1950,Pop2000\n1,Alpha,AA,5000,7000,9000\n"
                                "2,Beta,BB,3000,NA,12000\n3,Gamma,AA,1000,2000,1500\n");
    ImportDialog* d = win.w.openData(towns);
    ASSERT_NE(d, nullptr) << win.w.lastError().toStdString();
    EXPECT_EQ(d->layoutBox()->currentData().toInt(), static_cast<int>(TableLayout::Wide));
    EXPECT_EQ(d->columnBox("name")->currentText(), QStringLiteral("Town"));
    d->topBox()->setValue(1);
    EXPECT_EQ(d->preview().kept, 2);
    EXPECT_TRUE(d->summaryLabel()->text().contains(QStringLiteral("2 of 3"))) << d->summaryLabel()->text().toStdString();
    d->datesList()->item(2)->setCheckState(Qt::Unchecked);  // without 2000, Beta is never the largest
    EXPECT_EQ(d->preview().kept, 1);
    d->datesList()->item(2)->setCheckState(Qt::Checked);
    d->unitBox()->setCurrentText(QStringLiteral("1000"));
    ASSERT_TRUE(d->error().isEmpty()) << d->error().toStdString();
    d->accept();
    ASSERT_TRUE(win.w.lastError().isEmpty()) << win.w.lastError().toStdString();
    const DataSet& data = *win.w.form().data;
    ASSERT_EQ(data.NumCities, 2);
    EXPECT_EQ(data.DateYear(3), 2000);
    EXPECT_EQ(data.PopTable(1, 1), 5000000.0f);  // in thousands; kept where among the largest
    EXPECT_EQ(data.PopTable(2, 3), 12000000.0f);
    EXPECT_TRUE(win.w.windowTitle().contains(QStringLiteral("1900-2000"))) << win.w.windowTitle().toStdString();

    const QString title = win.w.windowTitle();
    win.w.openData(towns)->reject();
    EXPECT_EQ(win.w.form().data->NumCities, 2);
    // A number that is none: one message naming the file, and the data stays.
    EXPECT_EQ(win.w.openData(Write(dir.filePath("bad.csv"), "Town,1900,1950\nAlpha,5000,7x0\n")), nullptr);
    EXPECT_TRUE(win.w.lastError().contains(QStringLiteral("bad.csv"))) << win.w.lastError().toStdString();
    EXPECT_EQ(win.w.windowTitle(), title);
}

// Every table command's text: each line, scrolled into view, wholly inside the pane and clear
// of the picture and the stage's controls; wide lines reachable by the horizontal scroll bar.
TEST(Window, EveryTableCommandsTextIsFullyVisible) {
    const std::vector<std::vector<const char*>> runs = {
        {"DataProperties"}, {"Zipf"}, {"RankSpirel1", "Cities=Chicago, IL", "PlotCity", "DistancePlot"},
        {"InfoStats", "NextInfo", "NextLastInfo", "LastInfo"}, {"PopStats", "NextPop", "LastPop"},
        {"Mobility", "NextMobility"}};
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
    // Each line keeps its own size in the bundled monospaced font: PlotCity's name 11 pt, its table 9.
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

TEST(Window, AClickOnAPathPinsItsCityEscReleasesIt) {
    Window win;
    win.click("ReadData");
    win.click("RankSpirel1");
    const Form& f = win.w.form();
    // The last path op drawn lies on top: a click at its middle is on its city.
    const DrawOp* last = nullptr;
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.tag.city > 0 && op.tag.series == 0 && op.kind == OpKind::Line && (op.x1 != op.x2 || op.y1 != op.y2)) last = &op;
    ASSERT_NE(last, nullptr);
    const int city = last->tag.city;
    const QString name = QString::fromStdString(f.data->CityName(city));
    PictureView* view = win.view();
    const QPoint mid = win.at((last->x1 + last->x2) / 2, (last->y1 + last->y2) / 2);
    const QImage before = win.pictureImage();
    QTest::mouseClick(view, Qt::LeftButton, {}, mid);
    EXPECT_EQ(view->pinned(), city);
    EXPECT_TRUE(win.w.statusBar()->currentMessage().contains(name)) << win.w.statusBar()->currentMessage().toStdString();
    QTableWidget* table = win.w.pinTable();
    ASSERT_TRUE(table->isVisible());
    ASSERT_EQ(table->rowCount(), f.data->NumDates);
    const int t = last->tag.date;
    EXPECT_EQ(table->item(t - 1, 0)->text().toInt(), f.data->DateYear(t));
    EXPECT_EQ(table->item(t - 1, 2)->text().toDouble(), static_cast<double>(f.data->PopTable(city, t)));
    EXPECT_NE(win.pictureImage(), before);
    // PlotCity plots the pinned city.
    win.click("PlotCity");
    EXPECT_TRUE(win.w.textPane()->toPlainText().contains(name));
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(table->isVisible());
    // A click on empty picture (the top-left corner) releases a pin too.
    QTest::mouseClick(view, Qt::LeftButton, {}, mid);
    ASSERT_EQ(view->pinned(), city);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(view->pinned(), 0);
}

// A long bootstrap's progress dialog: Cancel stops the fit within 0.2 s, the text stays as it was.
TEST(Window, TailFitCancelStopsTheBootstrapAtOnce) {
    Window win;
    win.click("ReadData");
    win.w.form().Module<TailFitModule>().options.replicates = 100000;  // minutes of work
    std::chrono::steady_clock::time_point cancelled;
    QTimer::singleShot(1000, [&] {
        auto* dialog = win.w.findChild<QProgressDialog*>(QStringLiteral("TailFitProgress"));
        ASSERT_NE(dialog, nullptr);
        cancelled = std::chrono::steady_clock::now();
        dialog->findChild<QPushButton*>()->click();
    });
    win.click("TailFit");
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::milliseconds(200));
    EXPECT_EQ(win.w.lastError(), QStringLiteral("Tail-Fit cancelled"));
    EXPECT_TRUE(win.w.form().Text.Lines().empty());
}
