// Opening a table in the window: File > Open Data, a dropped file, the import preview.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <iostream>

#include "app/ImportDialog.h"
#include "app/MainWindow.h"
#include "app/Paths.h"
#include "data/DataSearch.h"
#include "data/OgrReader.h"
#include "draw/RunError.h"

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
        lastPicture_.clear();
        for (const std::string& w : form_->LoadWarnings) std::cerr << path.toStdString() << ": " << w << '\n';
    } catch (const RunError& e) {
        form_->DataDir = oldPath;
        form_->Import = oldOptions;
        error = QString::fromUtf8(e.what());
    }
    syncFromForm();
    return error;
}
