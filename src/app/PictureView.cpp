#include "app/PictureView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "render/PictureRenderer.h"

PictureView::PictureView(const Picture* picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::paintEvent(QPaintEvent*) {
    if (!picture_) return;
    QPainter painter(this);
    // Painting in widget units lets Qt map to device pixels itself (sharp on high-dpi screens).
    render::Paint(painter, *picture_, width() / static_cast<double>(picture_->Width));
}

void PictureView::setDescriber(std::function<QString(float, float)> describe) {
    describe_ = std::move(describe);
    setMouseTracking(static_cast<bool>(describe_));
}

QString PictureView::describeAt(QPointF pos) const {
    if (!describe_ || !picture_ || width() <= 0) return {};
    const double twipsPerUnit = picture_->Width / width();
    return describe_(static_cast<float>(pos.x() * twipsPerUnit), static_cast<float>(pos.y() * twipsPerUnit));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    const QString text = describeAt(event->position());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    QWidget::mouseMoveEvent(event);
}
