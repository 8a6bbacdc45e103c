#include "Picture.h"

#include <cmath>

void Picture::Clear() {
    ops_.clear();
    ZoomArea = {};
    ZoomPanels.clear();
    mapping_ = false;
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
    CurrentX = x2;
    CurrentY = y2;
    if (mapping_) {
        double a = View.ToShownX(ZoomArea, x1), b = View.ToShownY(ZoomArea, y1);
        double c = View.ToShownX(ZoomArea, x2), d = View.ToShownY(ZoomArea, y2);
        if (!ClipToRect(a, b, c, d, ZoomArea)) return;
        op.x1 = static_cast<float>(a), op.y1 = static_cast<float>(b);
        op.x2 = static_cast<float>(c), op.y2 = static_cast<float>(d);
    }
    ops_.push_back(std::move(op));
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
    CurrentX = x;
    CurrentY = y;
    // A mark keeps its size in pixels at any zoom.
    if (mapping_ && !PlaceInView(op)) return;
    ops_.push_back(std::move(op));
}

bool Picture::PlaceInView(DrawOp& op) const {
    const double x = View.ToShownX(ZoomArea, op.x1), y = View.ToShownY(ZoomArea, op.y1), r = op.radius;
    const ViewRect& a = ZoomArea;
    if (x + r < a.left || x - r > a.right || y + r < a.top || y - r > a.bottom) return false;
    op.clip = x - r < a.left || x + r > a.right || y - r < a.top || y + r > a.bottom;
    op.x1 = static_cast<float>(x);
    op.y1 = static_cast<float>(y);
    return true;
}

void Picture::Disc(float x, float y, float r, Colour fill, Colour colour) {
    const std::size_t before = ops_.size();
    Circle(x, y, r, colour);
    if (ops_.size() > before) ops_.back().fill = fill;
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
    CurrentX = 0;
    CurrentY += TextHeight();
    // Text keeps its size; it is shown only where it starts inside the area.
    if (mapping_) {
        const double x = View.ToShownX(ZoomArea, op.x1), y = View.ToShownY(ZoomArea, op.y1);
        if (!ZoomArea.Contains(x, y)) return;
        op.x1 = static_cast<float>(x);
        op.y1 = static_cast<float>(y);
    }
    ops_.push_back(std::move(op));
}
