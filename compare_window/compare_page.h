#pragma once

#include <QColor>
#include <QPen>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "compare/compare.h"
#include "platform/page_canvas.h"

namespace veltrix {

// Where the window's paint puts its parts, for the paint and for the mouse alike.
struct CompareLayout {
    QRect Attenuation;
    QRect ReturnLoss;
    QRect Delay;
    QRect Legend;
    QRect Table;
    int LegendRowHeight = 0;
};
CompareLayout LayoutFor(QSize clientSize, int fontPixels);

// The trace colours as the screen's light-on-black page draws them; a printout inverts them to dark on white.
const QColor& TraceColour(int index);
// A measured file's colour, drawn dashed.
const QColor& MeasuredColour();

// The top graph: attenuation relative to each curve's loss at F0, or the insertion loss itself.
enum class CompareView { Dbc, InsertionLoss };

// Each part's own dash pattern (the measured file's after the parts'), so the curves stay apart in a
// greyscale printout; the chosen legend row's curve is drawn heavier.
QPen TracePen(int index, bool chosen);
constexpr int kMeasuredTrace = kMaxComparedParts;

// One line of the table beside the graph: its cells from the given column on (0 names the row,
// 1 to 3 are figures), all in one colour, after half a line of space where a block begins.
struct CompareTableLine {
    QStringList Cells;
    int FirstColumn = 0;
    QColor Colour;
    bool GapBefore = false;
};
// What the table shows beside the comparison itself. With a text width the sample's long lines are
// broken at spaces to fit `Width`; without one (the clipboard) they stay whole.
struct CompareTableOptions {
    CompareView View = CompareView::Dbc;
    bool ReferenceChosen = false;  // the measured file's reference part was chosen in the legend
    std::function<int(const QString&)> TextWidth;
    int Width = 0;
};
// The marker's figures, the requirement, each part's margins and the sample's at the required points,
// the measured file's deviations and the sample's judgement with its verdict, as the window shows them.
std::vector<CompareTableLine> CompareTableLines(const Comparison& comparison,
                                                const CompareTableOptions& options);
// The lines as tab-separated text, one line each, a blank line between blocks.
QString CompareTableText(const std::vector<CompareTableLine>& lines);
// The height the lines take at the given line height.
int CompareTableHeight(const std::vector<CompareTableLine>& lines, int line);

// What the page shows beside the comparison itself.
struct ComparePageView {
    CompareView View = CompareView::Dbc;
    bool ReferenceChosen = false;
    int Selected = -1;  // the legend's chosen row: a part, or after the parts the measured file
    bool Focused = false;
};

// The whole page in the canvas's current font: title, panes and their scales, limits, curves,
// marker, legend and table.
void DrawComparePage(PageCanvas& canvas, const Comparison& comparison, const ComparePageView& view,
                     const CompareLayout& layout);

}  // namespace veltrix
