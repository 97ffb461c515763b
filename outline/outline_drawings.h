#pragma once

#include "engine/filter_spec.h"
#include "outline/drawing_canvas.h"
#include "program/display_settings.h"

namespace veltrix {

// The drawing's own colours besides the display settings' two drawing colours.
inline const QColor kOutlineBlack(0, 0, 0);
inline const QColor kOutlineWhite(255, 255, 255);
inline const QColor kOutlineBlue(0, 0, 255);
inline const QColor kOutlineMagenta(255, 0, 255);
inline const QColor kOutlineYellow(255, 255, 0);
inline const QColor kOutlineGreen(0, 255, 0);
inline const QColor kOutlineSilver(192, 192, 192);
inline const QColor kOutlineDarkGreen(0, 128, 0);
inline const QColor kOutlineRed(255, 0, 0);

// The dimension texts' face; the display settings' face serves the frame texts.
inline const char* const kDimensionFace = "Terminal";
inline constexpr int kDimensionPoints = 9;

// The whole outline of a valid specification: the drawing for its mounting inside the common frame
// of title, part line, tolerance line and note.
void DrawOutline(DrawingCanvas& canvas, const FilterSpec& spec, const DisplaySettings& display);

void DrawDropIn(DrawingCanvas& canvas, const FilterSpec& spec, const DisplaySettings& display);
void DrawSurfaceMountTab(DrawingCanvas& canvas, const FilterSpec& spec, const DisplaySettings& display);
void DrawLeadless(DrawingCanvas& canvas, const FilterSpec& spec, const DisplaySettings& display);

}  // namespace veltrix
