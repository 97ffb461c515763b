#include "printing/report_printout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "printing/print_output.h"

namespace veltrix {

namespace {

constexpr const char* kLineHeightSample = "QWERTYUIOPASDFGHJKLZXCVBNM";

QFont ReportPrintFont(const QPaintDevice& device) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(9.0 * device.logicalDpiY() / 72.0))));
    return font;
}

bool DrawReport(QPrinter& printer, QPainter& painter, const QStringList& lines) {
    painter.setFont(ReportPrintFont(printer));
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::white);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);

    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.size(Qt::TextSingleLine, QString::fromLatin1(kLineHeightSample)).height();
    const int pageHeight = painter.device()->height();
    const auto placements = PageReportLines(static_cast<int>(lines.size()), lineHeight, pageHeight);
    if (placements.size() != static_cast<size_t>(lines.size())) return false;

    int page = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ReportLinePlacement& at = placements[static_cast<size_t>(i)];
        while (page < at.Page) {
            if (!printer.newPage()) return false;
            ++page;
        }
        painter.drawText(20, static_cast<int>(at.Y) + metrics.ascent(), lines[i]);
    }
    return true;
}

}  // namespace

std::vector<ReportLinePlacement> PageReportLines(int lineCount, int lineHeight, int pageHeight) {
    std::vector<ReportLinePlacement> out;
    if (pageHeight <= 0 || lineCount <= 0) return out;
    const long long height = std::max(lineHeight, 0);
    const long long step = height + 1;
    out.reserve(static_cast<size_t>(lineCount));
    long long c = 0;
    int page = 0;
    for (int i = 0; i < lineCount; ++i) {
        long long y = c * step;
        // A line goes on the page only when it ends within it.
        if (c > 0 && y + height > pageHeight) {
            ++page;
            c = 1;
            y = step;
            // A page too short for the continuation offset still takes one line at its top.
            if (y + height > pageHeight) {
                c = 0;
                y = 0;
            }
        }
        out.push_back({page, y});
        ++c;
    }
    return out;
}

bool PrintTabularReport(QPrinter& printer, const QStringList& lines, QString* writeError) {
    printer.setDocName(QString());
    return PrintDirectJob(
        printer, [&](QPainter& painter) { return DrawReport(printer, painter, lines); }, writeError);
}

}  // namespace veltrix
