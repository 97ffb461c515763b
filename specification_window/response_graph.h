#pragma once

#include <array>
#include <string>

#include "engine/response.h"
#include "platform/page_canvas.h"
#include "program/display_settings.h"

class QPainter;

namespace veltrix {

// Plot area of the response graph, in picture pixels.
constexpr int kGraphLeft = 390;
constexpr int kGraphTop = 50;
constexpr int kGraphWidth = 180;
constexpr int kGraphHeight = 320;
constexpr int kGraphDivision = kGraphHeight / 8;

// Pixel rounding of the grid: toward zero, and up only from 1 on when the fraction exceeds a half.
int PixelRound(double v);

// Points of the stored sweep the graph draws (1..count) and the pixels between them.
struct GraphColumns {
    int count = 0;
    int dx = 0;
    int right = kGraphLeft;  // x of the last point
};
GraphColumns GraphColumnsFor(double sweepCount);

// The frequency grid: a 1-2-5 division between 15 and 45 pixels wide and the first line on it.
struct FrequencyDivision {
    double pixelsPerMHz = 0.0;
    double division = 1.0;     // MHz
    double firstGrid = 0.0;    // MHz
    double firstOffset = 0.0;  // pixels from the left edge of the plot
    bool valid = false;        // false when the sweep gives no usable pixels per MHz
};
FrequencyDivision ComputeFrequencyDivision(int dx, double sweepStep, double sweepStart);

// A vertical scale: value per 40-pixel division and pixels per unit.
struct AxisDivision {
    double division = 10.0;
    double scale = 4.0;
};
// Chooses the 1-2-5 division that puts the largest value between 3.2 and 8 divisions. A largest
// value that is not a positive finite number has no such division; it gets the starting one (10).
AxisDivision AxisScale(double largest);
// The smallest multiple of the division at or above the largest value (the delay axis's bottom line).
double DelayAxisBottom(double largest, double division);

using PlotBuffer = std::array<double, kSweepCapacity>;

// The buffer's points 1..count as a polyline, each segment drawn there and back; y = 50 + scale * value.
void DrawCurve(PageCanvas& canvas, const PlotBuffer& buffer, const GraphColumns& columns, double scale);

// Whether the graph writes "Graph Width =" for the screen's list beside it; a page without the list omits it.
enum class GraphWidthCaption { Shown, Omitted };

// Adds the graph of the stored sweep (frame, grid, delay, return loss, attenuation, labels).
void DrawResponseGraph(PageCanvas& canvas, const ResponseData& rd, const DisplaySettings& display,
                       GraphWidthCaption caption = GraphWidthCaption::Shown);
void DrawResponseGraph(QPainter& painter, const ResponseData& rd, const DisplaySettings& display);

}  // namespace veltrix
