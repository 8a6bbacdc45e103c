#pragma once
#include <QWidget>
#include <functional>

#include "draw/Picture.h"

// Shows a display-list picture scaled to the widget, crisp at any device pixel ratio.
class PictureView : public QWidget {
    Q_OBJECT
public:
    PictureView(const Picture* picture, QWidget* parent = nullptr);
    // Tells what lies under a point given in twips; an empty text shows no tool tip.
    void setDescriber(std::function<QString(float, float)> describe);
    // The text the tool tip would show for a point in widget pixels.
    QString describeAt(QPointF widgetPos) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const Picture* picture_;
    std::function<QString(float, float)> describe_;
};
