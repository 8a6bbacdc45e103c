// The window's menus and its Help.
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/ImportDialog.h"
#include "app/MainWindow.h"
#include "app/MapActions.h"
#include "app/MapExtentMenu.h"
#include "app/Paths.h"
#include "app/PictureView.h"
#include "data/DataSearch.h"

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
    QMenu* view = menuBar()->addMenu(tr("&View"));
    extentMenu_ = new MapExtentMenu(this, view, *form_, [this](const QString& e) { report(e); }, [this] { syncFromForm(); });
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
