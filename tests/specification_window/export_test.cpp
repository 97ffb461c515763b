#include <sys/stat.h>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <cstring>
#include <optional>
#include <thread>

#include "platform/services.h"
#include "specification_fixture.h"
#include "tests/support/answer_save_dialog.h"
#include "tests/support/export_against_print.h"
#include "tests/support/fakes.h"

namespace veltrix::testing {
namespace {

class ExportTest : public SelectTest {
  protected:
    ExportTest() {
        program.SaveDialogs = &dialog;
        program.Messages = &messages;
        select->resize(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight);
        // The screen as a user finds it: its first judgement is in.
        JudgeStoredInputs();
    }
    bool Export(const QString& name) {
        dialog.answer = name.isEmpty() ? QString() : dir.filePath(name);
        select->Actions().Action(QStringLiteral("export_vectors"))->trigger();
        return QFile::exists(dialog.answer);
    }
    // The PDF's text layer as pdftotext reads it; nullopt where poppler-utils is missing.
    static std::optional<QString> PdfText(const QString& path) {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty()) return std::nullopt;
        QProcess process;
        process.start(pdftotext, {path, QStringLiteral("-")});
        EXPECT_TRUE(process.waitForFinished(30000));
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    AnswerSaveDialog dialog;
    FakeMessages messages;
};

TEST_F(ExportTest, SvgHoldsThePageAsTextDarkOnWhite) {
    ASSERT_TRUE(Export(QStringLiteral("page.svg")));
    EXPECT_EQ(dialog.proposed, QStringList{QStringLiteral("Veltrix Filter Specification.pdf")});
    EXPECT_TRUE(messages.texts.isEmpty());
    const QByteArray svg = Contents(dialog.answer);
    EXPECT_TRUE(svg.contains("3DR25-1000/U20 - 1.8")) << "part number as text";
    EXPECT_TRUE(svg.contains("Insertion loss at Fo  =   2.4  dB")) << "result label as text";
    EXPECT_TRUE(svg.contains(">1000.0<")) << "entry text";

    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_TRUE(renderer.viewBox().contains(
        QRect(0, 0, SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight)))
        << "the whole window";
    QImage image(renderer.viewBox().size(), QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    // The black page comes out white; its light drawing comes out dark.
    EXPECT_EQ(image.pixelColor(600, 5), QColor(Qt::white));
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 96;
    EXPECT_GT(dark, 500);
}

TEST_F(ExportTest, PdfTextLayerHoldsThePartNumber) {
    ASSERT_TRUE(Export(QStringLiteral("page.pdf")));
    EXPECT_TRUE(Contents(dialog.answer).startsWith("%PDF-"));
    const std::optional<QString> text = PdfText(dialog.answer);
    if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_TRUE(text->contains(QStringLiteral("3DR25-1000/U20 - 1.8"))) << text->toStdString();
}

// Texts the screen covers (the page's own labels under the result fields, words written over in
// another colour) are in the text layer once, as the page shows them.
TEST_F(ExportTest, TextLayerHoldsEachTextOnce) {
    ASSERT_TRUE(Export(QStringLiteral("page.svg")));
    const QByteArray svg = Contents(dialog.answer);
    EXPECT_EQ(svg.count("Insertion loss at Fo"), 1);
    EXPECT_EQ(svg.count(">Insertion"), 1);

    ASSERT_TRUE(Export(QStringLiteral("page.pdf")));
    const std::optional<QString> text = PdfText(dialog.answer);
    if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_EQ(text->count(QStringLiteral("Insertion")), 1) << text->toStdString();
    EXPECT_TRUE(
        text->contains(QRegularExpression(QStringLiteral("Insertion loss at Fo\\s+=\\s+2\\.4\\s+dB"))))
        << text->toStdString();
}

TEST_F(ExportTest, PageIsTheDesignPageWhateverTheWindowSize) {
    for (const QSize& window : {QSize(1198, 301), QSize(320, 240)}) {
        select->resize(window);
        ASSERT_TRUE(Export(QStringLiteral("page.svg")));
        EXPECT_EQ(QSvgRenderer(Contents(dialog.answer)).viewBox(),
                  QRect(0, 0, SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight))
            << window.width() << " x " << window.height();
    }
}

// Where the export and the printout draw the same thing, they draw it in the same colours: the
// page, and the result fields black on white.
TEST_F(ExportTest, ColoursAreThePrintoutsPixelForPixel) {
    const ExportAndPrint images = RenderExportAndPrint(program, *select);
    EXPECT_EQ(Mismatches(images, PageOnly(select.get(), select->DrawnTexts(), select->FormPageOrigin())), 0);
    for (const char* name :
         {"insertion_loss", "stopband_f1_attenuation", "stopband_f2_attenuation", "caption", "version"}) {
        const QRect box = Child<QLabel>(name)->geometry();
        EXPECT_EQ(Ink(images.exported, box), Ink(images.printed, box)) << name;
    }
}

TEST_F(ExportTest, UnwritableFileIsReportedWithPathAndNothingIsLeft) {
    EXPECT_FALSE(Export(QStringLiteral("missing/page.pdf")));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(dialog.answer)) << messages.texts[0].toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

// A FIFO or a device named in the dialog is written to and stays what it was.
TEST_F(ExportTest, FifoAndDeviceAreWrittenToNeverReplaced) {
    const QString fifo = dir.filePath(QStringLiteral("drawing.pdf"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray received;
    std::thread reader([&] {
        QFile in(fifo);
        if (in.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) received = in.readAll();
    });
    Export(QStringLiteral("drawing.pdf"));
    reader.join();
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('\n').toStdString();
    EXPECT_TRUE(received.startsWith("%PDF-") && received.trimmed().endsWith("%%EOF"));
    struct stat info {};
    ASSERT_EQ(lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    dialog.answer = QStringLiteral("/dev/full");
    select->Actions().Action(QStringLiteral("export_vectors"))->trigger();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0],
              QStringLiteral("Cannot write /dev/full: ") + QString::fromLocal8Bit(strerror(ENOSPC)));
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(ExportTest, CancelWritesNothing) {
    EXPECT_FALSE(Export(QString()));
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

}  // namespace
}  // namespace veltrix::testing
