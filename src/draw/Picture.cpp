#include "Picture.h"

#include <cmath>

void Picture::Clear() {
    ops_.clear();
    CurrentX = 0;
    CurrentY = 0;
}

void Picture::Line(float x1, float y1, float x2, float y2, Colour colour) {
    DrawOp op;
    op.kind = OpKind::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.colour = colour;
    op.width = DrawWidth;
    op.tag = CurrentTag;
    ops_.push_back(std::move(op));
    CurrentX = x2;
    CurrentY = y2;
}

void Picture::LineTo(float x2, float y2, Colour colour) { Line(CurrentX, CurrentY, x2, y2, colour); }

void Picture::Circle(float x, float y, float r, Colour colour) {
    DrawOp op;
    op.kind = OpKind::Circle;
    op.x1 = x;
    op.y1 = y;
    op.radius = r;
    op.colour = colour;
    op.width = DrawWidth;
    op.tag = CurrentTag;
    ops_.push_back(std::move(op));
    CurrentX = x;
    CurrentY = y;
}

void Picture::Disc(float x, float y, float r, Colour fill, Colour colour) {
    Circle(x, y, r, colour);
    ops_.back().fill = fill;
}

float Picture::TextHeight() const {
    // A line of text is about 1.15 times the font's point size; 20 twips per point.
    return std::round(FontSize * 20.0f * 1.15f);
}

void Picture::Print(const std::string& text) {
    DrawOp op;
    op.kind = OpKind::Text;
    op.x1 = CurrentX;
    op.y1 = CurrentY;
    op.text = text;
    op.colour = ForeColor;
    op.fontSize = FontSize;
    op.bold = FontBold;
    op.tag = CurrentTag;
    ops_.push_back(std::move(op));
    CurrentX = 0;
    CurrentY += TextHeight();
}
