// The picture in the window: laid out for the size chosen or the room the window gives it,
// anew on every resize, zoomed and panned through its own navigation.
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/MainWindow.h"
#include "app/PictureNavigation.h"
#include "app/PictureSizeChooser.h"
#include "app/PictureView.h"
#include "core/Redraw.h"
#include "draw/ViewRange.h"

namespace {
constexpr int Margin = 8;         // pixels kept free right of and below the picture
// A window with less room than this scrolls instead: every picture keeps its text whole and
// apart down to this size (a 1600 x 1000 screen at 200 % leaves the picture about 440 pixels).
constexpr int SmallestWidth = 440, SmallestHeight = 560;
int Px(float twips) { return static_cast<int>(std::lround(twips / 15.0)); }
}  // namespace

void MainWindow::buildPictureControls() {
    sizeChooser_ = new PictureSizeChooser(stage_);
    widgets_["PictureSize"] = sizeChooser_;
    connect(sizeChooser_, &PictureSizeChooser::changed, this, [this] { fitPicture(); });
    navigation_ = new PictureNavigation(pictureView_, form_->Picture1, [this] { redrawPicture(); });
    // A resize lays the picture out once the window has its new size, not at every step.
    fitTimer_ = new QTimer(this);
    fitTimer_->setSingleShot(true);
    fitTimer_->setInterval(40);
    connect(fitTimer_, &QTimer::timeout, this, [this] { fitPicture(); });
    scroll_->viewport()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && !sizeChooser_->fixedSize())
        fitTimer_->start();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::placePictureControls() {
    const Picture& pic = form_->Picture1;
    // The stage holds the controls shown and the picture, whichever reaches further, and no
    // more: a picture fitted to the room then needs no scrolling.
    int right = Px(pic.Left + pic.Width) + Margin, bottom = Px(pic.Top + pic.Height) + Margin;
    for (const QWidget* w : stage_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(stage_)) {
            right = std::max(right, w->geometry().right() + 1 + Margin);
            bottom = std::max(bottom, w->geometry().bottom() + 1 + Margin);
        }
    stage_->resize(right, bottom);
    if (QWidget* back = control("BackMap")) {
        // Just above the Background list.
        sizeChooser_->setGeometry(back->x(), back->y() - back->height() - 4, back->width(), back->height());
        sizeChooser_->setVisible(back->isVisibleTo(stage_));
        sizeChooser_->raise();
    }
}

void MainWindow::fitPicture() {
    Picture& pic = form_->Picture1;
    QSize want;
    if (const auto fixed = sizeChooser_->fixedSize()) {
        want = *fixed;
    } else {
        const QSize room = scroll_->maximumViewportSize();
        want = QSize(std::clamp(room.width() - Px(pic.Left) - Margin, SmallestWidth, MaxPictureSide),
                     std::clamp(room.height() - Px(pic.Top) - Margin, SmallestHeight, MaxPictureSide));
    }
    if (want == QSize(Px(pic.Width), Px(pic.Height))) return;
    const float width = pic.Width, height = pic.Height;
    const ViewRange view = pic.View;
    pic.Width = 15.0f * want.width();
    pic.Height = 15.0f * want.height();
    // A zoom names twips of the old layout: laid out whole first, then zoomed as it was.
    const ViewRect oldArea = pic.ZoomArea;
    const std::vector<ViewRect> oldPanels = pic.ZoomPanels;
    pic.View.Reset();
    if (!pic.Ops().empty() && !RedrawPicture(*form_, lastPicture_)) {
        pic.Width = width, pic.Height = height;
        pic.View = view;
    } else if (view.zoomed) {
        pic.View = view;
        if (pic.ZoomPanels.empty())
            pic.View.Rescale(oldArea, pic.ZoomArea);
        else
            RescalePanels(pic.View, oldPanels, pic.ZoomPanels);
        RedrawPicture(*form_, lastPicture_);
    }
    syncFromForm();
}

bool MainWindow::redrawPicture() {
    const bool drawn = RedrawPicture(*form_, lastPicture_);
    syncFromForm();
    return drawn;
}
