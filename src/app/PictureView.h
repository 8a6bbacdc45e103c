#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "draw/Emphasis.h"
#include "draw/Picture.h"

// Shows a display-list picture scaled to the widget, crisp at any device pixel ratio. With a
// describer it names what lies under the mouse in a tool tip, emphasises the city whose path
// is hovered, and pins it on a click.
class PictureView : public QWidget {
    Q_OBJECT
public:
    PictureView(const Picture* picture, QWidget* parent = nullptr);

    // What lies under a point given in twips: the tool tip's text (empty: none) and the city
    // whose path it is (0: none).
    struct Described {
        QString text;
        int city = 0;
    };
    void setDescriber(std::function<Described(float, float)> describe);
    // The text the tool tip would show for a point in widget pixels.
    QString describeAt(QPointF widgetPos) const;

    // The pinned city (0: none); a pin outlasts the mouse, hover emphasises only while the
    // mouse is on the path. The city drawn emphasised: the pinned one, else the hovered one.
    int pinned() const { return *pinned_; }
    void pin(int city);
    int emphasis() const { return *pinned_ ? *pinned_ : hovered_; }
    // Where the pin is kept: the window keeps it in its Form, so every picture shares it.
    void setPinStore(int* store) { pinned_ = store ? store : &ownPin_; }
    // The places brushed (a membership by place, core/Selection.h), emphasised with the pin.
    void setSelectionStore(const std::vector<char>* membership) { selection_ = membership; }
    Emphasised emphasised() const { return Emphasised(emphasis(), selection_); }
    // A point of the widget in the picture's twips.
    QPointF toTwips(QPointF widgetPos) const;

    // The picture was drawn anew: the images kept of it are stale.
    void pictureChanged();

signals:
    void pinChanged(int city);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Described describe(QPointF widgetPos) const;
    void setHovered(int city);
    // The picture as drawn, and with every path dimmed (the same whichever city is
    // emphasised), at the widget's size and pixel ratio: a change of emphasis repaints only
    // the emphasised path over the second.
    const QImage& cached(bool dimmed);

    const Picture* picture_;
    std::function<Described(float, float)> describe_;
    int hovered_ = 0;
    int ownPin_ = 0;
    int* pinned_ = &ownPin_;
    const std::vector<char>* selection_ = nullptr;
    QImage plain_, dimmed_;
};
