#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QPrinter;

namespace veltrix {

// Where one report line lands when printed: its page (0 first) and its top in printer pixels.
struct ReportLinePlacement {
    int Page = 0;
    long long Y = 0;
    bool operator==(const ReportLinePlacement&) const = default;
};

// The report's paging: lines one (lineHeight + 1) apart, the first page from its top edge and every
// later page one line lower; a line goes on a page only when it ends within it (y + h <= H). Empty
// for a page height of 0 or less.
std::vector<ReportLinePlacement> PageReportLines(int lineCount, int lineHeight, int pageHeight);

// Prints the lines in "Courier New" 9 pt on the printer, one job, no title of its own. On any error,
// the output's included, the job is aborted, no partial file is left and false returned.
bool PrintTabularReport(QPrinter& printer, const QStringList& lines, QString* writeError = nullptr);

}  // namespace veltrix
