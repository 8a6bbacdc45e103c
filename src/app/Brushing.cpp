#include "app/Brushing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>

#include "app/PictureView.h"
#include "core/Form.h"
#include "core/Marks.h"

Brushing::Brushing(Form& form, PictureView* view, QObject* parent) : QObject(parent), form_(form), view_(view) {
    view_->setSelectionStore(&form_.selection.Membership());
    view_->installEventFilter(this);
    view_->setFocusPolicy(Qt::ClickFocus);
    // A new pin changes the marks (its halo and name on the map, its rings on the curves).
    connect(view_, &PictureView::pinChanged, this, [this] { remark(); });
}

QString Brushing::hint() {
    return tr("Shift-drag: select places; Ctrl-drag: remove; Esc: clear");
}

void Brushing::brush(float x1, float y1, float x2, float y2, Mode mode) {
    const std::vector<int> places = PlacesUnder(form_, x1, y1, x2, y2);
    if (mode == Mode::Add)
        form_.selection.Add(places);
    else
        form_.selection.Remove(places);
    changed();
}

void Brushing::clear() {
    if (form_.selection.Empty()) return;
    form_.selection.Clear();
    changed();
}

void Brushing::remark() {
    // Only the marks changed: the view keeps its dimmed image of the rest.
    if (RemarkPlaces(form_))
        view_->pictureChanged();
    else
        view_->update();
}

void Brushing::changed() {
    remark();
    emit selectionChanged();
}

bool Brushing::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        const auto mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        if (e->button() != Qt::LeftButton || !mods || !form_.HasData()) return false;
        mode_ = mods & Qt::ControlModifier ? Mode::Remove : Mode::Add;
        origin_ = e->position().toPoint();
        dragging_ = true;
        if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, view_);
        band_->setGeometry(QRect(origin_, QSize()));
        band_->show();
        return true;
    }
    case QEvent::MouseMove: {
        if (!dragging_) return false;
        band_->setGeometry(QRect(origin_, static_cast<QMouseEvent*>(event)->position().toPoint()).normalized());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (!dragging_) return false;
        dragging_ = false;
        band_->hide();
        const QPointF a = view_->toTwips(origin_), b = view_->toTwips(static_cast<QMouseEvent*>(event)->position());
        brush(static_cast<float>(a.x()), static_cast<float>(a.y()), static_cast<float>(b.x()), static_cast<float>(b.y()),
              mode_);
        return true;
    }
    case QEvent::KeyPress:
        // Esc clears the selection; the view then releases the pin as well.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) clear();
        return false;
    default:
        return false;
    }
}
