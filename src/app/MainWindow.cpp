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
#include "app/Paths.h"
#include "data/DataSearch.h"
#include "app/PictureView.h"
#include "app/Brushing.h"
#include "app/SelectionPanel.h"
#include "core/Marks.h"
#include "draw/Emphasis.h"
#include "draw/HitTest.h"
#include "draw/RunError.h"
#include "render/PictureRenderer.h"

namespace {
constexpr double Twip = 1.0 / 15.0;  // pixels per twip at 100 %
int Px(float twips) { return static_cast<int>(std::lround(twips * Twip)); }

// The printed text is set in DejaVu Sans Mono, which the program depends on; a system that
// lacks it gets its fixed font, so columns still line up.
QString MonoFamily() {
    static const QString family = [] {
        const QString dejavu = QStringLiteral("DejaVu Sans Mono");
        if (QFontDatabase::families().contains(dejavu)) return dejavu;
        const int id = QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"));
        if (id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty())
            return QFontDatabase::applicationFontFamilies(id).first();
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    return family;
}

QFont MonoFont(double points) {
    QFont font(MonoFamily());
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(points);
    return font;
}

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
    split_->setStretchFactor(0, 0);
    split_->setStretchFactor(1, 1);
    setCentralWidget(split_);
    buildControls();
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
    split_->setSizes({std::min(stageWidth, want.width() * 3 / 5), paneWidth});
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

void MainWindow::runWithProgress(const std::function<void(const TailFitControl&)>& work) {
    std::atomic<bool> cancel{false};
    std::atomic<long> done{0}, total{1};
    TailFitControl control;
    control.cancel = &cancel;
    control.progress = [&](long d, long t) {
        done = d;
        total = std::max(1L, t);
    };
    std::exception_ptr error;
    std::promise<void> finished;
    std::future<void> ended = finished.get_future();
    std::thread worker([&] {
        try {
            work(control);
        } catch (...) {
            error = std::current_exception();
        }
        finished.set_value();
    });
    // A fit without the bootstrap ends at once: no dialog flashes for it.
    if (ended.wait_for(std::chrono::milliseconds(150)) != std::future_status::ready) {
        QProgressDialog dialog(tr("Computing the fits and their bootstrap..."), tr("Cancel"), 0, 1000, this);
        dialog.setObjectName(QStringLiteral("TailFitProgress"));
        dialog.setWindowModality(Qt::WindowModal);
        dialog.setMinimumDuration(0);
        dialog.setAutoClose(false);
        dialog.setAutoReset(false);
        QEventLoop loop;
        QTimer timer;
        connect(&dialog, &QProgressDialog::canceled, &loop, [&] { cancel = true; });
        connect(&timer, &QTimer::timeout, &loop, [&] {
            if (ended.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
                loop.quit();
                return;
            }
            // Esc or closing the dialog cancels it without the canceled() signal.
            if (dialog.wasCanceled()) cancel = true;
            if (!cancel) dialog.setValue(static_cast<int>(1000.0 * static_cast<double>(done) / static_cast<double>(total)));
        });
        timer.start(30);
        dialog.show();
        loop.exec();
    }
    worker.join();
    if (error) std::rethrow_exception(error);
}

MainWindow::~MainWindow() = default;

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
    try {
        form_->Click(name);
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

void MainWindow::showPin(int city) {
    const DataSet& d = *form_->data;
    if (city < 1 || city > d.NumCities) {
        pinTable_->hide();
        pinTable_->setRowCount(0);
        statusBar()->clearMessage();
        return;
    }
    pinData_ = form_->data.get();
    // The Cities list follows the pin, so PlotCity plots the pinned city.
    Control& list = form_->panel["Cities"];
    if (city - 1 < static_cast<int>(list.items.size())) {
        list.listIndex = city - 1;
        list.caption = list.items[static_cast<std::size_t>(city - 1)];
        if (auto* box = qobject_cast<QComboBox*>(control("Cities"))) {
            QSignalBlocker block(box);
            box->setCurrentIndex(city - 1);
        }
    }
    const QString name = QString::fromStdString(d.CityName(city));
    pinTable_->setRowCount(d.NumDates);
    for (int t = 1; t <= d.NumDates; ++t) {
        const bool present = d.Present(city, t) == 1.0f;
        const QString cells[3] = {QString::number(d.DateYear(t)),
                                  present ? QString::number(static_cast<double>(form_->rank.CityRank(city, t)), 'f', 0) : QStringLiteral("-"),
                                  present ? QString::number(static_cast<double>(d.PopTable(city, t)), 'f', 0) : QStringLiteral("-")};
        for (int col = 0; col < 3; ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            pinTable_->setItem(t - 1, col, item);
        }
    }
    pinTable_->setToolTip(name);
    pinTable_->show();
    statusBar()->showMessage(tr("Pinned: %1 (Esc or a click on empty picture releases it)").arg(name));
}

void MainWindow::showText() {
    const TextSurface& text = form_->Text;
    if (text.Revision() == textRevision_) return;
    textRevision_ = text.Revision();
    // Each line in its own size. The blank lines a command prints first only pushed its
    // table below the controls of the old single surface; the pane starts with the text.
    const auto& lines = text.Lines();
    std::size_t first = 0;
    while (first < lines.size() && lines[first].find_first_not_of(' ') == std::string::npos) ++first;
    QTextDocument* doc = textPane_->document();
    doc->clear();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (std::size_t i = first; i < lines.size(); ++i) {
        QTextCharFormat format;
        format.setFont(MonoFont(text.LineFontSize(i)));
        if (i == first)
            cursor.setBlockCharFormat(format);
        else
            cursor.insertBlock(QTextBlockFormat(), format);
        cursor.insertText(QString::fromStdString(lines[i]), format);
    }
    cursor.endEditBlock();
    textPane_->moveCursor(QTextCursor::Start);
    textPane_->horizontalScrollBar()->setValue(0);
    textPane_->verticalScrollBar()->setValue(0);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    file->addAction(tr("Open Data..."), QKeySequence::Open, this, [this] {
        const QString dir = QFileInfo(QString::fromStdString(DataFilePath(form_->DataDir))).absolutePath();
        const QString path = QFileDialog::getOpenFileName(this, tr("Open Data"), dir,
                                                          TableFileFilter());
        if (!path.isEmpty()) openData(path);
    });
    file->addSeparator();
    auto* savePic = file->addAction(tr("Save Picture..."), QKeySequence::Save, this, [this] {
        QString filter;
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Save Picture"), QStringLiteral("picture.png"),
            tr("PNG image, screen size (*.png);;PNG image, 2x (*.png);;PNG image, 4x (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"),
            &filter);
        if (path.isEmpty()) return;
        const double scale = filter.contains(QLatin1String("4x")) ? 4 : filter.contains(QLatin1String("2x")) ? 2 : 1;
        report(savePicture(path, scale));
    });
    auto* saveTxt = file->addAction(tr("Save Text..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("Save Text"), QStringLiteral("text.txt"), tr("Text (*.txt)"));
        if (!path.isEmpty()) report(saveText(path));
    });
    auto* saveCsv = file->addAction(tr("Save Table as CSV..."), this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("Save Table as CSV"), QStringLiteral("table.csv"), tr("CSV (*.csv)"));
        if (!path.isEmpty()) report(saveTablesCsv(path));
    });
    AddMapActions(this, file, *form_, [this](const QString& e) { report(e); }, [this] { syncFromForm(); });
    file->addSeparator();
    file->addAction(tr("Quit"), QKeySequence::Quit, this, &QWidget::close);
    auto* copyPic = edit->addAction(tr("Copy Picture"), QKeySequence::Copy, this, [this] { copyPicture(); });
    auto* copyTxt = edit->addAction(tr("Copy Text"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this, [this] { copyText(); });
    pictureView_->setContextMenuPolicy(Qt::ActionsContextMenu);
    pictureView_->addActions({copyPic, savePic});
    textPane_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(textPane_, &QWidget::customContextMenuRequested, this, [this, copyTxt, saveTxt, saveCsv](QPoint at) {
        std::unique_ptr<QMenu> menu(textPane_->createStandardContextMenu(at));
        menu->addSeparator();
        menu->addActions({copyTxt, saveTxt, saveCsv});
        menu->exec(textPane_->viewport()->mapToGlobal(at));
    });
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("Read Me"), QKeySequence::HelpContents, this, [this] { report(showReadme()); });
    help->addAction(tr("About citysize"), this, [this] {
        QMessageBox::about(this, tr("About citysize"), aboutText());
    });
}

