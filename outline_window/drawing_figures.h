#pragma once

#include <QString>
#include <initializer_list>

#include "outline_geometry/outline_geometry.h"
#include "outline_window/drawing_canvas.h"

namespace veltrix {

// One stroke of a dimension or an outline: a line drawn there and back (kind 0) or an arrowhead
// (kind = its direction).
struct Figure {
    int kind;
    int a, b, c, d;
};

constexpr Figure Ln(int x1, int y1, int x2, int y2) { return {0, x1, y1, x2, y2}; }
constexpr Figure Up(int x, int y) { return {kArrowUp, x, y, 0, 0}; }
constexpr Figure Dn(int x, int y) { return {kArrowDown, x, y, 0, 0}; }
constexpr Figure Lt(int x, int y) { return {kArrowLeft, x, y, 0, 0}; }
constexpr Figure Rt(int x, int y) { return {kArrowRight, x, y, 0, 0}; }

inline void DrawFigure(DrawingCanvas& canvas, const Figure& f) {
    if (f.kind == 0) {
        canvas.DimLine(f.a, f.b, f.c, f.d);
    } else {
        canvas.Arrowhead(f.a, f.b, f.kind);
    }
}

inline void DrawFigures(DrawingCanvas& canvas, std::initializer_list<Figure> figures) {
    for (const Figure& f : figures) DrawFigure(canvas, f);
}

// A dimension's texts at their places, in the current font and colours.
inline void WriteDimension(DrawingCanvas& canvas, const DimensionTexts& texts, int number) {
    const auto it = texts.find(number);
    if (it == texts.end()) return;
    for (const PlacedText& t : it->second) canvas.TextOut(t.x, t.y, QString::fromStdString(t.text));
}

}  // namespace veltrix
