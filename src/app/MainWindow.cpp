#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
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
#include <QScrollArea>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/Paths.h"
#include "app/PictureView.h"
#include "draw/HitTest.h"
#include "draw/RunError.h"
#include "render/PictureRenderer.h"

namespace {
constexpr double Twip = 1.0 / 15.0;  // pixels per twip at 100 %
int Px(float twips) { return static_cast<int>(std::lround(twips * Twip)); }
}  // namespace

// The window's own surface: paints the printed text from its top left, under the controls.
class TextCanvas : public QWidget {
public:
    TextCanvas(const Form& form, QWidget* parent) : QWidget(parent), form_(form) {
        setAutoFillBackground(true);
    }
    QFont textFont() const {
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(std::max(6.0, static_cast<double>(form_.Text.FontSize) + 1.0));
        return font;
    }
    // Large enough for the window's layout and for all the text, so nothing is cut off.
    QSize neededSize() const {
        QFontMetrics m(textFont());
        int w = Px(form_.WindowWidth), h = Px(form_.WindowHeight);
        const auto& lines = form_.Text.Lines();
        int longest = 0;
        for (const auto& l : lines) longest = std::max(longest, static_cast<int>(l.size()));
        w = std::max(w, 8 + longest * m.horizontalAdvance(QLatin1Char('0')));
        h = std::max(h, 8 + static_cast<int>(lines.size()) * m.lineSpacing());
        return {w, h};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(textFont());
        p.setPen(palette().color(QPalette::WindowText));
        QFontMetrics m(p.font());
        int y = 4 + m.ascent();
        for (const auto& l : form_.Text.Lines()) {
            p.drawText(4, y, QString::fromStdString(l));
            y += m.lineSpacing();
        }
    }

private:
    const Form& form_;
};

MainWindow::MainWindow(std::unique_ptr<Form> form, QWidget* parent)
    : QMainWindow(parent), form_(std::move(form)), banner_(MakeBanner()) {
    setWindowTitle(QString::fromStdString(form_->Caption));
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(false);
    canvas_ = new TextCanvas(*form_, scroll_);
    scroll_->setWidget(canvas_);
    setCentralWidget(scroll_);
    buildControls();
    buildMenus();
    resize(Px(form_->WindowWidth) + 4, Px(form_->WindowHeight) + 4 + menuBar()->sizeHint().height());
    syncFromForm();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    for (const Control& c : form_->panel.All()) {
        QWidget* w = nullptr;
        const std::string name = c.name;
        switch (c.kind) {
        case ControlKind::Button: {
            auto* b = new QPushButton(QString::fromStdString(c.caption), canvas_);
            connect(b, &QPushButton::clicked, this, [this, name] { runCommand(name); });
            w = b;
            break;
        }
        case ControlKind::List: {
            auto* box = new QComboBox(canvas_);
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
            auto* l = new QLabel(QString::fromStdString(c.caption), canvas_);
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
            bannerView_ = new PictureView(&banner_, canvas_);
            // The banner keeps its own 681 x 161 pixels inside the image control.
            w = bannerView_;
            break;
        }
        }
        if (!w) continue;
        w->setObjectName(QString::fromStdString(name));
        widgets_[name] = w;
    }
    pictureView_ = new PictureView(&form_->Picture1, canvas_);
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
    canvas_->resize(canvas_->neededSize());
    canvas_->update();
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
    canvas_->setContextMenuPolicy(Qt::ActionsContextMenu);
    canvas_->addActions({copyTxt, saveTxt, saveCsv});
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("Read Me"), QKeySequence::HelpContents, this, [this] { report(showReadme()); });
    help->addAction(tr("About citysize"), this, [this] {
        QMessageBox::about(this, tr("About citysize"), aboutText());
    });
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
              "compiled by the Spatial History Project, CESTA, Stanford University; public domain.</li>"
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
