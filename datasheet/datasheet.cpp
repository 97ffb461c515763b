#include "datasheet/datasheet.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPicture>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

#include "engine/choices.h"
#include "engine/response.h"
#include "engine/rules.h"
#include "engine/tolerance_texts.h"
#include "outline_window/drawing_canvas.h"
#include "outline_window/outline_drawings.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "platform/page_canvas.h"
#include "platform/user_file_reporting.h"
#include "printing/vector_export.h"
#include "product_texts/page_texts.h"
#include "version/version.h"

namespace veltrix {
namespace {

// Page geometry in pixels of a 96-dpi display.
constexpr double kMarginX = 60;
constexpr double kMarginTop = 48;
constexpr double kMarginBottom = 56;
constexpr double kFooterGap = 18;
constexpr int kBodyPixels = 13;
constexpr int kReportPixels = 10;
constexpr double kMaxFigureScale = 1.25;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont Sans(int pixels, bool bold = false, bool italic = false) {
    QFont font = PixelFont(QStringLiteral("Arial"), pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont Mono(int pixels) { return PixelFont(QStringLiteral("Courier New"), pixels); }

QSizeF PageSize96(Paper paper) { return PageSizeOf(paper).size(QPageSize::Inch) * 96.0; }

// Writes text with its top-left at (x, y); returns the y below it.
double Put(QPainter& painter, double x, double y, const QString& text, const QFont& font) {
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
    return y + metrics.lineSpacing();
}

double PutRight(QPainter& painter, double right, double y, const QString& text, const QFont& font) {
    return Put(painter, right - QFontMetricsF(font).horizontalAdvance(text), y, text, font);
}

double Heading(QPainter& painter, double x, double y, double width, const QString& text) {
    const double below = Put(painter, x, y, text, Sans(15, true));
    painter.fillRect(QRectF(x, below + 1, width, 1), QColor(96, 96, 96));
    return below + 8;
}

// Replays a light-on-black page picture dark on white, the area scaled into the box's top left.
QRectF PlaceInverted(QPainter& painter, const QPicture& picture, const QRect& bounds, const QPointF& at,
                     double scale, PaperColours colours = InvertedColour) {
    painter.save();
    painter.translate(at);
    painter.scale(scale, scale);
    painter.translate(-bounds.topLeft());
    PlayInverted(picture, painter, QRegion(), colours);
    painter.restore();
    return QRectF(at, QSizeF(bounds.size()) * scale);
}

QPicture OutlinePicture(FilterSpec spec, DrawingUnits units, const DisplaySettings& display) {
    spec.Units = units;
    QPicture picture;
    QPainter recorder(&picture);
    DrawingCanvas canvas(recorder);
    DrawOutline(canvas, spec, display);
    canvas.Flush();
    recorder.end();
    return picture;
}

struct Page {
    QSizeF size;
    double left = kMarginX;
    double right = 0;
    double top = kMarginTop;
    double bottom = 0;  // where the footer begins
    double width() const { return right - left; }
};

Page PageOf(Paper paper) {
    Page page;
    page.size = PageSize96(paper);
    page.right = page.size.width() - kMarginX;
    page.bottom = page.size.height() - kMarginBottom - kFooterGap;
    return page;
}

double ReportLineHeight() { return std::ceil(QFontMetricsF(Mono(kReportPixels)).lineSpacing()); }

constexpr int kReportColumns = 2;

// What "dB" means in the report, beside page 1's dBc.
const QStringList& ReportExplanation() {
    static const QStringList lines{
        QStringLiteral(
            "Attenuation in the table is the absolute loss in dB: the insertion loss at F0 included."),
        QStringLiteral(
            "The stopband points below it, the electrical table and the graph give dBc, relative to "
            "the loss at F0."),
    };
    return lines;
}

double ReportHeadingHeight() {
    return 32 + ReportExplanation().size() * QFontMetricsF(Sans(11)).lineSpacing() + 8;
}

// The report's lines in one column of a page, under the page's heading.
int ReportLinesPerColumn(const Page& page) {
    return std::max(
        1, static_cast<int>((page.bottom - (page.top + ReportHeadingHeight())) / ReportLineHeight()));
}

std::vector<ReportPage> ReportPages(const DatasheetContent& sheet, const Page& page) {
    return PaginateReport(SplitReport(sheet.Report), ReportLinesPerColumn(page), kReportColumns);
}

void PaintReportPage(QPainter& painter, const Page& page, const ReportParts& parts, const ReportPage& part,
                     bool first) {
    double y = Heading(painter, page.left, page.top, page.width(),
                       first ? QStringLiteral("Tabular data") : QStringLiteral("Tabular data (continued)"));
    for (const QString& line : ReportExplanation())
        y = Put(painter, page.left, y, line, Sans(11, false, true));
    y += 8;
    const QFont mono = Mono(kReportPixels);
    const double lineHeight = ReportLineHeight();
    const double ascent = QFontMetricsF(mono).ascent();
    painter.setFont(mono);
    // The report's lines start with two blanks for the window's margin; the page has its own.
    const auto line = [&](double x, double at, const std::string& text) {
        const size_t margin = std::min<size_t>(2, text.find_first_not_of(' '));
        painter.drawText(QPointF(x, at + ascent),
                         QString::fromStdString(text.substr(std::min(margin, text.size()))));
    };
    if (part.Titled && !parts.Title.empty()) {
        for (const std::string& text : parts.Title) {
            line(page.left, y, text);
            y += lineHeight;
        }
        y += lineHeight;
    }
    const double columnWidth = page.width() / kReportColumns;
    const int depth = (part.RowCount + kReportColumns - 1) / kReportColumns;
    // The tail ends the last column, so that the columns read top to bottom, left to right.
    double tailX = page.left;
    double tailY = y;
    for (int c = 0; c < kReportColumns; ++c) {
        const int from = part.FirstRow + c * depth;
        const int to = std::min(part.FirstRow + part.RowCount, from + depth);
        if (from >= to) continue;
        const double x = page.left + c * columnWidth;
        line(x, y, parts.ColumnHeading);
        painter.fillRect(QRectF(x, y + lineHeight + 1, columnWidth - 16, 0.5), QColor(96, 96, 96));
        double at = y + 2 * lineHeight;
        for (int i = from; i < to; ++i, at += lineHeight) line(x, at, parts.Rows[size_t(i)]);
        tailX = x;
        tailY = at + lineHeight;
    }
    if (part.Tailed) {
        for (const std::string& text : parts.Tail) {
            line(tailX, tailY, text);
            tailY += lineHeight;
        }
    }
}

void Footer(QPainter& painter, const Page& page, const DatasheetContent& sheet, int number, int count) {
    const QFont small = Sans(10);
    const double y = page.size.height() - kMarginBottom;
    painter.fillRect(QRectF(page.left, y - 4, page.width(), 0.75), QColor(96, 96, 96));
    Put(painter, page.left, y,
        QStringLiteral("Veltrix " VELTRIX_VERSION " datasheet: ") + Text(sheet.PartNumber), small);
    PutRight(painter, page.right, y, QStringLiteral("Page %1 of %2").arg(number).arg(count), small);
}

void PaintLogo(QPainter& painter, const QPointF& at) {
    QSvgRenderer logo(kLogoArtwork);
    if (!logo.isValid()) return;
    QPicture artwork;
    {
        QPainter recorder(&artwork);
        logo.render(&recorder, QRectF(QPointF(0, 0), QSizeF(logo.defaultSize())));
    }
    painter.save();
    painter.translate(at);
    PlayInverted(artwork, painter);
    painter.restore();
}

// The curves' inks: each reads on white at 4.5 : 1 or better, and their greys lie far apart.
const QColor kAttenuationInk(0x1A, 0x23, 0x7E);
const QColor kReturnLossInk(0xC6, 0x28, 0x28);
const QColor kDelayInk(0x00, 0x00, 0x00);
const QColor kGridInk(0xC8, 0xC8, 0xC8);
const QColor kFrameInk(0x40, 0x40, 0x40);
const QColor kMarkInk(0x42, 0x42, 0x42);
const QColor kBandShade(0xEE, 0xEE, 0xEE);
// The requirement's limits are near black and told apart by their shape: in grey every hue that reads
// on white falls close to one of the curves' greys.
const QColor kLimitInk(0x21, 0x21, 0x21);
const QColor kPassInk(0x1B, 0x5E, 0x20);
const QColor kFailInk(0xB7, 0x1C, 0x1C);

// A 1-2-5 division that puts the range in at most maxDivisions.
double NiceDivision(double range, int maxDivisions) {
    if (!(range > 0.0) || !std::isfinite(range)) return 1.0;
    double unit = std::pow(10.0, std::floor(std::log10(range / maxDivisions)));
    for (;;) {
        for (const double m : {1.0, 2.0, 5.0})
            if (range / (m * unit) <= maxDivisions) return m * unit;
        unit *= 10.0;
    }
}

QString Number(double value, int decimals) { return QString::number(value, 'f', decimals); }

int DecimalsOf(double division) { return division >= 1.0 ? 0 : division >= 0.1 ? 1 : 2; }

// The sweep's points 1..count as they are stored.
struct SweepView {
    const ResponseData& rd;
    int count() const { return std::clamp(static_cast<int>(rd.SweepCount), 0, kSweepCapacity - 1); }
    double f(int k) const { return (k - 1) * rd.SweepStep + rd.SweepStart; }
    double last() const { return f(count()); }
};

double Largest(const std::array<double, kSweepCapacity>& values, int count) {
    double largest = 0.0;
    for (int k = 1; k <= count; ++k)
        if (std::isfinite(values[size_t(k)])) largest = std::max(largest, values[size_t(k)]);
    return largest;
}

// A vertical scale from 0 to its bottom value, in whole divisions.
struct Scale {
    double division = 1.0;
    double full = 1.0;
};

Scale ScaleFor(double largest, int maxDivisions) {
    Scale scale;
    scale.division = NiceDivision(std::max(largest, 1.0), maxDivisions);
    scale.full = std::max(1.0, std::ceil(largest / scale.division)) * scale.division;
    return scale;
}

void Curve(QPainter& painter, const SweepView& sweep, const std::array<double, kSweepCapacity>& values,
           const std::function<QPointF(double, double)>& at, const QPen& pen, const QRectF& clip) {
    QPainterPath path;
    bool open = false;
    for (int k = 1; k <= sweep.count(); ++k) {
        const double v = values[size_t(k)];
        if (!std::isfinite(v)) {
            open = false;
            continue;
        }
        const QPointF p = at(sweep.f(k), v);
        if (open) {
            path.lineTo(p);
        } else {
            path.moveTo(p);
            open = true;
        }
    }
    painter.save();
    painter.setClipRect(clip);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

QPen CurvePen(const QColor& ink, Qt::PenStyle style) {
    QPen pen(ink, 1.6, style, Qt::FlatCap, Qt::RoundJoin);
    if (style == Qt::DashLine) pen.setDashPattern({5.0, 2.5});
    return pen;
}

// The frequency grid of one plot and, below it when asked, its labels.
void FrequencyGrid(QPainter& painter, const QRectF& plot, const SweepView& sweep, double division,
                   bool labelled) {
    const double first = std::ceil(sweep.f(1) / division - 1e-9) * division;
    const QFont small = Sans(10);
    const double span = sweep.last() - sweep.f(1);
    for (double f = first; f <= sweep.last() + 1e-9 * division; f += division) {
        const double x = plot.left() + (f - sweep.f(1)) / span * plot.width();
        painter.fillRect(QRectF(x - 0.25, plot.top(), 0.5, plot.height()), kGridInk);
        if (!labelled) continue;
        const QString text = Number(f, DecimalsOf(division));
        Put(painter, x - QFontMetricsF(small).horizontalAdvance(text) / 2, plot.bottom() + 3, text, small);
    }
}

// A horizontal grid of n divisions with the scale's values at the side, 0 at the top or the bottom.
void ValueScale(QPainter& painter, const QRectF& plot, const Scale& scale, bool right, bool zeroAtTop,
                const QColor& ink) {
    const QFont small = Sans(10);
    const int divisions = static_cast<int>(std::lround(scale.full / scale.division));
    for (int i = 0; i <= divisions; ++i) {
        const double y = plot.top() + plot.height() * i / divisions;
        if (!right) painter.fillRect(QRectF(plot.left(), y - 0.25, plot.width(), 0.5), kGridInk);
        const double value = (zeroAtTop ? i : divisions - i) * scale.division;
        const QString text = Number(value, DecimalsOf(scale.division));
        const double ascent = QFontMetricsF(small).ascent();
        painter.setPen(ink);
        if (right)
            Put(painter, plot.right() + 4, y - ascent / 2 - 1, text, small);
        else
            PutRight(painter, plot.left() - 4, y - ascent / 2 - 1, text, small);
    }
    painter.setPen(Qt::black);
}

// An axis title written upwards beside the plot.
void SideTitle(QPainter& painter, const QRectF& plot, double x, const QString& text, const QColor& ink) {
    const QFont font = Sans(11, true);
    painter.save();
    painter.setPen(ink);
    painter.setFont(font);
    painter.translate(x, plot.center().y() + QFontMetricsF(font).horizontalAdvance(text) / 2);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), text);
    painter.restore();
}

struct Marker {
    QString name;
    double f;
};

// The stopband points inside the span as dotted lines across the plots, named above the first.
void MarkPoints(QPainter& painter, const std::vector<QRectF>& plots, const SweepView& sweep,
                const std::vector<Marker>& markers) {
    const double span = sweep.last() - sweep.f(1);
    const QFont font = Sans(10, true);
    for (const Marker& marker : markers) {
        if (marker.f < sweep.f(1) || marker.f > sweep.last()) continue;
        for (const QRectF& plot : plots) {
            const double x = plot.left() + (marker.f - sweep.f(1)) / span * plot.width();
            painter.setPen(QPen(kMarkInk, 1.0, Qt::DotLine));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            if (&plot == &plots.front()) {
                // Inside the plot, on the side away from the nearer edge, clear of the scales' labels.
                painter.setPen(kMarkInk);
                const double width = QFontMetricsF(font).horizontalAdvance(marker.name);
                const double at = x + 3 + width > plot.right() - 2 ? x - 3 - width : x + 3;
                Put(painter, at, plot.top() + 2, marker.name, font);
            }
        }
    }
    painter.setPen(Qt::black);
}

void LegendItem(QPainter& painter, double& x, double y, const QPen& pen, const QString& text) {
    const QFont small = Sans(11);
    const double mid = y + QFontMetricsF(small).ascent() * 0.6;
    painter.setPen(pen);
    painter.drawLine(QPointF(x, mid), QPointF(x + 26, mid));
    painter.setPen(Qt::black);
    Put(painter, x + 32, y, text, small);
    x += 32 + QFontMetricsF(small).horizontalAdvance(text) + 22;
}

// The sweep as two plots over the area: the attenuation (dBc, left) with the return loss (dB, right)
// above, the group delay below; the passband shaded and the stopband points inside the span marked.
void PaintResponsePlots(QPainter& painter, const QRectF& area, const DatasheetContent& sheet) {
    const SweepView sweep{sheet.Graph};
    const int count = sweep.count();
    if (count < 2) return;
    const QFont small = Sans(10);
    const double labelRow = QFontMetricsF(small).lineSpacing() + 4;
    const double sides = 52;

    double y = area.top();
    double x = area.left();
    LegendItem(painter, x, y, CurvePen(kAttenuationInk, Qt::SolidLine),
               QStringLiteral("Attenuation, dBc (left)"));
    LegendItem(painter, x, y, CurvePen(kReturnLossInk, Qt::DashLine),
               QStringLiteral("Return loss, dB (right)"));
    LegendItem(painter, x, y, CurvePen(kDelayInk, Qt::SolidLine),
               QStringLiteral("Group delay, ns (lower plot)"));
    if (std::any_of(sheet.Requirement.begin(), sheet.Requirement.end(),
                    [](const RequirementCheck& check) { return check.FrequencyMhz > 0.0; }))
        LegendItem(painter, x, y, QPen(kLimitInk, 2.5, Qt::SolidLine, Qt::FlatCap),
                   QStringLiteral("Required minimum"));
    y += QFontMetricsF(Sans(11)).lineSpacing() + QFontMetricsF(Sans(10, true)).lineSpacing() + 6;

    const double usable = area.bottom() - y - 2 * labelRow - QFontMetricsF(Sans(11, true)).lineSpacing() - 14;
    const QRectF upper(area.left() + sides, y, area.width() - 2 * sides, usable * 0.66);
    const QRectF lower(upper.left(), upper.bottom() + labelRow + 10, upper.width(), usable * 0.34);
    const double span = sweep.last() - sweep.f(1);
    const auto xOf = [&](const QRectF& plot, double f) {
        return plot.left() + (f - sweep.f(1)) / span * plot.width();
    };

    const double bandLow = sheet.Spec.F0 - 0.5 * sheet.Spec.BW;
    const double bandHigh = sheet.Spec.F0 + 0.5 * sheet.Spec.BW;
    for (const QRectF& plot : {upper, lower})
        painter.fillRect(
            QRectF(QPointF(xOf(plot, bandLow), plot.top()), QPointF(xOf(plot, bandHigh), plot.bottom())),
            kBandShade);

    const double fDivision = NiceDivision(span, 12);
    const int upperDivisions = std::clamp(static_cast<int>(upper.height() / 28), 4, 10);
    const Scale attenuation = ScaleFor(Largest(sheet.Graph.SweepAtten, count), upperDivisions);
    // The return loss shares the attenuation's grid: the same number of divisions.
    Scale returnLoss = ScaleFor(Largest(sheet.Graph.SweepReturnLoss, count), upperDivisions);
    const int lines = static_cast<int>(std::lround(attenuation.full / attenuation.division));
    returnLoss.division = NiceDivision(returnLoss.full, lines);
    returnLoss.full = lines * returnLoss.division;
    const Scale delay = ScaleFor(Largest(sheet.Graph.SweepDelay, count),
                                 std::clamp(static_cast<int>(lower.height() / 24), 2, 6));

    FrequencyGrid(painter, upper, sweep, fDivision, true);
    ValueScale(painter, upper, attenuation, false, true, kAttenuationInk);
    ValueScale(painter, upper, returnLoss, true, true, kReturnLossInk);
    FrequencyGrid(painter, lower, sweep, fDivision, true);
    ValueScale(painter, lower, delay, false, false, kDelayInk);
    SideTitle(painter, upper, area.left() + 12, QStringLiteral("Attenuation, dBc"), kAttenuationInk);
    SideTitle(painter, upper, area.right() - 4, QStringLiteral("Return loss, dB"), kReturnLossInk);
    SideTitle(painter, lower, area.left() + 12, QStringLiteral("Delay, ns"), kDelayInk);
    const QString axis = QStringLiteral("Frequency, MHz");
    Put(painter, lower.center().x() - QFontMetricsF(Sans(11, true)).horizontalAdvance(axis) / 2,
        lower.bottom() + labelRow, axis, Sans(11, true));

    const auto downwards = [&](const QRectF& plot, const Scale& scale) {
        return [&plot, &scale, &xOf](double f, double v) {
            return QPointF(xOf(plot, f),
                           plot.top() + std::min(v, scale.full * 1.02) / scale.full * plot.height());
        };
    };
    const auto upwards = [&](double f, double v) {
        return QPointF(xOf(lower, f),
                       lower.bottom() - std::min(v, delay.full * 1.02) / delay.full * lower.height());
    };
    Curve(painter, sweep, sheet.Graph.SweepReturnLoss, downwards(upper, returnLoss),
          CurvePen(kReturnLossInk, Qt::DashLine), upper);
    Curve(painter, sweep, sheet.Graph.SweepAtten, downwards(upper, attenuation),
          CurvePen(kAttenuationInk, Qt::SolidLine), upper);
    Curve(painter, sweep, sheet.Graph.SweepDelay, upwards, CurvePen(kDelayInk, Qt::SolidLine), lower);

    // Beyond the maker's guarantee the figures are theoretical: the level is drawn across the plot.
    const double guarantee = GuaranteedAttenuationDbc(sheet.Spec.F0);
    if (guarantee < attenuation.full) {
        const double level = upper.top() + guarantee / attenuation.full * upper.height();
        painter.setPen(QPen(kAttenuationInk, 1.0, Qt::DashDotLine));
        painter.drawLine(QPointF(upper.left(), level), QPointF(upper.right(), level));
        painter.setPen(kAttenuationInk);
        const QString text = QStringLiteral("Guaranteed to %1 dBc").arg(guarantee, 0, 'f', 0);
        Put(painter, upper.left() + 6, level + 2, text, Sans(10, false, true));
        painter.setPen(Qt::black);
    }

    // Each required level as a short bar at its point, a small triangle pointing into the allowed side.
    const QFont limitFont = Sans(10, true);
    for (const RequirementCheck& check : sheet.Requirement) {
        if (check.FrequencyMhz <= 0.0 || check.FrequencyMhz < sweep.f(1) || check.FrequencyMhz > sweep.last())
            continue;
        const double x = xOf(upper, check.FrequencyMhz);
        const double level = upper.top() + std::clamp(check.RequiredLevel, 0.0, attenuation.full) /
                                               attenuation.full * upper.height();
        painter.setPen(QPen(kLimitInk, 2.5, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(x - 9, level), QPointF(x + 9, level));
        painter.setPen(Qt::NoPen);
        painter.setBrush(kLimitInk);
        const QPointF arrow[] = {{x - 4, level + 2}, {x + 4, level + 2}, {x, level + 8}};
        painter.drawPolygon(arrow, 3);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(kLimitInk);
        const QString text = QStringLiteral("%1 dBc min").arg(check.RequiredLevel, 0, 'f', 0);
        const double width = QFontMetricsF(limitFont).horizontalAdvance(text);
        const double at = x + 12 + width > upper.right() - 2 ? x - 12 - width : x + 12;
        Put(painter, at, level - QFontMetricsF(limitFont).ascent() * 0.6, text, limitFont);
    }
    painter.setPen(Qt::black);

    std::vector<Marker> markers;
    if (sheet.Spec.F1 > 0.0) markers.push_back({QStringLiteral("F1"), sheet.Spec.F1});
    if (sheet.Spec.F2 > 0.0) markers.push_back({QStringLiteral("F2"), sheet.Spec.F2});
    MarkPoints(painter, {upper, lower}, sweep, markers);
    // Points beyond the span are named in a line of their own.
    QStringList outside;
    for (const Marker& marker : markers)
        if (marker.f < sweep.f(1) || marker.f > sweep.last())
            outside << QStringLiteral("%1 (%2 MHz)").arg(marker.name, Number(marker.f, 2));
    for (const RequirementCheck& check : sheet.Requirement)
        if (check.FrequencyMhz > 0.0 &&
            (check.FrequencyMhz < sweep.f(1) || check.FrequencyMhz > sweep.last()))
            outside << QStringLiteral("%1 MHz (%2 dBc required)")
                           .arg(Number(check.FrequencyMhz, 2), Number(check.RequiredLevel, 1));
    if (!outside.isEmpty())
        PutRight(painter, upper.right(), upper.top() - QFontMetricsF(small).lineSpacing() - 1,
                 outside.join(QStringLiteral(", ")) + QStringLiteral(" beyond the span"), small);

    for (const QRectF& plot : {upper, lower}) {
        painter.setPen(QPen(kFrameInk, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(plot);
    }
    painter.setPen(Qt::black);
}

// The electrical table: one row per figure, the columns' headings above a rule.
double ElectricalTable(QPainter& painter, const Page& page, double y, const DatasheetContent& sheet) {
    const QFont body = Sans(12);
    const QFont bold = Sans(12, true);
    const QFont basis = Sans(11, false, true);
    const double line = QFontMetricsF(body).lineSpacing() + 2.5;
    const double typicalRight = page.left + 310;
    const double worstRight = page.left + 410;
    const double unitLeft = page.left + 424;
    const double basisLeft = page.left + 464;
    Put(painter, page.left, y, QStringLiteral("Parameter"), bold);
    PutRight(painter, typicalRight, y, QStringLiteral("Typical"), bold);
    PutRight(painter, worstRight, y, QStringLiteral("Worst case"), bold);
    Put(painter, unitLeft, y, QStringLiteral("Unit"), bold);
    y = Put(painter, basisLeft, y, QStringLiteral("Bounded by"), bold) + 1;
    painter.fillRect(QRectF(page.left, y, page.width(), 0.75), QColor(96, 96, 96));
    y += 3;
    for (size_t i = 0; i < sheet.Electrical.size(); ++i) {
        const DatasheetFigure& row = sheet.Electrical[i];
        if (i % 2 == 1)
            painter.fillRect(QRectF(page.left, y - 1, page.width(), line), QColor(0xF3, 0xF3, 0xF3));
        Put(painter, page.left, y, Text(row.Parameter), body);
        PutRight(painter, typicalRight, y, Text(row.Typical), body);
        PutRight(painter, worstRight, y, Text(row.WorstCase.empty() ? "\u2013" : row.WorstCase), body);
        Put(painter, unitLeft, y, Text(row.Unit), body);
        Put(painter, basisLeft, y + 1, Text(row.Basis), basis);
        y += line;
    }
    return y;
}

// The requirement the sheet was made for, judged by the worst case: one row per level.
double RequirementTable(QPainter& painter, const Page& page, double y, const DatasheetContent& sheet) {
    const QFont body = Sans(12);
    const QFont bold = Sans(12, true);
    const double line = QFontMetricsF(body).lineSpacing() + 2.5;
    const double requiredRight = page.left + 300;
    const double typicalRight = page.left + 390;
    const double worstRight = page.left + 480;
    const double marginRight = page.left + 565;
    const double verdictLeft = page.left + 590;
    Put(painter, page.left, y, QStringLiteral("Requirement"), bold);
    PutRight(painter, requiredRight, y, QStringLiteral("Required"), bold);
    PutRight(painter, typicalRight, y, QStringLiteral("Typical"), bold);
    PutRight(painter, worstRight, y, QStringLiteral("Worst case"), bold);
    PutRight(painter, marginRight, y, QStringLiteral("Margin"), bold);
    y = Put(painter, verdictLeft, y, QStringLiteral("Result"), bold) + 1;
    painter.fillRect(QRectF(page.left, y, page.width(), 0.75), QColor(96, 96, 96));
    y += 3;
    for (size_t i = 0; i < sheet.Requirement.size(); ++i) {
        const RequirementCheck& row = sheet.Requirement[i];
        if (i % 2 == 1)
            painter.fillRect(QRectF(page.left, y - 1, page.width(), line), QColor(0xF3, 0xF3, 0xF3));
        Put(painter, page.left, y, Text(row.Quantity), body);
        PutRight(painter, requiredRight, y, Text(row.Required), body);
        PutRight(painter, typicalRight, y, Text(row.Typical), body);
        PutRight(painter, worstRight, y, Text(row.WorstCase.empty() ? "\u2013" : row.WorstCase), body);
        PutRight(painter, marginRight, y, Text(row.Margin.empty() ? "\u2013" : row.Margin), body);
        painter.setPen(row.Pass ? kPassInk : kFailInk);
        Put(painter, verdictLeft, y, Text(row.Pass ? kRequirementPass : kRequirementFail), bold);
        painter.setPen(Qt::black);
        y += line;
    }
    return y;
}

// The Filter Characteristics page's rows the figures do not repeat, two to a line.
double EnvironmentLines(QPainter& painter, const Page& page, double y) {
    const QFont body = Sans(12);
    const QFont label = Sans(12, true);
    const CharacteristicsRow* rows[] = {&kOperatingRow, &kStorageRow, &kStabilityRow, &kFilterTypeRow};
    const QString labels[] = {QStringLiteral("Operating temperature"), QStringLiteral("Storage temperature"),
                              QStringLiteral("Temperature stability"), QStringLiteral("Filter type")};
    const double half = page.width() / 2;
    for (int i = 0; i < 4; ++i) {
        const double x = page.left + (i % 2) * half;
        Put(painter, x, y, labels[i], label);
        const double after = Put(painter, x + 160, y, Text(rows[i]->Value), body);
        if (i % 2 == 1 || i == 3) y = after + 2;
    }
    return y;
}

// Notes 2 and 3 of the Notes page and the Tolerances dialog's statements, each a label in the margin
// and its lines. An indented line of the Notes page follows its statement on the same line; a list
// of them (Note 3's causes) shares a line of its own.
double BoundingNotes(QPainter& painter, const Page& page, double y) {
    const QFont small = Sans(11);
    const QFont label = Sans(11, true);
    const double line = QFontMetricsF(small).lineSpacing() + 1;
    const double text = page.left + 128;
    QString current;
    double indent = 0;
    const auto flush = [&] {
        if (current.isEmpty()) return;
        Put(painter, text + indent, y, current, small);
        y += line;
        current.clear();
        indent = 0;
    };
    const auto indented = [](size_t i) {
        return i < kNotesRows.size() && kNotesRows[i].Kind == NoteLine::Indented;
    };
    for (size_t i = kGuaranteeNoteFirst; i < kGuaranteeNoteEnd; ++i) {
        const NotesRow& row = kNotesRows[i];
        if (!indented(i)) {
            flush();
            if (row.Kind == NoteLine::Numbered) Put(painter, page.left, y, Text(row.Label), label);
            current = Text(row.Text);
            if (indented(i + 1) && indented(i + 2)) {
                flush();
                indent = 12;
            }
        } else if (current.isEmpty()) {
            current = Text(row.Text);
        } else {
            current += (indented(i - 1) ? QStringLiteral(";   ") : QStringLiteral(" ")) + Text(row.Text);
        }
    }
    flush();
    Put(painter, page.left, y, Text(kToleranceHeading), label);
    y = Put(painter, text, y, Text(kToleranceIntroduction), small) + 1;
    for (const std::string_view guideline : kToleranceGuidelines)
        y = Put(painter, text + 12, y, Text(guideline), small) + 1;
    return Put(painter, text, y + 1, Text(kToleranceContact), Sans(11, false, true));
}

void PaintFirstPage(QPainter& painter, const Page& page, const DatasheetContent& sheet) {
    const double left = page.left;
    PaintLogo(painter, QPointF(left, page.top));
    PutRight(painter, page.right, page.top + 6, QStringLiteral("Datasheet"), Sans(22, true));
    PutRight(painter, page.right, page.top + 38, Text(kDatasheetMaker), Sans(12));
    double y = page.top + 72;
    painter.fillRect(QRectF(left, y, page.width(), 1.5), Qt::black);
    y += 10;
    Put(painter, left, y + 8, QStringLiteral("Part number"), Sans(12));
    y = Put(painter, left + 100, y, Text(sheet.PartNumber), Sans(26, true));
    y = Put(painter, left + 100, y, Text(sheet.Description), Sans(13)) + 10;

    y = Heading(painter, left, y, page.width(), QStringLiteral("Electrical characteristics"));
    y = ElectricalTable(painter, page, y, sheet) + 4;
    const bool requiredPoints =
        std::any_of(sheet.Requirement.begin(), sheet.Requirement.end(),
                    [](const RequirementCheck& check) { return check.FrequencyMhz > 0.0; });
    if (sheet.Stopbands.empty() && !requiredPoints)
        y = Put(painter, left, y, Text(kNoStopbandPoints), Sans(11, false, true)) + 2;
    if (!sheet.Guarantee.empty()) y = Put(painter, left, y, Text(sheet.Guarantee), Sans(12, true)) + 2;
    if (!sheet.Requirement.empty()) {
        y = Heading(painter, left, y + 8, page.width(),
                    QStringLiteral("Requirement, judged by the worst case"));
        y = RequirementTable(painter, page, y, sheet);
    }
    y += 8;
    y = Heading(painter, left, y, page.width(), QStringLiteral("Environment"));
    y = EnvironmentLines(painter, page, y) + 8;
    y = Heading(painter, left, y, page.width(), QStringLiteral("Notes"));
    y = BoundingNotes(painter, page, y) + 10;

    y = Heading(painter, left, y, page.width(), QStringLiteral("Response"));
    PaintResponsePlots(painter, QRectF(QPointF(left, y), QPointF(page.right, page.bottom - 4)), sheet);
}

// The part number field by field, under its codes.
double PartNumberKeyTable(QPainter& painter, const Page& page, double y, const DatasheetContent& sheet) {
    y = Heading(painter, page.left, y, page.width(), QStringLiteral("Key to the part number"));
    const QFont big = Mono(18);
    const QFont body = Sans(12);
    const QFont bold = Sans(12, true);
    // The part number spaced out with each field's number beneath it.
    double x = page.left;
    const double top = y;
    int number = 1;
    for (const PartNumberField& field : sheet.PartNumberKey) {
        painter.setPen(QColor(96, 96, 96));
        Put(painter, x, top, Text(field.Separator), big);
        painter.setPen(Qt::black);
        x += QFontMetricsF(big).horizontalAdvance(Text(field.Separator));
        Put(painter, x, top, Text(field.Text), big);
        const double width = QFontMetricsF(big).horizontalAdvance(Text(field.Text));
        const QString label = QString::number(number++);
        painter.fillRect(QRectF(x + 1, top + QFontMetricsF(big).lineSpacing(), width - 2, 0.75),
                         QColor(96, 96, 96));
        Put(painter, x + width / 2 - QFontMetricsF(Sans(10)).horizontalAdvance(label) / 2,
            top + QFontMetricsF(big).lineSpacing() + 2, label, Sans(10));
        x += width;
    }
    y = top + QFontMetricsF(big).lineSpacing() + QFontMetricsF(Sans(10)).lineSpacing() + 8;
    number = 1;
    for (const PartNumberField& field : sheet.PartNumberKey) {
        Put(painter, page.left, y, QString::number(number++), bold);
        Put(painter, page.left + 22, y, Text(field.Text), bold);
        // The codes run on as many lines as they need, broken after a comma.
        QString line = Text(field.Meaning) + (field.Codes.empty() ? QString() : QStringLiteral(":"));
        const QStringList codes = Text(field.Codes).split(QStringLiteral(", "), Qt::SkipEmptyParts);
        const double room = page.right - (page.left + 90);
        for (qsizetype i = 0; i < codes.size(); ++i) {
            const QString next =
                line + (line.endsWith(QLatin1Char(':')) ? QStringLiteral(" ") : QStringLiteral(", ")) +
                codes[i];
            if (QFontMetricsF(body).horizontalAdvance(next) > room) {
                y = Put(painter, page.left + 90, y, line + QLatin1Char(','), body);
                line = QStringLiteral("    ") + codes[i];
            } else {
                line = next;
            }
        }
        y = Put(painter, page.left + 90, y, line, body) + 2;
    }
    return y;
}

// The key's height, measured by painting it where nothing is kept.
double KeyHeight(const Page& page, const DatasheetContent& sheet) {
    QPicture scratch;
    QPainter painter(&scratch);
    return PartNumberKeyTable(painter, page, 0, sheet);
}

void PaintOutlinePage(QPainter& painter, const Page& page, const DatasheetContent& sheet,
                      const DisplaySettings& display) {
    double y = Heading(painter, page.left, page.top, page.width(),
                       QStringLiteral("Outline drawing: ") + Text(RowOf(sheet.Spec.Mounting).Label));
    const double keyTop = page.bottom - KeyHeight(page, sheet);
    const bool drawn =
        sheet.OutlineInches && sheet.OutlineMillimetres && !sheet.OutlineInches->dimensions.empty();
    if (!sheet.OutlineInches || !sheet.OutlineMillimetres) {
        for (const std::string& line : sheet.OutlineNoticeLines)
            y = Put(painter, page.left, y, Text(line), Sans(14));
    } else if (!drawn) {
        // The drawing page shows only its frame for this mounting: the part and the tolerances.
        const QFont body = Sans(14);
        Put(painter, page.left, y, QStringLiteral("Part:"), Sans(14, true));
        y = Put(painter, page.left + 50, y, Text(sheet.OutlineInches->part), body) + 6;
        y = Put(painter, page.left, y, Text(sheet.OutlineInches->tolerance), body) + 2;
        y = Put(painter, page.left, y, Text(sheet.OutlineMillimetres->tolerance), body) + 10;
        y = Put(painter, page.left, y,
                QStringLiteral("The outline drawing page shows no drawing for the %1 mounting.")
                    .arg(Text(RowOf(sheet.Spec.Mounting).Label)),
                Sans(14, false, true));
    } else {
        const QPicture inches = OutlinePicture(sheet.Spec, DrawingUnits::Inches, display);
        const QPicture millimetres = OutlinePicture(sheet.Spec, DrawingUnits::Millimetres, display);
        const QFont subheading = Sans(13, true);
        const double captions = 2 * (QFontMetricsF(subheading).lineSpacing() + 10) + 24;
        const QRect a = inches.boundingRect();
        const QRect b = millimetres.boundingRect();
        const double widest = std::max(a.width(), b.width());
        const double heights = a.height() + b.height();
        const double scale =
            std::min({kMaxFigureScale, page.width() / widest, (keyTop - 16 - y - captions) / heights});
        y = Put(painter, page.left, y + 4, QStringLiteral("Dimensions in inches"), subheading) + 6;
        y = PlaceInverted(painter, inches, a, QPointF(page.left, y), scale, DarkenedColour).bottom() + 24;
        y = Put(painter, page.left, y, QStringLiteral("Dimensions in millimetres"), subheading) + 6;
        PlaceInverted(painter, millimetres, b, QPointF(page.left, y), scale, DarkenedColour);
    }
    PartNumberKeyTable(painter, page, drawn ? keyTop : y + 30, sheet);
}

// A PDF text string: UTF-16BE with its byte-order mark, in hex, so no character needs escaping.
QByteArray PdfTextString(const QString& text) {
    QByteArray hex = "<FEFF";
    for (const QChar c : text) hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

QString Keywords(const DatasheetContent& sheet) {
    return QStringLiteral("ceramic bandpass filter, %1, %2, %3 MHz, %4")
        .arg(Text(kFilterTypeRow.Value), Text(sheet.PartNumber), QString::number(sheet.Spec.F0),
             Text(RowOf(sheet.Spec.Mounting).Label));
}

// The writer names only the title and the creator: the other entries go into its information
// dictionary here, and the cross-reference offsets after it move by what was added.
QByteArray WithDocumentInformation(const QByteArray& pdf,
                                   const std::vector<std::pair<const char*, QString>>& entries) {
    const qsizetype title = pdf.indexOf("/Title ");
    const qsizetype xref = pdf.lastIndexOf("\nxref\n");
    const qsizetype startxref = pdf.lastIndexOf("startxref\n");
    if (title < 0 || xref < title || startxref < xref) return pdf;
    QByteArray added;
    for (const auto& [key, value] : entries)
        added += '/' + QByteArray(key) + ' ' + PdfTextString(value) + '\n';
    const qsizetype shift = added.size();
    QByteArray out = pdf.left(title) + added + pdf.mid(title, xref + 1 - title);
    // The table's entries: "0000000123 00000 n" lines, each ten digits of offset.
    qsizetype at = xref + 1;
    const qsizetype tableEnd = pdf.indexOf("trailer", at);
    if (tableEnd < 0) return pdf;
    QByteArray table = pdf.mid(at, tableEnd - at);
    QList<QByteArray> lines = table.split('\n');
    for (QByteArray& line : lines) {
        if (line.size() < 18 || line.at(10) != ' ' || line.at(17) != 'n') continue;
        const qlonglong offset = line.left(10).toLongLong();
        if (offset > title) line.replace(0, 10, QByteArray::number(offset + shift).rightJustified(10, '0'));
    }
    out += lines.join('\n');
    const qsizetype numberAt = startxref + 10;
    const qsizetype numberEnd = pdf.indexOf('\n', numberAt);
    out += pdf.mid(tableEnd, numberAt - tableEnd);
    out += QByteArray::number(pdf.mid(numberAt, numberEnd - numberAt).trimmed().toLongLong() + shift);
    out += pdf.mid(numberEnd);
    return out;
}

}  // namespace

QPageSize PageSizeOf(Paper paper) {
    return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

int DatasheetPageCount(const DatasheetContent& sheet, Paper paper) {
    return 2 + static_cast<int>(ReportPages(sheet, PageOf(paper)).size());
}

void PaintDatasheet(QPainter& painter, QPagedPaintDevice& device, const DatasheetContent& sheet, Paper paper,
                    const DisplaySettings& display) {
    const Page page = PageOf(paper);
    const std::vector<ReportPage> reportPages = ReportPages(sheet, page);
    const int count = 2 + static_cast<int>(reportPages.size());
    const double toDevice = device.logicalDpiX() / 96.0;
    int number = 1;
    const auto begin = [&] {
        painter.save();
        painter.scale(toDevice, toDevice);
        painter.setPen(Qt::black);
    };
    const auto end = [&](bool last) {
        Footer(painter, page, sheet, number, count);
        painter.restore();
        if (!last) {
            device.newPage();
            ++number;
        }
    };

    begin();
    PaintFirstPage(painter, page, sheet);
    end(false);
    begin();
    PaintOutlinePage(painter, page, sheet, display);
    end(false);

    const ReportParts parts = SplitReport(sheet.Report);
    for (size_t i = 0; i < reportPages.size(); ++i) {
        begin();
        PaintReportPage(painter, page, parts, reportPages[i], i == 0);
        end(i + 1 == reportPages.size());
    }
}

QByteArray DatasheetPdf(const DatasheetContent& sheet, Paper paper) {
    QByteArray document;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageSize(PageSizeOf(paper));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(Text(sheet.PartNumber) + QStringLiteral(" Datasheet"));
        pdf.setCreator(QStringLiteral("Veltrix " VELTRIX_VERSION));
        QPainter painter(&pdf);
        if (!painter.isActive()) return {};
        PaintDatasheet(painter, pdf, sheet, paper);
        if (!painter.end()) return {};
    }
    buffer.close();
    return WithDocumentInformation(document, {{"Author", Text(kDatasheetMaker)},
                                              {"Subject", Text(sheet.Description)},
                                              {"Keywords", Keywords(sheet)}});
}

bool WriteDatasheet(const QByteArray& nativePath, const FilterSpec& part, Paper paper, QString* error) {
    return WriteDatasheet(nativePath, ComposeDatasheet(part), paper, error);
}

bool WriteDatasheet(const QByteArray& nativePath, const DatasheetContent& sheet, Paper paper,
                    QString* error) {
    if (!sheet.Standard) {
        if (error) *error = Text(sheet.Refusal);
        return false;
    }
    const QByteArray document = DatasheetPdf(sheet, paper);
    if (document.isEmpty()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: the datasheet could not be made")
                         .arg(MessagePath(nativePath));
        return false;
    }
    return WriteExportedDocument(nativePath, document, error);
}

}  // namespace veltrix
