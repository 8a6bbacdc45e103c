#pragma once
#include <QWidget>

#include "draw/Picture.h"

// Shows a display-list picture scaled to the widget, crisp at any device pixel ratio.
class PictureView : public QWidget {
    Q_OBJECT
public:
    PictureView(const Picture* picture, QWidget* parent = nullptr);
    void setPicture(const Picture* picture) { picture_ = picture; update(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const Picture* picture_;
};
