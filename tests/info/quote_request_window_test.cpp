#include "info/quote_request_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

#include "info_fixture.h"

namespace veltrix {
namespace {

using testing::InfoTest;

int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(
        QString::fromLatin1(file.readAll()).count(QRegularExpression(R"(/Type\s*/Page\b(?!s))")));
}

class QuoteFormPrinting : public InfoTest {
  protected:
    void SetUp() override {
        InfoTest::SetUp();
        printer.setOutputFormat(QPrinter::PdfFormat);
        pdf = dir.filePath("form.pdf");
        printer.setOutputFileName(pdf);
    }
    QPrinter printer{QPrinter::HighResolution};
    QString pdf;
};

TEST_F(QuoteFormPrinting, PrintsOnePageWithItsTextAndTitle) {
    QuoteRequestWindow rfq(program);
    EXPECT_TRUE(rfq.PrintQuoteForm(printer));
    EXPECT_EQ(dialogs.runs, 1);
    EXPECT_EQ(hub.Count("PrintException"), 0);
    EXPECT_EQ(printer.docName(), QString("Veltrix Quote Request Form"));
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_TRUE(hub.printTitles.isEmpty()) << "drawn directly, not through the picture print";

    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext not installed";
    QProcess process;
    process.start(pdftotext, {"-layout", pdf, "-"});
    ASSERT_TRUE(process.waitForFinished(20000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    for (const char* expected : {"REQUEST FOR QUOTE", "Veltrix\u00ae part number", "Quantity",
                                 "REMARKS/COMMENTS:", "ZIP/COUNTRY CODE", "www.norvane.example"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

// The page's size in points as the PDF's media box gives it.
QSizeF PdfPageSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])")
            .match(QString::fromLatin1(file.readAll()));
    return box.hasMatch() ? QSizeF(box.captured(1).toDouble(), box.captured(2).toDouble()) : QSizeF();
}

TEST_F(QuoteFormPrinting, DialogProposesTheJobTitle) {
    QuoteRequestWindow rfq(program);
    printer.setDocName(QStringLiteral("print"));
    rfq.PrintQuoteForm(printer);
    EXPECT_EQ(dialogs.LastDocName(), QString("Veltrix Quote Request Form"));
}

// The form is laid out for a portrait page; a printer left in landscape by an earlier job (or set
// so in the dialog) still prints it portrait and whole.
TEST_F(QuoteFormPrinting, PrintsPortraitWhateverThePrinterWasSetTo) {
    QuoteRequestWindow rfq(program);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    EXPECT_TRUE(rfq.PrintQuoteForm(printer));
    EXPECT_EQ(dialogs.LastOrientation(), QPageLayout::Portrait);
    const QSizeF page = PdfPageSize(pdf);
    EXPECT_LT(page.width(), page.height()) << page.width() << " x " << page.height();

    dialogs.choose = [](QPrinter& p) { p.setPageOrientation(QPageLayout::Landscape); };
    EXPECT_TRUE(rfq.PrintQuoteForm(printer));
    const QSizeF again = PdfPageSize(pdf);
    EXPECT_LT(again.width(), again.height()) << again.width() << " x " << again.height();
    EXPECT_TRUE(messages.texts.isEmpty());
}

// Paper too short for the form's rows even upright: the user is told so and nothing is printed.
TEST_F(QuoteFormPrinting, PaperTooShortForTheRowsSaysSoAndPrintsNothing) {
    QuoteRequestWindow rfq(program);
    dialogs.choose = [](QPrinter& p) { p.setPageSize(QPageSize(QPageSize::A6)); };
    EXPECT_FALSE(rfq.PrintQuoteForm(printer));
    EXPECT_FALSE(QFileInfo::exists(pdf));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("does not fit")))
        << messages.texts[0].toStdString();
    EXPECT_EQ(hub.Count("PrintException"), 0);
}

TEST_F(QuoteFormPrinting, CancelledDialogPrintsNothing) {
    QuoteRequestWindow rfq(program);
    dialogs.answer = false;
    rfq.PrintFormButton()->click();
    EXPECT_EQ(dialogs.runs, 1) << "the button asks the window's own printer";
    EXPECT_FALSE(rfq.PrintQuoteForm(printer));
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_EQ(hub.Count("PrintException"), 0);
}

TEST_F(QuoteFormPrinting, FailedJobIsAbortedAndShowsAbortPrint) {
    QuoteRequestWindow rfq(program);
    printer.setOutputFileName(dir.filePath("no/such/dir/form.pdf"));
    EXPECT_FALSE(rfq.PrintQuoteForm(printer));
    EXPECT_EQ(hub.Count("PrintException"), 1);
    EXPECT_TRUE(rfq.isHidden()) << "the window stays as it was";
}

// The form reaches a PDF file through the program's one writer, as every window's printout does:
// only whole, and with the reason when it cannot be written.
TEST_F(QuoteFormPrinting, APdfFileIsWrittenWholeByTheProgramsWriterOrNotAtAll) {
    QuoteRequestWindow rfq(program);
    const QString full = QStringLiteral("/dev/full");
    printer.setOutputFileName(full);
    EXPECT_FALSE(rfq.PrintQuoteForm(printer));
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Cannot write /dev/full: ") +
                                          QString::fromLocal8Bit(strerror(ENOSPC))});
    EXPECT_EQ(hub.Count("PrintException"), 1);

    // A descriptor the program opened itself is no file of the user's: QPrinter would write into it.
    QFile held(dir.filePath("held.dat"));
    ASSERT_TRUE(held.open(QIODevice::WriteOnly));
    const QString own = QStringLiteral("/dev/fd/%1").arg(held.handle());
    printer.setOutputFileName(own);
    EXPECT_FALSE(rfq.PrintQuoteForm(printer));
    EXPECT_EQ(messages.texts.last(), QStringLiteral("Cannot write ") + own + QStringLiteral(": ") +
                                         QString::fromLocal8Bit(strerror(EBADF)));
    held.close();
    EXPECT_EQ(QFileInfo(held.fileName()).size(), 0);

    printer.setOutputFileName(pdf);
    EXPECT_TRUE(rfq.PrintQuoteForm(printer));
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(printer.outputFileName(), pdf) << "the printer keeps the user's file name";
}

}  // namespace
}  // namespace veltrix
