#pragma once
#include <QObject>
#include <QPoint>
#include <functional>
#include <vector>

class Form;
class PictureView;
class QRubberBand;

// Brushing places on the picture: Shift-drag a rectangle adds the places under it to the
// selection, Ctrl-drag removes them (a plain drag is the view's own), Esc clears (with the pin).
// Works on whatever the picture shows: the map, the paths of the spirels, the rank-size
// curves, the points of Growth-Plot and Tail-Plot (core/Marks.h finds the places).
class Brushing : public QObject {
    Q_OBJECT
public:
    Brushing(Form& form, PictureView* view, QObject* parent = nullptr);

    // What a rectangle (twips) does: the places under it added, or removed.
    enum class Mode { Add, Remove };
    void brush(float x1, float y1, float x2, float y2, Mode mode);
    void clear();
    // The selection was set from elsewhere (a file, Analyse selection): marks and views anew.
    void changed();

    // The status bar's hint while the picture is under the mouse.
    static QString hint();

signals:
    void selectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void remark();
    Form& form_;
    PictureView* view_;
    QRubberBand* band_ = nullptr;
    QPoint origin_;
    bool dragging_ = false;
    Mode mode_ = Mode::Add;
};
