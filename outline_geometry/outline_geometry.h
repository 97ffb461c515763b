#pragma once

// Dimension values, texts and their places on the outline drawings, with no windowing code, so the
// window, the companion and the tests share one source. All positions are picture pixels: x to the
// right, y downward, (0, 0) at the picture's top-left (the window shows the picture from row 50).
//
// Companion use: OutlineFor(spec, units) gives std::nullopt where the outline screen shows a notice,
// otherwise the title (with its trailing blanks; "" for mountings without one), the part line, the
// tolerance line and, per dimension number, its texts in drawing order with their left-top points.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/filter_spec.h"

namespace veltrix {

// Value in inches shown in the given units.
double ToDisplayUnits(double inches, DrawingUnits units);

// The drawings' number formats in inches / in millimetres.
std::string FormatStd(double value, DrawingUnits units);   // "%.2f" / "%.1f"
std::string FormatFine(double value, DrawingUnits units);  // "%.3f" / "%.2f"
std::string FormatMax(double value, DrawingUnits units);   // "%.2f max" / "%.1f max"
std::string FormatTyp(double value, DrawingUnits units);   // "%.2f typ" / "%.1f typ"

struct PlacedText {
    std::string text;  // UTF-8
    int x = 0;
    int y = 0;
    bool operator==(const PlacedText&) const = default;
};

using DimensionTexts = std::map<int, std::vector<PlacedText>>;

struct OutlineTexts {
    std::string title;
    std::string part;
    std::string tolerance;
    DimensionTexts dimensions;
};

// The two lines the outline screen shows instead of a drawing, or nothing when it shows the drawing.
// The leadless notice for the 12 mm profile comes first, whatever the selection status holds.
std::optional<std::vector<std::string>> OutlineNotice(const FilterSpec& spec);

// Everything the outline screen writes for the specification in the given units; std::nullopt when
// the screen shows a notice instead.
std::optional<OutlineTexts> OutlineFor(const FilterSpec& spec, DrawingUnits units);

// What a screen reader says of the outline screen: the part, the mounting drawn and the units, or the
// notice lines when the screen shows a notice.
std::string OutlineDescription(const FilterSpec& spec, DrawingUnits units);

// The common frame's texts.
std::string OutlineTitle(MountingStyle mounting);
std::string ToleranceLine(DrawingUnits units);

// Dimension texts of each drawing (empty for mountings without a drawing).
DimensionTexts DropInDimensions(const FilterSpec& spec, DrawingUnits units);
DimensionTexts TabDimensions(const FilterSpec& spec, DrawingUnits units);
DimensionTexts LeadlessDimensions(const FilterSpec& spec, DrawingUnits units);

// The parametric layout of the leadless package, in picture pixels unless named otherwise.
struct LeadlessGeometry {
    int sections = 2;
    ResonatorProfile profile = ResonatorProfile::Mm4;
    int length = 0;       // L
    int heightClass = 1;  // k
    double bodyHeightInches = 0.0;
    int height = 0;                // H
    int innerDepth = 0;            // D
    double resonatorLength = 0.0;  // inches
    bool protrusion = false;       // P
    double pitch = 0.0;            // inches
    double endMargin = 0.0;        // inches
    double thickness = 0.0;        // inches
    // Resonator centres relative to the view's left edge X, first to last.
    std::vector<int> centres;
    // Edge notch rows relative to the view's top Y.
    std::vector<int> notchRows;
};

LeadlessGeometry LeadlessFor(const FilterSpec& spec);

}  // namespace veltrix
