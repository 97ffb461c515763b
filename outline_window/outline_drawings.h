#pragma once

#include "engine/filter_spec.h"
#include "outline_window/drawing_canvas.h"
#include "program/display_settings.h"

namespace veltrix {

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
