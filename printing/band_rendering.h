#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

#include "printing/band_geometry.h"
#include "printing/colour_reduction.h"

namespace veltrix {

class PaintedForm;

// The window's whole client picture: the client size, or the scroll range where the client is smaller.
QSize GetFormExtent(PaintedForm& form);
// The scroll position in each direction where the client is smaller than the scroll range, else 0.
QPoint GetFormScrollOffset(PaintedForm& form);

// The screen's size in pixels (a usual desktop size when there is no screen).
QSize ScreenBandSize();

// Renders one band's source region of the window into an off-screen 32-bit image: the window's
// paint, then its non-windowed children, then its windowed children. goOn is asked before each
// step after the paint; a null image when it said stop.
QImage RenderBandSource(PaintedForm& form, const QRect& sourceRegion, QPoint scrollOffset,
                        const std::function<bool()>& goOn);

// The pixels of a 32-bit image (Format_RGB32 or ARGB32), for the colour reduction.
PixelView PixelsOf(const QImage& image);

inline PixelSize ToPixelSize(QSize size) { return {size.width(), size.height()}; }
inline PixelRect ToPixelRect(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }
inline PixelPoint ToPixelPoint(QPoint point) { return {point.x(), point.y()}; }
inline QRect ToQRect(const PixelRect& rect) { return {rect.Left, rect.Top, rect.Width, rect.Height}; }

}  // namespace veltrix
