#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFile>
#include <QFileDialog>
#include <QMenuBar>
#include <QMimeData>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <QScreen>
#include <QScrollBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QHeaderView>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <iostream>

#include "app/GroupDock.h"
#include "app/ImportDialog.h"
#include "app/MapActions.h"
#include "data/OgrReader.h"
#include "core/Groups.h"
#include "stats/TailFit.h"
#include "app/Paths.h"
#include "data/DataSearch.h"
#include "app/MapExtentMenu.h"
#include "app/PictureView.h"
#include "app/WindowFonts.h"
#include "app/Brushing.h"
#include "app/PictureNavigation.h"
#include "app/SelectionPanel.h"
#include "core/Marks.h"
#include "draw/Emphasis.h"
#include "draw/HitTest.h"
#include "draw/RunError.h"
#include "render/PictureRenderer.h"

namespace {
constexpr double Twip = 1.0 / 15.0;  // pixels per twip at 100 %
int Px(float twips) { return static_cast<int>(std::lround(twips * Twip)); }

}  // namespace

MainWindow::MainWindow(std::unique_ptr<Form> form, QWidget* parent)
    : QMainWindow(parent), form_(std::move(form)), banner_(MakeBanner()) {
    split_ = new QSplitter(Qt::Horizontal, this);
    scroll_ = new QScrollArea(split_);
    scroll_->setWidgetResizable(false);
    stage_ = new QWidget(scroll_);
    stage_->setAutoFillBackground(true);
    stage_->resize(Px(form_->WindowWidth), Px(form_->WindowHeight));
    scroll_->setWidget(stage_);
    auto* side = new QSplitter(Qt::Vertical, split_);
    textPane_ = new QPlainTextEdit(side);
    textPane_->setObjectName(QStringLiteral("Text"));
    textPane_->setReadOnly(true);
    textPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textPane_->setFont(MonoFont(form_->Text.FontSize));
    pinTable_ = new QTableWidget(0, 3, side);
    pinTable_->setObjectName(QStringLiteral("PinTable"));
    pinTable_->setHorizontalHeaderLabels({tr("Year"), tr("Rank"), tr("Population")});
    pinTable_->verticalHeader()->hide();
    // One line of text per census, so most of the 22 fit without scrolling.
    pinTable_->verticalHeader()->setDefaultSectionSize(pinTable_->fontMetrics().height() + 4);
    pinTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pinTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    pinTable_->hide();
    side->addWidget(textPane_);
    side->addWidget(pinTable_);
    side->setStretchFactor(0, 2);
    side->setStretchFactor(1, 1);
    split_->addWidget(scroll_);
    split_->addWidget(side);
    split_->setChildrenCollapsible(false);
    // Room the window gains goes to the picture, which is laid out anew to fill it.
    split_->setStretchFactor(0, 1);
    split_->setStretchFactor(1, 0);
    setCentralWidget(split_);
    buildControls();
    buildPictureControls();
    buildMenus();
    setAcceptDrops(true);
    // Room beside the stage for the widest tables (about 90 columns at 9 pt), as far as
    // the screen allows; both sides scroll when it does not.
    const int stageWidth = stage_->width() + 2 * scroll_->frameWidth() + 2;
    const int paneWidth = 92 * QFontMetrics(MonoFont(9)).horizontalAdvance(QLatin1Char('0')) + 30;
    QSize want(stageWidth + split_->handleWidth() + paneWidth,
               stage_->height() + 2 * scroll_->frameWidth() + 2 + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        want = want.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(want);
    // The picture's side takes seven tenths, so a picture fits beside the panels of a small
    // screen; the text pane scrolls its widest tables.
    split_->setSizes({want.width() * 7 / 10, want.width() * 3 / 10});
    groupDock_ = new GroupDock(*form_, pictureView_, this);
    addDockWidget(Qt::LeftDockWidgetArea, groupDock_);
    groupDock_->onChoose = [this](const std::string& group) {
        try {
            ChooseGroup(*form_, group);
        } catch (const RunError& e) {
            report(QString::fromStdString(e.what()));
        }
        syncFromForm();
    };
    brushing_ = new Brushing(*form_, pictureView_, this);
    selectionPanel_ = new SelectionPanel(*form_, *brushing_, this);
    side->addWidget(selectionPanel_);  // under the text, beside the pin's table
    selectionPanel_->onTableChanged = [this] { syncFromForm(); };
    form_->runLongFit = [this](const std::function<void(const TailFitControl&)>& work) { runWithProgress(work); };
    syncFromForm();
}

MainWindow::~MainWindow() {
    // The filters on the picture read the Form, which goes before the widgets close.
    for (QObject* filter : {static_cast<QObject*>(navigation_), static_cast<QObject*>(brushing_),
                            static_cast<QObject*>(groupDock_)})
        if (filter) pictureView_->removeEventFilter(filter);
}

void MainWindow::buildControls() {
    for (const Control& c : form_->panel.All()) {
        QWidget* w = nullptr;
        const std::string name = c.name;
        switch (c.kind) {
        case ControlKind::Button: {
            auto* b = new QPushButton(QString::fromStdString(c.caption), stage_);
            connect(b, &QPushButton::clicked, this, [this, name] { runCommand(name); });
            w = b;
            break;
        }
        case ControlKind::List: {
            auto* box = new QComboBox(stage_);
            box->setPlaceholderText(QString::fromStdString(c.caption));
            connect(box, qOverload<int>(&QComboBox::activated), this, [this, name](int index) {
                try {
                    form_->Choose(name, index);
                } catch (const RunError& e) {
                    lastError_ = QString::fromStdString(e.what());
                }
                syncFromForm();
            });
            w = box;
            break;
        }
        case ControlKind::Label: {
            auto* l = new QLabel(QString::fromStdString(c.caption), stage_);
            l->setWordWrap(true);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            QFont font = l->font();
            font.setPointSizeF(c.fontSize);
            font.setItalic(c.italic);
            l->setFont(font);
            if (c.foreColor >= 0) {
                QPalette pal = l->palette();
                pal.setColor(QPalette::WindowText, render::ToQColor(c.foreColor));
                l->setPalette(pal);
            }
            w = l;
            break;
        }
        case ControlKind::Image: {
            bannerView_ = new PictureView(&banner_, stage_);
            // The banner keeps its own 681 x 161 pixels inside the image control.
            w = bannerView_;
            break;
        }
        }
        if (!w) continue;
        w->setObjectName(QString::fromStdString(name));
        widgets_[name] = w;
    }
    pictureView_ = new PictureView(&form_->Picture1, stage_);
    pictureView_->setObjectName(QStringLiteral("Picture1"));
    pictureView_->setPinStore(&form_->Pinned);
    pictureView_->setDescriber([this](float x, float y) -> PictureView::Described {
        if (!form_->HasData()) return {};
        // A few pixels of tolerance: 4 px at 15 twips each.
        auto hit = HitTest(form_->Picture1, x, y, 60);
        if (!hit) return {};
        const int city = PathCity(form_->Picture1.Ops()[hit->opIndex]);
        return {QString::fromStdString(DescribeHit(*form_, *hit, x, y)), city <= form_->data->NumCities ? city : 0};
    });
    connect(pictureView_, &PictureView::pinChanged, this, &MainWindow::showPin);
    // Esc releases a pin wherever the focus is in the window.
    auto* release = new QAction(tr("Release Pinned City"), this);
    release->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(release, &QAction::triggered, this, [this] {
        pictureView_->pin(0);
        if (brushing_) brushing_->clear();
    });
    addAction(release);
    widgets_["Picture1"] = pictureView_;
}

QWidget* MainWindow::control(const std::string& name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

void MainWindow::runCommand(const std::string& name) {
    lastError_.clear();
    render::ClearUpperVectorState();  // whatever Qt painted last, the command runs at full speed
    form_->Picture1.View.Reset();  // a new picture starts whole
    try {
        form_->Click(name);
        lastPicture_ = name;
    } catch (const RunError& e) {
        lastError_ = QString::fromStdString(e.what());
    } catch (const std::exception& e) {
        lastError_ = QStringLiteral("Unexpected error: ") + QString::fromUtf8(e.what());
    }
    syncFromForm();
    if (!lastError_.isEmpty() && showErrorDialogs_) QMessageBox::warning(this, windowTitle(), lastError_);
}

void MainWindow::syncFromForm() {
    setWindowTitle(QString::fromStdString(form_->Caption));
    if (groupDock_) groupDock_->refresh();
    if (extentMenu_) extentMenu_->apply();
    const ControlTable& panel = form_->panel;
    const bool refillLists = listRevision_ != panel.listRevision;
    for (const Control& c : panel.All()) {
        QWidget* w = control(c.name);
        if (!w) continue;
        if (c.kind == ControlKind::Image)
            w->setGeometry(Px(c.left), Px(c.top), 681, 161);
        else
            w->setGeometry(Px(c.left), Px(c.top), Px(c.width), Px(c.height));
        w->setToolTip(QString::fromStdString(c.toolTip));
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            b->setText(QString::fromStdString(c.caption));
            if (c.backColor >= 0) {
                QColor bg = render::ToQColor(c.backColor);
                b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }"
                                                "QPushButton:pressed { background-color: %2; }")
                                     .arg(bg.name(), bg.darker(115).name()));
            }
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            if (refillLists) {
                QSignalBlocker block(box);
                box->clear();
                for (const auto& item : c.items) box->addItem(QString::fromStdString(item));
            }
            if (box->currentIndex() != c.listIndex) {
                QSignalBlocker block(box);
                box->setCurrentIndex(c.listIndex);
            }
        }
        w->setVisible(c.visible);
    }
    listRevision_ = panel.listRevision;
    if (bannerData_ != form_->DataTitle) {
        bannerData_ = form_->DataTitle;
        banner_ = MakeBanner(bannerData_);
        if (bannerView_) bannerView_->update();
    }
    const Picture& pic = form_->Picture1;
    pictureView_->setGeometry(Px(pic.Left), Px(pic.Top), Px(pic.Width), Px(pic.Height));
    pictureView_->setVisible(pic.Visible);
    pictureView_->pictureChanged();
    placePictureControls();
    // A pin names a city of the data it was made on.
    if (pictureView_->pinned() && pinData_ != form_->data.get()) pictureView_->pin(0);
    // The picture lies above the opening texts, the buttons above the picture.
    pictureView_->raise();
    for (const Control& c : panel.All())
        if (c.kind == ControlKind::Button || c.kind == ControlKind::List)
            if (QWidget* w = control(c.name)) w->raise();
    showText();
    if (selectionPanel_) selectionPanel_->refresh();
}

void MainWindow::report(const QString& error) {
    lastError_ = error;
    if (!error.isEmpty() && showErrorDialogs_) QMessageBox::warning(this, windowTitle(), error);
}

QString MainWindow::savePicture(const QString& path, double scale) {
    return render::Save(form_->Picture1, path, scale, MarkedPlaces(*form_));
}

void MainWindow::copyPicture() {
    QApplication::clipboard()->setImage(render::ToImage(form_->Picture1, 1.0, MarkedPlaces(*form_)));
}