namespace {

// The local file or folder a drag carries, when it carries exactly one table.
QString DroppedTable(const QMimeData* mime) {
    if (!mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().first().isLocalFile()) return {};
    const QString path = mime->urls().first().toLocalFile();
    const QFileInfo info(path);
    return info.isDir() || IsTableFileName(path) ? path : QString();
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedTable(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = DroppedTable(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    openData(path);
}

ImportDialog* MainWindow::openData(const QString& path) {
    lastError_.clear();
    const QString file = QString::fromStdString(DataFilePath(path.toStdString()));
    ImportPreview preview;
    QByteArray bytes;
    try {
        // Read as a load would, so a file that cannot be loaded says why in the same words.
        preview = ImportFile(file.toStdString()).preview;
        QFile in(file);
        if (!IsOgrFile(file.toStdString())) {  // a workbook or layer is read again by GDAL, not from bytes
            if (!in.open(QIODevice::ReadOnly)) throw RunError("Cannot open " + file.toStdString() + " for reading");
            bytes = in.readAll();
        }
    } catch (const RunError& e) {
        report(QString::fromUtf8(e.what()));
        return nullptr;
    }
    auto* dialog = new ImportDialog(file, bytes.toStdString(), ImportOptions{}, preview, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        report(loadData(dialog->path(), dialog->options()));
    });
    dialog->open();
    return dialog;
}

QString MainWindow::loadData(const QString& path, const ImportOptions& options) {
    // Load Data's own path, with this file and these choices; they become the Form's only
    // when the table loads, so a failure leaves the data and how it was read as they were.
    const std::string oldPath = form_->DataDir;
    const ImportOptions oldOptions = form_->Import;
    form_->DataDir = path.toStdString();
    form_->Import = options;
    QString error;
    try {
        ReadData_Click(*form_);
        for (const std::string& w : form_->LoadWarnings) std::cerr << path.toStdString() << ": " << w << '\n';
    } catch (const RunError& e) {
        form_->DataDir = oldPath;
        form_->Import = oldOptions;
        error = QString::fromUtf8(e.what());
    }
    syncFromForm();
    return error;
}

QString MainWindow::showReadme() {
    const QString path = ReadmePath();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return tr("The README is not installed beside the program (looked for share/doc/citysize/README.md)");
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("ReadMe"));
    dialog->setWindowTitle(tr("citysize - Read Me"));
    auto* browser = new QTextBrowser(dialog);
    browser->setOpenExternalLinks(true);
    // The gallery's pictures are named relative to the README's own folder.
    browser->setSearchPaths({QFileInfo(path).absolutePath()});
    browser->setMarkdown(QString::fromUtf8(file.readAll()));
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(browser);
    dialog->resize(820, 700);
    dialog->show();
    return {};
}

QString MainWindow::aboutText() {
    return tr("<h3>citysize %1</h3>"
              "<p>Rank-size distributions, Zipf exponents, spirels and information statistics of "
              "city populations through time.</p>"
              "<p>The code is under the MIT licence: Copyright (c) 2026 the citysize developers.</p>"
              "<p><b>Data shipped with the program</b> (see data/README.md):</p><ul>"
              "<li><i>USData.csv</i> and <i>us-places-1790-2010.csv</i>: US Census Bureau figures as "
              "compiled in \"United States Historical City Populations, 1790-2010\" (U.S. Census Bureau "
              "and Erik Steiner, Spatial History Project, CESTA, Stanford University); public domain. "
              "<i>USData.csv</i> keeps the places among the 101 largest at one census or more, "
              "1790-2000.</li>"
              "<li><i>europop-1500-1800.csv</i>: Matthew Lincoln's edition of Jan de Vries, "
              "<i>European Urbanization, 1500-1800</i> (1984); CC0.</li>"
              "<li><i>un-wup2018-f12-cities-1950-2035.csv</i>: United Nations, Department of Economic "
              "and Social Affairs, Population Division (2018). World Urbanization Prospects: The 2018 "
              "Revision; CC BY 3.0 IGO.</li></ul>")
        .arg(QStringLiteral(CITYSIZE_VERSION));
}

void MainWindow::report(const QString& error) {
    lastError_ = error;
    if (!error.isEmpty() && showErrorDialogs_) QMessageBox::warning(this, windowTitle(), error);
}

QString MainWindow::savePicture(const QString& path, double scale) {
    return render::Save(form_->Picture1, path, scale, MarkedPlaces(*form_));
}

QString MainWindow::saveText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return tr("Cannot write %1: %2").arg(path, file.errorString());
    file.write(QByteArray::fromStdString(form_->Text.ToString()));
    return file.error() == QFile::NoError ? QString() : tr("Cannot write %1").arg(path);
}

QString MainWindow::saveTablesCsv(const QString& path) {
    try {
        WriteTablesCsv(path.toStdString(), form_->Text.Tables);
    } catch (const RunError& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

void MainWindow::copyPicture() {
    QApplication::clipboard()->setImage(render::ToImage(form_->Picture1, 1.0, MarkedPlaces(*form_)));
}

void MainWindow::copyText() { QApplication::clipboard()->setText(QString::fromStdString(form_->Text.ToString())); }
