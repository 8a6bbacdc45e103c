#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
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
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "app/PictureView.h"
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
    setWindowTitle(QString::fromStdString(form_->Caption));
    split_ = new QSplitter(Qt::Horizontal, this);
    scroll_ = new QScrollArea(split_);
    scroll_->setWidgetResizable(false);
    stage_ = new QWidget(scroll_);
    stage_->setAutoFillBackground(true);
    stage_->resize(Px(form_->WindowWidth), Px(form_->WindowHeight));
    scroll_->setWidget(stage_);
    textPane_ = new QPlainTextEdit(split_);
    textPane_->setObjectName(QStringLiteral("Text"));
    textPane_->setReadOnly(true);
    textPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textPane_->setFont(MonoFont(form_->Text.FontSize));
    split_->addWidget(scroll_);
    split_->addWidget(textPane_);
    split_->setChildrenCollapsible(false);
    split_->setStretchFactor(0, 0);
    split_->setStretchFactor(1, 1);
    setCentralWidget(split_);
    buildControls();
    buildMenus();
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
        QProgressDialog dialog(tr("Fitting the tails of every date..."), tr("Cancel"), 0, 1000, this);
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
    pictureView_->setDescriber([this](float x, float y) -> QString {
        if (!form_->HasData()) return {};
        // A few pixels of tolerance: 4 px at 15 twips each.
        auto hit = HitTest(form_->Picture1, x, y, 60);
        return hit ? QString::fromStdString(DescribeHit(*form_, *hit, x, y)) : QString();
    });
    widgets_["Picture1"] = pictureView_;
}

QWidget* MainWindow::control(const std::string& name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

void MainWindow::runCommand(const std::string& name) {
    lastError_.clear();
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
    const Picture& pic = form_->Picture1;
    pictureView_->setGeometry(Px(pic.Left), Px(pic.Top), Px(pic.Width), Px(pic.Height));
    pictureView_->setVisible(pic.Visible);
    pictureView_->update();
    // The picture lies above the opening texts, the buttons above the picture.
    pictureView_->raise();
    for (const Control& c : panel.All())
        if (c.kind == ControlKind::Button || c.kind == ControlKind::List)
            if (QWidget* w = control(c.name)) w->raise();
    showText();
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
}

void MainWindow::report(const QString& error) {
    lastError_ = error;
    if (!error.isEmpty() && showErrorDialogs_) QMessageBox::warning(this, windowTitle(), error);
}

QString MainWindow::savePicture(const QString& path, double scale) {
    return render::Save(form_->Picture1, path, scale);
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

void MainWindow::copyPicture() { QApplication::clipboard()->setImage(render::ToImage(form_->Picture1)); }

void MainWindow::copyText() { QApplication::clipboard()->setText(QString::fromStdString(form_->Text.ToString())); }
