#include "app/PictureView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "render/PictureRenderer.h"

PictureView::PictureView(const Picture* picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::pictureChanged() {
    plain_ = QImage();
    dimmed_ = QImage();
    update();
}

const QImage& PictureView::cached(bool dimmed) {
    QImage& image = dimmed ? dimmed_ : plain_;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (image.size() != pixels || image.devicePixelRatio() != ratio) {
        image = QImage(pixels, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        // Painting in widget units lets Qt map to device pixels itself (sharp on high-dpi screens).
        const double pxPerTwip = width() / static_cast<double>(picture_->Width);
        // Any city the picture shows gives the same dimmed base.
        render::PaintLayer(painter, *picture_, pxPerTwip, dimmed ? emphasised() : Emphasised(),
                           dimmed ? render::Layer::Base : render::Layer::All);
    }
    return image;
}

void PictureView::paintEvent(QPaintEvent*) {
    if (!picture_) return;
    const Emphasised shown = render::ShownEmphasis(*picture_, emphasised());
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), cached(shown.Any()));
    if (shown.Any())
        render::PaintLayer(painter, *picture_, width() / static_cast<double>(picture_->Width), shown, render::Layer::Top);
}

void PictureView::setDescriber(std::function<Described(float, float)> describe) {
    describe_ = std::move(describe);
    setMouseTracking(static_cast<bool>(describe_));
    setFocusPolicy(describe_ ? Qt::ClickFocus : Qt::NoFocus);
}

PictureView::Described PictureView::describe(QPointF pos) const {
    if (!describe_ || !picture_ || width() <= 0) return {};
    const double twipsPerUnit = picture_->Width / width();
    return describe_(static_cast<float>(pos.x() * twipsPerUnit), static_cast<float>(pos.y() * twipsPerUnit));
}

QPointF PictureView::toTwips(QPointF pos) const {
    const double twipsPerUnit = picture_ && width() > 0 ? picture_->Width / width() : 0;
    return pos * twipsPerUnit;
}

QString PictureView::describeAt(QPointF pos) const { return describe(pos).text; }

void PictureView::setHovered(int city) {
    if (city == hovered_) return;
    hovered_ = city;
    if (!*pinned_) update();
}

void PictureView::pin(int city) {
    if (city == *pinned_) return;
    *pinned_ = city;
    update();
    emit pinChanged(city);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    const Described d = describe(event->position());
    setHovered(d.city);
    if (d.text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), d.text, this);
    QWidget::mouseMoveEvent(event);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    // A click on a path pins its city; one on empty picture releases the pin.
    if (event->button() == Qt::LeftButton && describe_) pin(describe(event->position()).city);
    QWidget::mousePressEvent(event);
}

void PictureView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && *pinned_) {
        pin(0);
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureView::leaveEvent(QEvent* event) {
    setHovered(0);
    QWidget::leaveEvent(event);
}
