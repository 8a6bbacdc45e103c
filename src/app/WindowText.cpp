// The window's text side: the text pane, the pinned place's table, saving and copying text.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "app/MainWindow.h"
#include "app/WindowFonts.h"
#include "draw/RunError.h"

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

void MainWindow::copyText() { QApplication::clipboard()->setText(QString::fromStdString(form_->Text.ToString())); }
