#include "datasheet/datasheet.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

#include "engine/choices.h"
#include "outline/drawing_canvas.h"
#include "outline/outline_drawings.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "platform/page_canvas.h"
#include "platform/user_file_reporting.h"
#include "printing/vector_export.h"
#include "spec_screen/response_graph.h"
#include "spec_screen/tolerance_texts.h"
#include "version/version.h"

namespace veltrix {
namespace {

// Page geometry in pixels of a 96-dpi display.
constexpr double kMarginX = 60;
constexpr double kMarginTop = 48;
constexpr double kMarginBottom = 56;
constexpr double kFooterGap = 18;
constexpr int kBodyPixels = 13;
constexpr int kReportPixels = 12;
constexpr double kGraphColumnLeft = 380;  // from the left margin
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

// The part of the specification screen's picture the graph and its labels take.
const QRect kGraphArea(342, 4, 626 - 342, 400 - 4);

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

QPicture GraphPicture(const ResponseData& graph, const DisplaySettings& display) {
    QPicture picture;
    QPainter recorder(&picture);
    PageCanvas canvas(recorder);
    DrawResponseGraph(canvas, graph, display, GraphWidthCaption::Omitted);
    canvas.Flush();
    recorder.end();
    return picture;
}

QPicture OutlinePicture(FilterSpec spec, char units, const DisplaySettings& display) {
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

// The report's lines per page, under the heading of its first page and of every later one.
int ReportLinesPerPage(const Page& page) {
    const double headed = page.bottom - (page.top + 32);
    return std::max(1, static_cast<int>(headed / ReportLineHeight()));
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

void PaintFirstPage(QPainter& painter, const Page& page, const DatasheetContent& sheet,
                    const DisplaySettings& display) {
    const double left = page.left;
    PaintLogo(painter, QPointF(left, page.top));
    PutRight(painter, page.right, page.top + 6, QStringLiteral("Datasheet"), Sans(22, true));
    PutRight(painter, page.right, page.top + 38, Text(kDatasheetMaker), Sans(12));
    double y = page.top + 72;
    painter.fillRect(QRectF(left, y, page.width(), 1.5), Qt::black);
    y += 14;
    y = Put(painter, left, y, QStringLiteral("Part number"), Sans(12));
    y = Put(painter, left, y, Text(sheet.PartNumber), Sans(28, true)) + 12;

    // Left column: the entries, the insertion loss and the stopband table; the graph at the right.
    const double columnTop = y;
    const double columnWidth = kGraphColumnLeft - 24;
    y = Heading(painter, left, y, columnWidth, QStringLiteral("Specification"));
    const QFont body = Sans(kBodyPixels);
    const QFont label = Sans(kBodyPixels, true);
    for (const DatasheetEntry& entry : sheet.Entries) {
        Put(painter, left, y, Text(entry.Label), label);
        y = Put(painter, left + 130, y, Text(entry.Value), body) + 3;
    }
    y += 14;
    y = Heading(painter, left, y, columnWidth, QStringLiteral("Insertion loss"));
    y = Put(painter, left, y, Text(sheet.InsertionLoss), body) + 17;
    y = Heading(painter, left, y, columnWidth, QStringLiteral("Stopband points"));
    if (sheet.Stopbands.empty()) {
        y = Put(painter, left, y, Text(kNoStopbandPoints), body);
    } else {
        const double columns[] = {left, left + 50, left + 155, left + 255};
        const QString headings[] = {QStringLiteral("Point"), QStringLiteral("Frequency"),
                                    QStringLiteral("Computed"), QStringLiteral("Guaranteed")};
        for (int i = 0; i < 4; ++i) Put(painter, columns[i], y, headings[i], label);
        y += QFontMetricsF(label).lineSpacing() + 3;
        for (const DatasheetStopband& row : sheet.Stopbands) {
            const std::string* cells[] = {&row.Name, &row.Frequency, &row.Computed, &row.Guaranteed};
            for (int i = 0; i < 4; ++i) Put(painter, columns[i], y, Text(*cells[i]), body);
            y += QFontMetricsF(body).lineSpacing() + 3;
        }
    }
    const double leftBottom = y;

    const QPicture graph = GraphPicture(sheet.Graph, display);
    const double graphLeft = left + kGraphColumnLeft;
    const QRect bounds = kGraphArea;
    double graphY =
        Heading(painter, graphLeft, columnTop, page.right - graphLeft, QStringLiteral("Response"));
    const double scale = std::min(kMaxFigureScale, (page.right - graphLeft) / bounds.width());
    const QRectF placed = PlaceInverted(painter, graph, bounds, QPointF(graphLeft, graphY), scale);
    graphY = placed.bottom() + 6;
    const QFont small = Sans(11);
    const struct {
        QColor colour;
        const char* text;
    } legend[] = {{InvertedColour(kPageYellow), "Attenuation, dBc (left scale)"},
                  {InvertedColour(kPageMagenta), "Return loss, dB (right scale)"},
                  {InvertedColour(kPageCyan), "Group delay, ns (right scale)"}};
    for (const auto& item : legend) {
        painter.fillRect(QRectF(graphLeft, graphY + 6, 18, 2), item.colour);
        graphY = Put(painter, graphLeft + 24, graphY, QString::fromLatin1(item.text), small);
    }

    // Below both columns: the guarantee and the tolerances.
    y = std::max(leftBottom, graphY) + 16;
    if (!sheet.Guarantee.empty())
        y = Put(painter, left, y, Text(sheet.Guarantee), Sans(kBodyPixels, true)) + 12;
    y = Heading(painter, left, y, page.width(), Text(kToleranceHeading));
    y = Put(painter, left, y, Text(kToleranceIntroduction), body) + 2;
    for (const std::string_view line : kToleranceGuidelines)
        y = Put(painter, left + 24, y, Text(line), body) + 2;
    y += 6;
    for (const std::string_view line : kToleranceGuarantees) y = Put(painter, left, y, Text(line), body) + 2;
    y += 6;
    Put(painter, left, y, Text(kToleranceContact), Sans(kBodyPixels, false, true));
}

void PaintOutlinePage(QPainter& painter, const Page& page, const DatasheetContent& sheet,
                      const DisplaySettings& display) {
    double y = Heading(painter, page.left, page.top, page.width(),
                       QStringLiteral("Outline drawing: ") + Text(MountingLabel(sheet.Spec.Mounting)));
    if (!sheet.OutlineInches || !sheet.OutlineMillimetres) {
        for (const std::string& line : sheet.OutlineNoticeLines)
            y = Put(painter, page.left, y, Text(line), Sans(14));
        return;
    }
    const QPicture inches = OutlinePicture(sheet.Spec, CodeOf(DrawingUnits::Inches), display);
    const QPicture millimetres = OutlinePicture(sheet.Spec, CodeOf(DrawingUnits::Millimetres), display);
    const QFont subheading = Sans(13, true);
    const double captions = 2 * (QFontMetricsF(subheading).lineSpacing() + 10) + 24;
    const QRect a = inches.boundingRect();
    const QRect b = millimetres.boundingRect();
    const double widest = std::max(a.width(), b.width());
    const double heights = a.height() + b.height();
    const double scale =
        std::min({kMaxFigureScale, page.width() / widest, (page.bottom - y - captions) / heights});
    y = Put(painter, page.left, y + 4, QStringLiteral("Dimensions in inches"), subheading) + 6;
    y = PlaceInverted(painter, inches, a, QPointF(page.left, y), scale, DarkenedColour).bottom() + 24;
    y = Put(painter, page.left, y, QStringLiteral("Dimensions in millimetres"), subheading) + 6;
    PlaceInverted(painter, millimetres, b, QPointF(page.left, y), scale, DarkenedColour);
}

}  // namespace

QPageSize PageSizeOf(Paper paper) {
    return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

int DatasheetPageCount(const DatasheetContent& sheet, Paper paper) {
    const int perPage = ReportLinesPerPage(PageOf(paper));
    const int lines = static_cast<int>(sheet.Report.size());
    return 2 + std::max(1, (lines + perPage - 1) / perPage);
}

void PaintDatasheet(QPainter& painter, QPagedPaintDevice& device, const DatasheetContent& sheet, Paper paper,
                    const DisplaySettings& display) {
    const Page page = PageOf(paper);
    const int count = DatasheetPageCount(sheet, paper);
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
    PaintFirstPage(painter, page, sheet, display);
    end(false);
    begin();
    PaintOutlinePage(painter, page, sheet, display);
    end(false);

    const int perPage = ReportLinesPerPage(page);
    const QFont mono = Mono(kReportPixels);
    const double lineHeight = ReportLineHeight();
    const int lines = static_cast<int>(sheet.Report.size());
    for (int first = 0; first < std::max(lines, 1); first += perPage) {
        begin();
        double y =
            Heading(painter, page.left, page.top, page.width(),
                    first == 0 ? QStringLiteral("Tabular data") : QStringLiteral("Tabular data (continued)"));
        painter.setFont(mono);
        const double ascent = QFontMetricsF(mono).ascent();
        for (int i = first; i < std::min(lines, first + perPage); ++i, y += lineHeight)
            painter.drawText(QPointF(page.left, y + ascent), QString::fromStdString(sheet.Report[size_t(i)]));
        end(first + perPage >= lines);
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
        pdf.setTitle(QStringLiteral("Datasheet ") + Text(sheet.PartNumber));
        pdf.setCreator(QStringLiteral("Veltrix " VELTRIX_VERSION));
        QPainter painter(&pdf);
        if (!painter.isActive()) return {};
        PaintDatasheet(painter, pdf, sheet, paper);
        if (!painter.end()) return {};
    }
    buffer.close();
    return document;
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
