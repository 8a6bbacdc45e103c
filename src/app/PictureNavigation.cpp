#include "app/PictureNavigation.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

#include "app/PictureView.h"
#include "draw/Picture.h"

PictureNavigation::PictureNavigation(PictureView* view, Picture& picture, std::function<void()> redraw)
    : QObject(view), view_(view), picture_(picture), redraw_(std::move(redraw)) {
    view_->installEventFilter(this);
}

double PictureNavigation::twipsPerPixel() const {
    return view_->width() > 0 ? picture_.Width / view_->width() : 15.0;
}

bool PictureNavigation::zoomAt(QPointF pos, double factor) {
    const double k = twipsPerPixel();
    const bool changed = picture_.ZoomPanels.empty()
                             ? picture_.View.ZoomAbout(picture_.ZoomArea, pos.x() * k, pos.y() * k, factor)
                             : ZoomPanelsAbout(picture_.View, picture_.ZoomPanels, pos.x() * k, pos.y() * k, factor);
    if (!changed) return false;
    redraw_();
    return true;
}

bool PictureNavigation::panBy(QPointF delta) {
    const double k = twipsPerPixel();
    const bool moved = picture_.ZoomPanels.empty() ? picture_.View.Pan(picture_.ZoomArea, delta.x() * k, delta.y() * k)
                                                   : PanPanels(picture_.View, picture_.ZoomPanels, pressed_.x() * k,
                                                               pressed_.y() * k, delta.x() * k, delta.y() * k);
    if (!moved) return false;
    redraw_();
    return true;
}

bool PictureNavigation::reset() {
    if (!picture_.View.zoomed) return false;
    picture_.View.Reset();
    redraw_();
    return true;
}

bool PictureNavigation::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_ || picture_.ZoomArea.Empty()) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        const double notches = e->angleDelta().y() / 120.0;
        if (notches != 0) zoomAt(e->position(), std::pow(NotchFactor, notches));
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        // A click still pins; it becomes a pan once it moves.
        if (e->button() == Qt::LeftButton && !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
            dragging_ = true;
            moved_ = false;
            pinBefore_ = view_->pinned();
            last_ = pressed_ = e->position();
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return false;
        const QPointF delta = e->position() - last_;
        if (!moved_ && std::abs(delta.x()) + std::abs(delta.y()) < 3) return false;
        if (!moved_ && view_->pinned() != pinBefore_) view_->pin(pinBefore_);
        moved_ = true;
        last_ = e->position();
        panBy(delta);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (dragging_) {
            dragging_ = false;
            if (moved_) return true;
        }
        return false;
    case QEvent::MouseButtonDblClick:
        // Its first click pinned what it was on; a double-click only restores the view.
        if (view_->pinned() != pinBefore_) view_->pin(pinBefore_);
        reset();
        return true;
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        const QPointF centre((picture_.ZoomArea.left + picture_.ZoomArea.right) / 2 / twipsPerPixel(),
                             (picture_.ZoomArea.top + picture_.ZoomArea.bottom) / 2 / twipsPerPixel());
        if (e->key() == Qt::Key_Plus || e->key() == Qt::Key_Equal) return zoomAt(centre, NotchFactor), true;
        if (e->key() == Qt::Key_Minus) return zoomAt(centre, 1 / NotchFactor), true;
        if (e->key() == Qt::Key_Home) return reset(), true;
        return false;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
