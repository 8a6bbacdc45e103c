#include "app/PictureView.h"

#include <QPainter>

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
