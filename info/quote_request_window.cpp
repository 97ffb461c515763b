#include "info/quote_request_window.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "platform/fonts.h"
#include "platform/page_button.h"
#include "platform/services.h"
#include "printing/print_dialogs.h"
#include "printing/print_output.h"
#include "product_texts/contact_data.h"
#include "program/program.h"

namespace veltrix {

namespace {

QFont FormFont(const QPaintDevice& device, int points) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * device.logicalDpiY() / 72.0))));
    return font;
}

int TextHeight(const QPaintDevice& device, int points) {
    return QFontMetrics(FormFont(device, points), &device)
        .size(Qt::TextSingleLine, QStringLiteral("Hi there!"))
        .height();
}

bool DrawForm(QPrinter& printer, QPainter& painter) {
    const QPaintDevice& device = *painter.device();
    const QuoteTextHeights heights = QuoteFormTextHeights(device);
    if (heights.At9 <= 0 || device.width() < 80) return false;

    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    int points = 0;
    for (const QuoteFormItem& item : LayoutQuoteForm(device.width(), heights)) {
        if (item.Points != points) {
            points = item.Points;
            painter.setFont(FormFont(device, points));
        }
        switch (item.What) {
            case QuoteFormItem::Kind::Text:
                painter.drawText(QPoint(item.X, item.Y + painter.fontMetrics().ascent()),
                                 QString::fromStdString(item.Text));
                break;
            case QuoteFormItem::Kind::Rectangle:
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(QRect(item.X, item.Y, item.X2 - item.X, item.Y2 - item.Y));
                painter.setBrush(Qt::white);
                break;
            case QuoteFormItem::Kind::Line:
                painter.drawLine(item.X, item.Y, item.X2, item.Y2);
                break;
        }
    }
    return printer.printerState() != QPrinter::Error;
}

// Says how long a page the form needs and how long the chosen one is, in the units people buy paper in.
QString PageTooShort(int needed, int available, int dotsPerInch) {
    const auto length = [&](int pixels) {
        const double inches = static_cast<double>(pixels) / std::max(dotsPerInch, 1);
        return QStringLiteral("%1 in (%2 mm)").arg(inches, 0, 'f', 1).arg(std::lround(inches * 25.4));
    };
    return QStringLiteral(
               "The quote form does not fit on this paper: it needs a printable page %1 long, "
               "and the paper chosen gives %2. Please choose a longer paper, such as Letter or A4.")
        .arg(length(needed), length(available));
}

}  // namespace

QuoteTextHeights QuoteFormTextHeights(const QPaintDevice& printer) {
    QuoteTextHeights heights;
    heights.At12 = TextHeight(printer, 12);
    heights.At10 = TextHeight(printer, 10);
    heights.At9 = TextHeight(printer, 9);
    return heights;
}

bool PrintQuoteRequestForm(QPrinter& printer, QString* writeError) {
    printer.setDocName(QString::fromLatin1(kQuoteFormTitle));
    printer.setPageOrientation(QPageLayout::Portrait);
    // A PDF file is written as every window's printout is: whole, by the program's one writer.
    return PrintDirectJob(
        printer, [&](QPainter& painter) { return DrawForm(printer, painter); }, writeError);
}

QuoteRequestWindow::QuoteRequestWindow(Program& program, QWidget* parent)
    : PageWindow(program, QStringLiteral("Request for Quote"), QStringLiteral("Veltrix Quote Request"),
                 Kind::TopLevel, parent) {
    setObjectName(QStringLiteral("quote_request_window"));
    AddLogoBlock();
    onlineQuoteButton_ = new PageButton(QStringLiteral("&Online Quote Form"), client_);
    onlineQuoteButton_->setObjectName(QStringLiteral("online_quote_button"));
    onlineQuoteButton_->setGeometry(464, 213, 100, 25);
    printFormButton_ = new PageButton(QStringLiteral("&Print Quote Form"), client_);
    printFormButton_->setObjectName(QStringLiteral("print_quote_button"));
    printFormButton_->setGeometry(464, 263, 100, 25);
    connect(onlineQuoteButton_, &QPushButton::clicked, this, &QuoteRequestWindow::onOnlineQuote);
    connect(printFormButton_, &QPushButton::clicked, this, &QuoteRequestWindow::onPrintQuoteForm);
    FinishLayout();
    move(162, 103);
    KeepOnScreen(this);
}

QuoteRequestWindow::~QuoteRequestWindow() = default;

void QuoteRequestWindow::PaintPage(PageWriter& page) {
    page.Box(25, 160, 607, 323);
    page.Text(40, 150, kPageYellow, QStringLiteral("REQUEST FOR QUOTE"));
    page.Text(40, 179, kPageWhite, QStringLiteral("There are two ways to submit a request for quote (RFQ):"));
    page.Text(118, 220, kPageWhite, QStringLiteral("1) Submit RFQ online for quickest response."));
    page.Text(118, 270, kPageWhite, QStringLiteral("2) Print RFQ form, complete and fax."));
}

void QuoteRequestWindow::onOnlineQuote() {
    OpenShellLink(program_, this,
                  QString::fromLatin1(contact::kWebSiteAddress) + QStringLiteral("/veltrixquote.html"),
                  QString::fromLatin1(kBrowserFailure));
}

QPrinter& QuoteRequestWindow::FormPrinter() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void QuoteRequestWindow::onPrintQuoteForm() { PrintQuoteForm(FormPrinter()); }

bool QuoteRequestWindow::PrintQuoteForm(QPrinter& printer) {
    // The dialog proposes its file after the job title and shows the page the form is laid out for:
    // portrait, whatever the printer was set to for an earlier job.
    printer.setDocName(QString::fromLatin1(kQuoteFormTitle));
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!program_.PrintDialogs || !program_.PrintDialogs->Run(printer, this)) return false;
    printer.setPageOrientation(QPageLayout::Portrait);
    const int needed = QuoteFormHeight(QuoteFormTextHeights(printer));
    if (printer.height() < needed) {
        if (program_.Messages)
            program_.Messages->ShowMessage(this, PageTooShort(needed, printer.height(), printer.resolution()),
                                           QStringLiteral("Print Quote Form"));
        return false;
    }
    QString writeError;
    if (PrintQuoteRequestForm(printer, &writeError)) return true;
    if (!writeError.isEmpty() && program_.Messages)
        program_.Messages->ShowMessage(this, QStringLiteral("Cannot write ") + writeError, QString());
    if (program_.Hub) program_.Hub->ShowPrintException();
    return false;
}

}  // namespace veltrix
