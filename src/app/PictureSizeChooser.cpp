#include "app/PictureSizeChooser.h"

#include <QInputDialog>
#include <QMessageBox>

#include "draw/RunError.h"
#include "draw/ViewRange.h"

namespace {
const QSize Sizes[] = {{600, 600}, {800, 600}, {1200, 800}, {1600, 1000}};
}

PictureSizeChooser::PictureSizeChooser(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("PictureSize"));
    setToolTip(tr("The picture's size: it is laid out anew for it, text keeping its size"));
    addItem(tr("Fit window"));
    for (const QSize& s : Sizes) addItem(tr("%1 x %2").arg(s.width()).arg(s.height()));
    addItem(tr("Other size..."));
    connect(this, qOverload<int>(&QComboBox::activated), this, &PictureSizeChooser::activatedAt);
}

void PictureSizeChooser::choose(std::optional<QSize> size) {
    fixed_ = size;
    int index = count() - 1;
    if (!size) index = 0;
    for (int k = 0; k < static_cast<int>(std::size(Sizes)); ++k)
        if (size && *size == Sizes[k]) index = k + 1;
    {
        QSignalBlocker block(this);
        setCurrentIndex(index);
        if (index == count() - 1) setItemText(index, tr("%1 x %2...").arg(size->width()).arg(size->height()));
    }
    emit changed();
}

void PictureSizeChooser::activatedAt(int index) {
    if (index == 0) return choose(std::nullopt);
    if (index <= static_cast<int>(std::size(Sizes))) return choose(Sizes[index - 1]);
    bool ok = false;
    const QString text = QInputDialog::getText(this, tr("Picture Size"), tr("Width x height in pixels:"),
                                               QLineEdit::Normal, QStringLiteral("1600x1000"), &ok);
    if (!ok) return choose(fixed_);
    try {
        const PixelSize s = ParsePictureSize(text.simplified().remove(QLatin1Char(' ')).toStdString());
        choose(QSize(s.width, s.height));
    } catch (const RunError& e) {
        QMessageBox::warning(this, tr("Picture Size"), QString::fromStdString(e.what()));
        choose(fixed_);
    }
}
