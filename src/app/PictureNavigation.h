#pragma once
#include <QObject>
#include <QPointF>
#include <functional>

class Picture;
class PictureView;

// Zoom and pan of a picture shown in a widget at one twip per 1/15 pixel: the wheel (and + / -)
// zooms about the pointer, a plain left drag pans, Home or a double-click shows the whole
// picture again. It changes the picture's View and asks for the picture to be laid out anew
// through `redraw`; pictures without a zoom area (the spirels) are left alone. Drags with
// Shift or Ctrl are not navigation and pass on to the view. Stacked panels (Growth-Plot) zoom
// as ZoomPanelsAbout says: the shared axis in all, the vertical one of the panel under the pointer.
class PictureNavigation : public QObject {
    Q_OBJECT
public:
    PictureNavigation(PictureView* view, Picture& picture, std::function<void()> redraw);

    // The steps the wheel and the keys take: one notch zooms by this factor.
    static constexpr double NotchFactor = 1.25;

    // Each returns whether the view changed (and the picture was redrawn). Points in widget pixels.
    bool zoomAt(QPointF widgetPos, double factor);
    bool panBy(QPointF widgetDelta);
    bool reset();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double twipsPerPixel() const;
    PictureView* view_;
    Picture& picture_;
    std::function<void()> redraw_;
    bool dragging_ = false, moved_ = false;
    int pinBefore_ = 0;  // a press pins what it is on; a drag is not a click, so it puts this back
    QPointF last_;
    QPointF pressed_;  // where a drag began: of stacked panels, the one it pans up and down
};
