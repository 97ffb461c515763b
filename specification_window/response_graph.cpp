#include "specification_window/response_graph.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace veltrix {

namespace {

constexpr double kSeries[3] = {1.0, 2.0, 5.0};
// Far more steps than any finite double needs; only a degenerate input reaches it.
constexpr int kMaxSeriesSteps = 2000;
// Keeps pixel arithmetic inside int for values far off the page.
constexpr double kPixelLimit = 1.0e6;

// y of a value on the page, or false for a value that has no place (not a number).
bool CurveY(double scale, double value, int& y) {
    const double v = kGraphTop + scale * value;
    if (std::isnan(v)) return false;
    y = static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
    return true;
}

double Largest(const PlotBuffer& buffer, int count) {
    double largest = 0.0;
    bool any = false;
    for (int j = 1; j <= count; ++j) {
        if (std::isnan(buffer[j])) continue;
        largest = any ? std::max(largest, buffer[j]) : buffer[j];
        any = true;
    }
    return largest;
}

PlotBuffer Copy(const std::array<double, kSweepCapacity>& sweep) { return sweep; }

}  // namespace

int PixelRound(double v) {
    if (std::isnan(v)) return 0;
    v = std::clamp(v, -kPixelLimit, kPixelLimit);
    int n = static_cast<int>(v);
    if (n >= 1 && v - n > 0.5) ++n;
    return n;
}

GraphColumns GraphColumnsFor(double sweepCount) {
    GraphColumns columns;
    if (!(sweepCount >= 0.0)) return columns;
    columns.count = static_cast<int>(std::min(sweepCount, static_cast<double>(kSweepCapacity - 1)));
    if (columns.count >= 2) columns.dx = kGraphWidth / (columns.count - 1);
    columns.right = kGraphLeft + (columns.count >= 1 ? (columns.count - 1) * columns.dx : 0);
    return columns;
}

FrequencyDivision ComputeFrequencyDivision(int dx, double sweepStep, double sweepStart) {
    FrequencyDivision fd;
    fd.firstGrid = sweepStart;
    const double p = dx / sweepStep;
    fd.pixelsPerMHz = p;
    if (!(p > 0.0) || !std::isfinite(p) || !std::isfinite(sweepStart)) return fd;

    double s = 1.0;
    double d = 1.0;
    int m = 1;
    int steps = 0;
    if (s * p > 45.0) {
        while (s * p > 45.0 && steps++ < kMaxSeriesSteps) {
            s = d / kSeries[m];
            if (++m == 3) {
                m = 0;
                d = d * 0.1;
            }
        }
    } else {
        while (s * p < 15.0 && steps++ < kMaxSeriesSteps) {
            s = d * kSeries[m];
            if (++m == 3) {
                m = 0;
                d = d * 10.0;
            }
        }
    }
    if (!(s > 0.0) || !std::isfinite(s) || steps > kMaxSeriesSteps) return fd;

    double g = std::ceil(sweepStart / s) * s;
    if (g < sweepStart) g = g + s;
    fd.division = s;
    fd.firstGrid = g;
    fd.firstOffset = (g - sweepStart) * p;
    fd.valid = std::isfinite(fd.firstOffset);
    return fd;
}

AxisDivision AxisScale(double largest) {
    AxisDivision result;
    if (!(largest > 0.0) || !std::isfinite(largest)) return result;

    // u = kSeries[m] * 10^e, starting at 10.
    int m = 0;
    int e = 1;
    for (int step = 0; step < kMaxSeriesSteps; ++step) {
        const double u = kSeries[m] * std::pow(10.0, e);
        const double k = 40.0 / u;
        const double h = largest * k;
        if (h < 0.4 * kGraphHeight) {
            if (--m < 0) {
                m = 2;
                --e;
            }
        } else if (h > kGraphHeight) {
            if (++m > 2) {
                m = 0;
                ++e;
            }
        } else {
            result.division = u;
            result.scale = k;
            return result;
        }
    }
    return AxisDivision{};
}

double DelayAxisBottom(double largest, double division) {
    double t = division;
    for (int step = 0; t < largest && step < kMaxSeriesSteps; ++step) t += division;
    return t;
}

void DrawCurve(PageCanvas& canvas, const PlotBuffer& buffer, const GraphColumns& columns, double scale) {
    // Every segment there and back; a point without a place breaks the curve.
    QPolygon run;
    run.reserve(columns.count);
    auto flush = [&] {
        if (run.size() >= 2) canvas.ThereAndBack(run);
        run.clear();
    };
    for (int j = 1; j <= columns.count; ++j) {
        int y = 0;
        if (!CurveY(scale, buffer[j], y)) {
            flush();
            continue;
        }
        run.append(QPoint(kGraphLeft + (j - 1) * columns.dx, y));
    }
    flush();
}

