#include "draw/HitTest.h"

#include <algorithm>
#include <cmath>

namespace {

double SegmentDistance(const DrawOp& op, double x, double y) {
    double dx = op.x2 - op.x1, dy = op.y2 - op.y1;
    double len2 = dx * dx + dy * dy;
    double s = len2 > 0 ? ((x - op.x1) * dx + (y - op.y1) * dy) / len2 : 0.0;
    s = std::clamp(s, 0.0, 1.0);
    return std::hypot(x - (op.x1 + s * dx), y - (op.y1 + s * dy));
}

}  // namespace

std::optional<Hit> HitTest(const Picture& picture, float x, float y, float tolerance) {
    const auto& ops = picture.Ops();
    for (std::size_t i = ops.size(); i-- > 0;) {
        const DrawOp& op = ops[i];
        if (op.tag.city == 0 && op.tag.date == 0) continue;
        // DrawWidth is in pixels; a pixel is 15 twips.
        double reach = tolerance + 7.5 * op.width;
        double dist;
        if (op.kind == OpKind::Line)
            dist = SegmentDistance(op, x, y);
        else if (op.kind == OpKind::Circle && op.fill >= 0)  // a disc: anywhere inside
            dist = std::max(0.0, std::hypot(x - op.x1, y - op.y1) - static_cast<double>(op.radius));
        else if (op.kind == OpKind::Circle)
            dist = std::fabs(std::hypot(x - op.x1, y - op.y1) - op.radius);
        else
            continue;
        if (dist <= reach) return Hit{i, op.tag};
    }
    return std::nullopt;
}
