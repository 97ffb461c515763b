#include "compare_window/compare_page.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "compare/sample_judgement.h"
#include "engine/rules.h"
#include "platform/painted_page.h"

namespace veltrix {

namespace {

constexpr double kAttenuationRangeDbc = 80.0;
constexpr double kReturnLossRangeDb = 40.0;

// A figure that is not there is left blank.
QString Format(const char* format, double value) {
    if (std::isnan(value)) return QString();
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

// A delay scale's top: the largest delay shown, rounded up to 1, 2 or 5 times a power of ten.
double DelayScaleTop(const std::vector<CompareCurve>& curves) {
    double top = 0.0;
    for (const CompareCurve& curve : curves)
        for (const double d : curve.DelayNs)
            if (std::isfinite(d)) top = std::max(top, d);
    if (top <= 0.0) return 10.0;
    const double decade = std::pow(10.0, std::floor(std::log10(top)));
    for (const double step : {1.0, 2.0, 5.0, 10.0})
        if (top <= step * decade) return step * decade;
    return 10.0 * decade;
}

// The deviations' rows as the narrow table names them.
QString DeviationLabel(const DeviationEntry& entry) {
    if (entry.Key == "insertion_loss_db") return QStringLiteral("IL at F0");
    if (entry.Key == "lower_edge_db") return QStringLiteral("Lower edge");
    if (entry.Key == "upper_edge_db") return QStringLiteral("Upper edge");
    if (entry.Key == "passband_largest_deviation_db") return QStringLiteral("Passband max");
    return Format("%.2f MHz", entry.FrequencyMhz);
}

// The table lists losses; the centre frequency's shift is in MHz and stays out of it.
bool ListedInTable(const DeviationEntry& entry) { return entry.Key.rfind("centre_", 0) != 0; }

// One graph: its box, title and the values at its top and bottom edges.
struct Pane {
    QRect box;
    QString title;
    double top;
    double bottom;
    double Y(double value) const {
        const double t = (value - top) / (bottom - top);
        return box.top() + std::clamp(t, 0.0, 1.0) * box.height();
    }
};

// Which of a curve's figures a pane shows.
enum class Figure { TopGraph, ReturnLoss, Delay };

class ComparePage {
  public:
    ComparePage(PageCanvas& canvas, const Comparison& comparison, const ComparePageView& view,
                const CompareLayout& layout)
        : canvas_(canvas),
          comparison_(comparison),
          view_(view),
          layout_(layout),
          span_(comparison.Span()),
          line_(layout.LegendRowHeight),
          any_(!comparison.Curves().empty() || comparison.HasMeasured()),
          panes_{Pane{layout.Attenuation, TopTitle(), 0.0, kAttenuationRangeDbc},
                 Pane{layout.ReturnLoss, QStringLiteral("Return loss (dB)"), 0.0, kReturnLossRangeDb},
                 Pane{layout.Delay, QStringLiteral("Group delay (ns)"), DelayTop(), 0.0}} {}

    void Draw() {
        Title();
        for (const Pane& pane : panes_) Frame(pane);
        if (any_) FrequencyScale();
        if (view_.View == CompareView::Dbc) Limits();
        Curves();
        if (any_) Marker();
        Legend();
        if (any_) Table();
    }

  private:
    QString TopTitle() const {
        return view_.View == CompareView::Dbc ? QStringLiteral("Attenuation (dBc)")
                                              : QStringLiteral("Insertion loss (dB)");
    }
    // A measured delay runs wild in the stopbands; the parts' scale is kept while there are parts.
    double DelayTop() const {
        const std::vector<CompareCurve>& curves = comparison_.Curves();
        return DelayScaleTop(curves.empty() && comparison_.HasMeasured()
                                 ? std::vector<CompareCurve>{comparison_.MeasuredCurve()}
                                 : curves);
    }
    double X(const QRect& box, double mhz) const {
        return box.left() +
               (mhz - span_.FromMhz) / std::max(1e-12, span_.ToMhz - span_.FromMhz) * box.width();
    }
    void Text(int x, int y, const QString& text, const QColor& colour) {
        canvas_.SetFontColour(colour);
        canvas_.TextOut(x, y, text);
    }

    void Title() {
        Text(layout_.Attenuation.left(), 4,
             !any_ ? QStringLiteral("No parts to compare: mark parts in Find Parts and choose Compare, "
                                    "or Add to Comparison on the specification screen.")
                   : QStringLiteral("Compare Parts: %1 to %2 MHz")
                         .arg(Format("%.2f", span_.FromMhz), Format("%.2f", span_.ToMhz)),
             kPageWhite);
    }

    void Frame(const Pane& pane) {
        const QRect& box = pane.box;
        canvas_.FrameRect(box.left(), box.top(), box.left() + box.width() + 1, box.top() + box.height() + 1,
                          kPageSilver);
        QPainterPath grid;
        for (int i = 1; i < 4; ++i) {
            const int y = box.top() + box.height() * i / 4;
            grid.moveTo(box.left(), y);
            grid.lineTo(box.right(), y);
        }
        for (int i = 1; i < 6; ++i) {
            const int x = box.left() + box.width() * i / 6;
            grid.moveTo(x, box.top());
            grid.lineTo(x, box.bottom());
        }
        canvas_.StrokePath(grid, QPen(kPageGrey, 0, Qt::DotLine));
        Text(box.left() + 4, box.top() + 2, pane.title, kPageWhite);
        for (int i = 0; i <= 4; i += 2) {
            const QString label = Format("%.0f", pane.top + (pane.bottom - pane.top) * i / 4);
            Text(box.left() - canvas_.TextWidth(label) - 4,
                 box.top() + box.height() * i / 4 - canvas_.TextHeight() / 2, label, kPageWhite);
        }
    }

    void FrequencyScale() {
        const QRect& box = layout_.Delay;
        for (int i = 0; i <= 6; i += 2) {
            const QString label = Format("%.1f", span_.FromMhz + (span_.ToMhz - span_.FromMhz) * i / 6);
            Text(box.left() + box.width() * i / 6 - canvas_.TextWidth(label) / 2, box.bottom() + 3, label,
                 kPageWhite);
        }
        const QString unit = QStringLiteral("MHz");
        Text(box.right() - canvas_.TextWidth(unit), box.bottom() + 3 + line_, unit, kPageWhite);
    }

    // The guarantee for the first part's centre frequency, and each required point.
    void Limits() {
        if (comparison_.Curves().empty()) return;
        const Pane& a = panes_[0];
        const double guarantee = GuaranteedAttenuationDbc(comparison_.Parts().front().F0);
        const double gy = a.Y(guarantee);
        QPainterPath level;
        level.moveTo(a.box.left(), gy);
        level.lineTo(a.box.right(), gy);
        canvas_.StrokePath(level, QPen(kPageWhite, 0, Qt::DashLine));
        const QString guaranteed = QStringLiteral("guaranteed %1 dBc").arg(Format("%.0f", guarantee));
        Text(a.box.right() - canvas_.TextWidth(guaranteed) - 4,
             static_cast<int>(gy) - canvas_.TextHeight() - 1, guaranteed, kPageWhite);
        for (const StopbandRequirement& limit : comparison_.Limits()) RequiredPoint(a, limit);
    }

    void RequiredPoint(const Pane& a, const StopbandRequirement& limit) {
        if (limit.FrequencyMhz < span_.FromMhz || limit.FrequencyMhz > span_.ToMhz) return;
        const double x = X(a.box, limit.FrequencyMhz);
        const double y = a.Y(limit.MinAttenuationDbc);
        QPainterPath mark;
        mark.moveTo(x - 6, y);
        mark.lineTo(x + 6, y);
        mark.moveTo(x, y);
        mark.lineTo(x, a.box.bottom());
        canvas_.StrokePath(mark, QPen(kPageWhite, 2));
        Text(static_cast<int>(x) + 4, static_cast<int>(y) + 2, Format("%.1f dBc", limit.MinAttenuationDbc),
             kPageWhite);
    }

    void Curves() {
        const std::vector<CompareCurve>& curves = comparison_.Curves();
        for (size_t c = 0; c < curves.size(); ++c)
            Curve(curves[c], TracePen(static_cast<int>(c), view_.Selected == static_cast<int>(c)),
                  TraceColour(static_cast<int>(c)));
        if (comparison_.HasMeasured())
            Curve(comparison_.MeasuredCurve(),
                  TracePen(kMeasuredTrace, view_.Selected == static_cast<int>(curves.size())),
                  MeasuredColour());
    }

    void Curve(const CompareCurve& curve, QPen pen, const QColor& colour) {
        pen.setColor(colour);
        const std::vector<double>& f = curve.FrequenciesMhz;
        // A measured file may reach far beyond the span: only its points inside, and one either side.
        const size_t from =
            std::max<ptrdiff_t>(0, std::lower_bound(f.begin(), f.end(), span_.FromMhz) - f.begin() - 1);
        const size_t to = std::min(
            f.size(), static_cast<size_t>(std::upper_bound(f.begin(), f.end(), span_.ToMhz) - f.begin()) + 1);
        const double shift = view_.View == CompareView::InsertionLoss ? curve.ReferenceLossDb : 0.0;
        canvas_.StrokePath(PathOf(curve, curve.AttenuationDbc, panes_[0], from, to, shift), pen);
        canvas_.StrokePath(PathOf(curve, curve.ReturnLossDb, panes_[1], from, to, 0.0), pen);
        canvas_.StrokePath(PathOf(curve, curve.DelayNs, panes_[2], from, to, 0.0), pen);
    }

    // The curve's points from..to in the pane, broken where a figure is missing. Where more than two
    // points fall in one pixel column only its lowest and highest are drawn: the same picture from a
    // fraction of a large file's points.
    QPainterPath PathOf(const CompareCurve& curve, const std::vector<double>& values, const Pane& pane,
                        size_t from, size_t to, double shift) const {
        QPainterPath path;
        const std::vector<double>& f = curve.FrequenciesMhz;
        if (values.size() != f.size()) return path;  // a 1-port file's attenuation and delay
        bool open = false;
        size_t previous = 0;
        const auto add = [&](size_t i) {
            previous = i;
            const QPointF at(X(pane.box, f[i]), pane.Y(values[i] + shift));
            if (open)
                path.lineTo(at);
            else
                path.moveTo(at);
            open = true;
        };
        const double mhzPerPixel = (span_.ToMhz - span_.FromMhz) / std::max(1, pane.box.width());
        for (size_t i = from; i < to;) {
            // The column's end, as a frequency: the points before it are in the column.
            const double column = std::floor((f[i] - span_.FromMhz) / mhzPerPixel);
            const double end = span_.FromMhz + (column + 1.0) * mhzPerPixel;
            const size_t next = std::max(
                i + 1, static_cast<size_t>(std::lower_bound(f.begin() + i, f.begin() + to, end) - f.begin()));
            i = AddColumn(values, i, next, open, previous, add);
        }
        return path;
    }

    // The points first..end of one column; a missing figure ends the line there. previous is the last
    // point drawn, while the line is open. Returns end.
    template <typename Add>
    static size_t AddColumn(const std::vector<double>& values, size_t first, size_t end, bool& open,
                            const size_t& previous, Add&& add) {
        size_t start = first;
        while (start < end) {
            size_t low = start, high = start, last = start;
            for (; last < end && std::isfinite(values[last]); ++last) {
                if (values[last] < values[low]) low = last;
                if (values[last] > values[high]) high = last;
            }
            if (last - start <= 2) {
                for (size_t k = start; k < last; ++k) add(k);
            } else if (open &&
                       std::abs(values[high] - values[previous]) < std::abs(values[low] - values[previous])) {
                // From the end nearer the line so far: one long stroke per column, not two.
                add(high);
                if (low != high) add(low);
            } else {
                add(low);
                if (low != high) add(high);
            }
            if (last < end) open = false;  // a missing figure
            start = last + 1;
        }
        return end;
    }

    void Marker() {
        const double mx = X(layout_.Attenuation, comparison_.MarkerMhz());
        QPainterPath marker;
        marker.moveTo(mx, layout_.Attenuation.top());
        marker.lineTo(mx, layout_.Delay.bottom());
        canvas_.StrokePath(marker, QPen(kPageWhite, 0, Qt::DashDotLine));
    }

    // The parts, then the measured file, each with a sample of its line; the chosen row framed.
    void Legend() {
        Text(layout_.Legend.left(), layout_.Legend.top(), QStringLiteral("Parts"), kPageWhite);
        const std::vector<CompareCurve>& curves = comparison_.Curves();
        for (size_t c = 0; c < curves.size(); ++c)
            LegendRow(static_cast<int>(c), static_cast<int>(c), QString::fromStdString(curves[c].Name),
                      TraceColour(static_cast<int>(c)));
        if (comparison_.HasMeasured())
            LegendRow(
                static_cast<int>(curves.size()), kMeasuredTrace,
                QStringLiteral("Measured: %1").arg(QString::fromStdString(comparison_.MeasuredCurve().Name)),
                MeasuredColour());
    }

    void LegendRow(int row, int trace, const QString& name, const QColor& colour) {
        const int y = layout_.Legend.top() + line_ * (row + 1);
        const int left = layout_.Legend.left();
        // Three strokes of the pattern, so a swatch shows it at any weight.
        QPen pen = TracePen(trace, false);
        pen.setColor(colour);
        QPainterPath swatch;
        for (int dy = -1; dy <= 1; ++dy) {
            swatch.moveTo(left + 2, y + line_ / 2 + dy);
            swatch.lineTo(left + 20, y + line_ / 2 + dy);
        }
        canvas_.StrokePath(swatch, pen);
        Text(left + 24, y + 1, name, colour);
        if (row != view_.Selected) return;
        QPainterPath frame;
        frame.addRect(QRect(left, y, layout_.Legend.width() - 1, line_ - 1));
        canvas_.StrokePath(frame, QPen(kPageWhite, 0, view_.Focused ? Qt::SolidLine : Qt::DotLine));
    }

    // The part numbers set the first column, so a long one never runs into its figures.
    void Table() {
        int nameWidth = canvas_.TextWidth(QStringLiteral("Part"));
        for (const MarkerRow& row : comparison_.MarkerRows())
            nameWidth = std::max(nameWidth, canvas_.TextWidth(QString::fromStdString(row.Name)));
        const int first = nameWidth + canvas_.TextWidth(QStringLiteral("  "));
        const int col =
            std::max(canvas_.TextWidth(QStringLiteral("000.00 ")), (layout_.Table.width() - first) / 3);
        int y = layout_.Table.top();
        CompareTableOptions options{view_.View, view_.ReferenceChosen,
                                    [this](const QString& text) { return canvas_.TextWidth(text); },
                                    layout_.Table.width()};
        for (const CompareTableLine& line : CompareTableLines(comparison_, options)) {
            if (line.GapBefore) y += line_ / 2;
            for (int k = 0; k < line.Cells.size(); ++k) {
                const int column = line.FirstColumn + k;
                const int x = layout_.Table.left() + (column == 0 ? 0 : first + col * (column - 1));
                Text(x, y, line.Cells[k], line.Colour);
            }
            y += line_;
        }
    }

    PageCanvas& canvas_;
    const Comparison& comparison_;
    const ComparePageView& view_;
    const CompareLayout& layout_;
    const CompareSpan span_;
    const int line_;
    const bool any_;
    const Pane panes_[3];
};

QStringList MarkerCells(const QString& name, const MarkerRow& row, CompareView view) {
    const double top = view == CompareView::Dbc ? row.AttenuationDbc : row.InsertionLossDb;
    return {name, Format("%.2f", top), Format("%.2f", row.ReturnLossDb), Format("%.2f", row.DelayNs)};
}

void AddMarkerLines(std::vector<CompareTableLine>& lines, const Comparison& comparison, CompareView view) {
    lines.push_back(
        {{QStringLiteral("Marker %1 MHz").arg(Format("%.2f", comparison.MarkerMhz()))}, 0, kPageWhite});
    lines.push_back(
        {{QStringLiteral("Part"), view == CompareView::Dbc ? QStringLiteral("dBc") : QStringLiteral("IL dB"),
          QStringLiteral("RL dB"), QStringLiteral("ns")},
         0,
         kPageWhite});
    const std::vector<MarkerRow>& rows = comparison.MarkerRows();
    for (size_t r = 0; r < rows.size(); ++r)
        lines.push_back({MarkerCells(QString::fromStdString(rows[r].Name), rows[r], view), 0,
                         TraceColour(static_cast<int>(r))});
    if (comparison.HasMeasured())
        lines.push_back({MarkerCells(QStringLiteral("Measured"), comparison.MeasuredAtMarker(), view), 0,
                         MeasuredColour()});
}

QString RequirementText(const FinderRequirement& r) {
    QString text = QStringLiteral("Requirement: %1 MHz, at least %2 MHz at %3 dB")
                       .arg(Format("%.2f", r.F0), Format("%.1f", r.BW),
                            Format("%.1f", PassbandFromIndex(r.PassbandIndex).PBD));
    if (r.MaxInsertionLossDb)
        text += QStringLiteral(", IL at most %1 dB").arg(Format("%.1f", *r.MaxInsertionLossDb));
    return text;
}

// The sample's own attenuation against its loss at F0 at one required point, never its absolute loss.
CompareTableLine SamplePointLine(const SamplePoint& point) {
    QStringList cells{QStringLiteral("Measured")};
    if (point.Measured) {
        cells << Format("%.2f dBc", point.MeasuredDbc) << Format("%+.2f dB", point.MarginDb);
    } else {
        cells << QString() << QString();
    }
    cells << (!point.Measured ? QStringLiteral("not measured")
              : point.Pass    ? QStringLiteral("pass")
                              : QStringLiteral("FAIL"));
    return {cells, 0, MeasuredColour()};
}

// Each part's worst-case margin at every required point, and the sample's below them.
void AddMarginLines(std::vector<CompareTableLine>& lines, const Comparison& comparison) {
    if (comparison.OpenedRequirement())
        lines.push_back({{RequirementText(*comparison.OpenedRequirement())}, 0, kPageWhite, true});
    const SampleJudgement& judgement = comparison.Judgement();
    const bool judged = comparison.HasMeasured() && judgement.Judged;
    const std::vector<MarkerRow>& rows = comparison.MarkerRows();
    for (size_t k = 0; k < comparison.Limits().size(); ++k) {
        const StopbandRequirement& limit = comparison.Limits()[k];
        lines.push_back(
            {{QStringLiteral("At %1 MHz, %2 dBc required")
                  .arg(Format("%.2f", limit.FrequencyMhz), Format("%.1f", limit.MinAttenuationDbc))},
             0,
             kPageWhite,
             true});
        for (size_t r = 0; r < rows.size(); ++r) {
            if (k >= rows[r].Margins.size()) continue;
            const StopbandResult& margin = rows[r].Margins[k];
            lines.push_back({{QString::fromStdString(rows[r].Name), Format("%.1f dBc", margin.WorstCaseDbc),
                              Format("%+.1f dB", margin.MarginDb)},
                             0,
                             TraceColour(static_cast<int>(r))});
        }
        if (judged && k < judgement.Points.size()) lines.push_back(SamplePointLine(judgement.Points[k]));
    }
}

// The measured file against the reference part's model, in dB of loss: measured less model.
void AddDeviationLines(std::vector<CompareTableLine>& lines, const Comparison& comparison,
                       bool referenceChosen) {
    const MeasuredComparison& deviations = comparison.MeasuredDeviations();
    if (!comparison.HasMeasured() || deviations.Summary.empty()) return;
    lines.push_back({{QStringLiteral("Measured vs %1 (%2)")
                          .arg(QString::fromStdString(deviations.PartNumber),
                               referenceChosen ? QStringLiteral("chosen in the legend")
                                               : QStringLiteral("the first part"))},
                     0,
                     MeasuredColour(),
                     true});
    lines.push_back({{QStringLiteral("Loss, dB"), QStringLiteral("Model"), QStringLiteral("Meas."),
                      QStringLiteral("Dev. dB")},
                     0,
                     kPageWhite});
    for (const DeviationEntry& entry : deviations.Summary) {
        if (!ListedInTable(entry)) continue;
        lines.push_back({{DeviationLabel(entry), Format("%.2f", entry.Model), Format("%.2f", entry.Measured),
                          Format("%+.2f", std::round(entry.Deviation * 100.0) / 100.0 + 0.0)},
                         0,
                         MeasuredColour()});
    }
}

// A line broken at spaces into pieces no wider than `width`, the later ones indented.
QStringList Wrapped(const QString& text, const CompareTableOptions& options) {
    if (!options.TextWidth) return {text};
    QStringList pieces;
    QString piece;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString longer = piece.isEmpty() ? word : piece + QLatin1Char(' ') + word;
        if (!piece.isEmpty() && options.TextWidth(longer) > options.Width) {
            pieces << piece;
            piece = QStringLiteral("  ") + word;
        } else {
            piece = longer;
        }
    }
    pieces << piece;
    return pieces;
}

// The sample against the requirement itself, the verdict last.
void AddSampleLines(std::vector<CompareTableLine>& lines, const Comparison& comparison,
                    const CompareTableOptions& options) {
    const SampleJudgement& judgement = comparison.Judgement();
    if (!comparison.HasMeasured() || (!judgement.Judged && judgement.NotJudged.empty())) return;
    lines.push_back({{QStringLiteral("The sample against the requirement")}, 0, MeasuredColour(), true});
    for (const std::string& text : SampleJudgementLines(judgement))
        for (const QString& piece : Wrapped(QString::fromStdString(text), options))
            lines.push_back({{piece}, 0, kPageWhite});
}

}  // namespace

const QColor& TraceColour(int index) {
    // Inverted for print: blue, red, green, purple, orange and teal on white.
    static const QColor colours[kMaxComparedParts] = {QColor(255, 255, 55),  QColor(55, 255, 255),
                                                      QColor(255, 125, 255), QColor(105, 255, 105),
                                                      QColor(55, 155, 255),  QColor(255, 125, 115)};
    return colours[std::clamp(index, 0, kMaxComparedParts - 1)];
}

const QColor& MeasuredColour() {
    // Dark grey in print, dashed, apart from the parts' colours.
    static const QColor colour(200, 200, 200);
    return colour;
}

QPen TracePen(int index, bool chosen) {
    // In pen widths: the first part solid, then dashes, dots and their mixtures; the measured file in
    // long dashes.
    static const QList<qreal> patterns[kMaxComparedParts + 1] = {
        {}, {6, 3}, {1, 2}, {6, 3, 1, 3}, {6, 3, 1, 3, 1, 3}, {10, 3, 3, 3}, {14, 6}};
    QPen pen(Qt::white, chosen ? 2 : 1);
    pen.setCapStyle(Qt::FlatCap);
    const QList<qreal>& pattern = patterns[std::clamp(index, 0, kMaxComparedParts)];
    if (!pattern.isEmpty()) pen.setDashPattern(pattern);
    return pen;
}

CompareLayout LayoutFor(QSize clientSize, int fontPixels) {
    CompareLayout layout;
    const int line = fontPixels + 4;
    const int right = std::max(300, fontPixels * 26);
    const int left = fontPixels * 4;
    const int graphWidth = std::max(100, clientSize.width() - left - right - 20);
    const int top = line * 2;
    const int bottom = clientSize.height() - line * 2;
    const int available = std::max(120, bottom - top - line * 2);
    const int attenuation = available * 45 / 100;
    const int returnLoss = available * 27 / 100;
    layout.Attenuation = QRect(left, top, graphWidth, attenuation);
    layout.ReturnLoss = QRect(left, layout.Attenuation.bottom() + line, graphWidth, returnLoss);
    layout.Delay =
        QRect(left, layout.ReturnLoss.bottom() + line, graphWidth, available - attenuation - returnLoss);
    const int column = layout.Attenuation.right() + 20;
    layout.LegendRowHeight = line;
    // A title, six parts and a measured file.
    layout.Legend = QRect(column, top, clientSize.width() - column - 8, line * (kMaxComparedParts + 2));
    layout.Table = QRect(column, layout.Legend.bottom() + line, layout.Legend.width(),
                         std::max(line, bottom - layout.Legend.bottom() - line));
    return layout;
}

std::vector<CompareTableLine> CompareTableLines(const Comparison& comparison,
                                                const CompareTableOptions& options) {
    std::vector<CompareTableLine> lines;
    if (comparison.Curves().empty() && !comparison.HasMeasured()) return lines;
    AddMarkerLines(lines, comparison, options.View);
    AddMarginLines(lines, comparison);
    AddDeviationLines(lines, comparison, options.ReferenceChosen);
    AddSampleLines(lines, comparison, options);
    return lines;
}

QString CompareTableText(const std::vector<CompareTableLine>& lines) {
    QString text;
    for (const CompareTableLine& line : lines) {
        if (line.GapBefore && !text.isEmpty()) text += QLatin1Char('\n');
        text += QString(line.FirstColumn, QLatin1Char('\t')) + line.Cells.join(QLatin1Char('\t')) +
                QLatin1Char('\n');
    }
    return text;
}

int CompareTableHeight(const std::vector<CompareTableLine>& lines, int line) {
    int height = 0;
    for (const CompareTableLine& l : lines) height += line + (l.GapBefore ? line / 2 : 0);
    return height;
}

void DrawComparePage(PageCanvas& canvas, const Comparison& comparison, const ComparePageView& view,
                     const CompareLayout& layout) {
    ComparePage(canvas, comparison, view, layout).Draw();
}

}  // namespace veltrix