void DrawResponseGraph(PageCanvas& canvas, const ResponseData& rd, const DisplaySettings& display,
                       GraphWidthCaption caption) {
    const GraphColumns columns = GraphColumnsFor(rd.SweepCount);
    const FrequencyDivision fd = ComputeFrequencyDivision(columns.dx, rd.SweepStep, rd.SweepStart);

    canvas.SetPen(kPageYellow);
    canvas.SetBrush(kPageBlack);
    canvas.SetFont(display.FontName, display.FontSizeTiny);
    canvas.SetFontColour(kPageWhite);
    canvas.TextOut(355, 30, FormatC("%7.1f", rd.SweepStart));
    canvas.TextOut(560, 30, FormatC("%7.1f", rd.SweepStop));
    canvas.TextOut(420, 10, FormatC("1st div. = %.4g %s  ", fd.firstGrid, "MHz"));

    canvas.SetPen(kPageWhite);
    canvas.Rectangle(386, 46, 574, 374);

    canvas.SetPen(kPageGrey);
    if (fd.valid) {
        const double width = fd.division * fd.pixelsPerMHz;
        double offset = fd.firstOffset;
        for (int i = 0; i < kMaxSeriesSteps; ++i, offset += width) {
            const int x = kGraphLeft + PixelRound(offset);
            if (x > columns.right) break;
            canvas.ThereAndBack(QPolygon({QPoint(x, kGraphTop), QPoint(x, kGraphTop + kGraphHeight)}));
        }
    }
    for (int i = 0; i <= 8; ++i) {
        const int y = kGraphTop + kGraphDivision * i;
        canvas.ThereAndBack(QPolygon({QPoint(kGraphLeft, y), QPoint(kGraphLeft + kGraphWidth, y)}));
    }

    // Group delay: its axis runs downwards, with the rounded-up largest delay on the bottom line.
    PlotBuffer buffer = Copy(rd.SweepDelay);
    const double largestDelay = Largest(buffer, columns.count);
    const AxisDivision delay = AxisScale(largestDelay);
    const double bottom = DelayAxisBottom(largestDelay, delay.division);
    canvas.SetFontColour(kPageCyan);
    canvas.SetPen(kPageCyan, 1);
    canvas.TextOut(595, 385, "ns");
    for (int i = 0; i <= 7; ++i) {
        const double value = bottom - i * delay.division;
        canvas.TextOut(588, 366 - kGraphDivision * i,
                       value < 0.0 ? QStringLiteral("     ") : FormatC("%5.0f", value));
    }
    const double lift = 8.0 * delay.division - bottom;
    for (int j = 1; j <= columns.count; ++j) buffer[j] = buffer[j] + lift;
    DrawCurve(canvas, buffer, columns, delay.scale);
    canvas.TextOut(588, 346, "Delay");

    // Return loss on a fixed scale: 5 dB per division, 0 dB on the top line.
    canvas.SetPen(kPageMagenta, 2);
    buffer = Copy(rd.SweepReturnLoss);
    DrawCurve(canvas, buffer, columns, kGraphHeight * 0.025);
    canvas.SetPenWidth(1);

    canvas.SetFontColour(kPageWhite);
    canvas.SetPen(kPageYellow);
    buffer = Copy(rd.SweepAtten);
    const AxisDivision atten = AxisScale(Largest(buffer, columns.count));
    canvas.TextOut(420, 25, FormatC("%4.1f MHz/div.", fd.division));
    canvas.SetPenWidth(2);
    DrawCurve(canvas, buffer, columns, atten.scale);
    canvas.SetPenWidth(1);

    canvas.SetFontColour(kPageYellow);
    canvas.TextOut(355, 60, "dBc");
    canvas.SetFontColour(kPageMagenta);
    canvas.TextOut(580, 60, "dB");

    for (int i = 0; i <= 7; ++i) {
        const int y = 86 + kGraphDivision * i;
        const double value = (i + 1) * atten.division;
        canvas.SetFontColour(kPageYellow);
        canvas.TextOut(350, y, FormatC(8.0 * atten.division < 100.0 ? "%4.1f" : "%4.0f", value));
        const int returnLoss = 5 * (i + 1);
        if (returnLoss < 21) {
            canvas.SetFontColour(kPageMagenta);
            canvas.TextOut(580, y, FormatC("%g", static_cast<double>(returnLoss)));
        }
    }

    if (caption == GraphWidthCaption::Omitted) return;
    canvas.SetFontColour(kPageWhite);
    canvas.TextOut(390, 385, "Graph Width =");
}

void DrawResponseGraph(QPainter& painter, const ResponseData& rd, const DisplaySettings& display) {
    PageCanvas canvas(painter);
    DrawResponseGraph(canvas, rd, display);
}

}  // namespace veltrix
