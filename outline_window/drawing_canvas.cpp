#include "outline_window/drawing_canvas.h"

namespace veltrix {

QPoint CirclePoint(int cx, int cy, int r, int angle) {
    switch (angle) {
        case 0:
        case 360:
            return {cx + r, cy};
        case 90:
            return {cx, cy - r};
        case 180:
            return {cx - r, cy};
        case 270:
            return {cx, cy + r};
        default:
            return {cx, cy};
    }
}

void DrawingCanvas::Arrowhead(int x, int y, int direction) {
    QPoint points[3];
    switch (direction) {
        case kArrowUp:
        case kArrowDown: {
            const int base = direction == kArrowUp ? y + 6 : y - 6;
            points[0] = {x, y};
            points[1] = {x + 2, base};
            points[2] = {x - 2, base};
            break;
        }
        case kArrowLeft:
        case kArrowRight: {
            const int base = direction == kArrowLeft ? x + 6 : x - 6;
            points[0] = {x, y};
            points[1] = {base, y - 2};
            points[2] = {base, y + 2};
            break;
        }
        default:
            return;
    }
    PixelLine(points[0], points[1]);
    PixelLine(points[1], points[2]);
    PixelLine(points[2], points[0]);
}

void DrawingCanvas::PolylineTable(const QPoint* table, int dx, int dy, double scale) {
    if (table == nullptr || table[0].isNull() || table[1].isNull()) return;
    const auto place = [&](const QPoint& p) {
        return QPoint(dx + static_cast<int>(p.x() * scale), dy + static_cast<int>(p.y() * scale));
    };
    for (const QPoint* p = table; !p[1].isNull(); ++p) PixelLine(place(p[0]), place(p[1]));
}

}  // namespace veltrix
