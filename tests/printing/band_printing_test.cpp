#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>

#include "printing/band_geometry.h"
#include "printing/print_job.h"
#include "printing/printer_surface.h"
#include "tests/printing/test_form.h"

namespace veltrix {
namespace {

using testing::FakeMessages;
using testing::FakeSurface;
using testing::ShownMessage;
using testing::TestForm;

// The window printed through a fake printer surface, as PrintFormToPage sends its bands.
class BandPrintingTest : public ::testing::Test {
  protected:
    bool Print(FakeSurface& surface, QSize band, bool showProgress = false) {
        PrintOptions options;
        options.ShowProgress = showProgress;
        options.ShowErrors = showErrors;
        return PrintFormToPage(form, surface, options, &messages, band);
    }

    bool showErrors = true;

    DisplaySettings display;
    TestForm form{display};
    FakeMessages messages;
};

TEST_F(BandPrintingTest, OneToOneBandShowsThePaintThenLabelsThenControls) {
    FakeSurface surface({632, 404});
    ASSERT_TRUE(Print(surface, {632, 404}));
    ASSERT_EQ(surface.Sent.size(), 1u);
    const PackedImage& band = surface.Sent[0].first;
    EXPECT_EQ(surface.Sent[0].second, QPoint(0, 0));
    EXPECT_EQ(QSize(band.Width, band.Height), QSize(632, 404));
    EXPECT_EQ(surface.Targets, std::vector<QRect>{QRect(0, 0, 632, 404)});
    EXPECT_EQ(surface.TargetsEnded, 1);

    EXPECT_EQ(band.ColourAt(50, 50), qRgb(0, 0, 0));
    EXPECT_EQ(band.ColourAt(150, 150), qRgb(255, 255, 255));
    EXPECT_EQ(band.ColourAt(20, 150), qRgb(255, 0, 255));
    EXPECT_EQ(band.ColourAt(310, 50), testing::kLabelColour.rgb());
    // The hidden label is left out.
    EXPECT_EQ(band.ColourAt(15, 15), qRgb(0, 0, 0));
    // The button comes after every label, so it covers the label made after it.
    const QRgb buttonFace = band.ColourAt(440, 315);
    EXPECT_NE(buttonFace, testing::kCoverColour.rgb());
    EXPECT_NE(buttonFace, qRgb(0, 0, 0));
    EXPECT_EQ(band.BitsPerPixel, 8);  // a handful of colours plus the button's shading
}

TEST_F(BandPrintingTest, InvertedCopyPrintsDarkOnWhite) {
    display.PaintCopyMode = CopyMode::InvertedSource;
    FakeSurface surface({632, 404});
    ASSERT_TRUE(Print(surface, {632, 404}));
    const PackedImage& band = surface.Sent.at(0).first;
    EXPECT_EQ(band.ColourAt(50, 50), qRgb(255, 255, 255));
    EXPECT_EQ(band.ColourAt(150, 150), qRgb(0, 0, 0));
    EXPECT_EQ(band.ColourAt(20, 150), qRgb(0, 255, 0));
}

TEST_F(BandPrintingTest, ScaledPageIsSentBandByBandWithinTheBandSize) {
    FakeSurface surface({4800, 6600});
    ASSERT_TRUE(Print(surface, {800, 600}));
    const std::vector<PixelRect> bands = CutBands({0, 0, 4800, 3068}, {800, 600});
    ASSERT_EQ(surface.Sent.size(), bands.size());
    EXPECT_EQ(form.PaintCount, static_cast<int>(bands.size()));
    for (size_t i = 0; i < bands.size(); ++i) {
        const PackedImage& image = surface.Sent[i].first;
        EXPECT_EQ(surface.Sent[i].second, QPoint(bands[i].Left, bands[i].Top));
        EXPECT_EQ(QSize(image.Width, image.Height), QSize(bands[i].Width, bands[i].Height));
        EXPECT_EQ(image.Bits.size(), static_cast<size_t>(image.BytesPerRow) * image.Height);
    }
    // Band 8 (second row, second column) holds printer pixels 800..1599 x 600..1199; the white
    // square spans source 100..199, printer 759..1518.
    const PackedImage& second = surface.Sent[7].first;
    EXPECT_EQ(second.ColourAt(1000 - 800, 1000 - 600), qRgb(255, 255, 255));
    EXPECT_EQ(second.ColourAt(1560 - 800, 1000 - 600), qRgb(0, 0, 0));
    // A plain black band goes out at 1 bit with a one-entry table.
    const PackedImage& bottomLeft = surface.Sent[30].first;
    EXPECT_EQ(bottomLeft.BitsPerPixel, 1);
    EXPECT_EQ(bottomLeft.ColourTable, std::vector<uint32_t>{qRgb(0, 0, 0)});
    EXPECT_TRUE(surface.Copied.empty());
    EXPECT_TRUE(messages.Shown().empty());
}

// A 40 x 30 checkerboard of single pixels: every screen row and column shows as one run.
class CheckerForm : public QWidget, public PaintedForm {
  public:
    CheckerForm() { resize(40, 30); }
    void FormPaint(QPainter& canvas, QSize clientSize) override {
        for (int y = 0; y < clientSize.height(); ++y)
            for (int x = 0; x < clientSize.width(); ++x)
                canvas.fillRect(x, y, 1, 1, (x + y) % 2 ? Qt::white : Qt::black);
    }
    QWidget* FormWidget() override { return this; }
};

// Run lengths of equal colours along a line of the page.
std::vector<int> Runs(const std::vector<uint32_t>& line) {
    std::vector<int> runs;
    for (size_t i = 0; i < line.size(); ++i) {
        if (i == 0 || line[i] != line[i - 1]) runs.push_back(0);
        ++runs.back();
    }
    return runs;
}

TEST(BandSeamTest, EveryScreenRowAndColumnPrintsAtTheSameSizeAcrossBands) {
    // 533 / 40 = 13.325 printer pixels per screen pixel; bands of 97 x 61 cut through screen
    // pixels in both directions.
    CheckerForm form;
    FakeSurface surface({533, 800});
    PrintOptions options;
    ASSERT_TRUE(PrintFormToPage(form, surface, options, nullptr, QSize(97, 61)));
    const PixelRect destination = FitToPage({533, 800}, {40, 30});
    ASSERT_EQ(destination, (PixelRect{0, 0, 533, 399}));

    std::vector<std::vector<uint32_t>> page(399, std::vector<uint32_t>(533, 1u));
    for (const auto& [image, at] : surface.Sent)
        for (int y = 0; y < image.Height; ++y)
            for (int x = 0; x < image.Width; ++x) page[at.y() + y][at.x() + x] = image.ColourAt(x, y);

    // The whole page's mapping: printer pixel X takes source pixel trunc(X x source per destination).
    const long double perDestX = 40.0L / 533.0L;
    const long double perDestY = 30.0L / 399.0L;
    for (int y = 0; y < 399; ++y) {
        for (int x = 0; x < 533; ++x) {
            const int sx = static_cast<int>(x * perDestX);
            const int sy = static_cast<int>(y * perDestY);
            ASSERT_EQ(page[y][x], (sx + sy) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << x << "," << y;
        }
    }
    std::vector<uint32_t> column;
    for (int y = 0; y < 399; ++y) column.push_back(page[y][5]);
    const std::vector<int> rows = Runs(column);
    const std::vector<int> columns = Runs(page[5]);
    ASSERT_EQ(rows.size(), 30u);
    ASSERT_EQ(columns.size(), 40u);
    // 13 or 14 printer pixels each.
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_TRUE(rows[i] == 13 || rows[i] == 14) << "row " << i;
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_TRUE(columns[i] == 13 || columns[i] == 14) << "column " << i;
}

TEST_F(BandPrintingTest, ShortTransferSwitchesTheRestOfTheJobToBitmapCopies) {
    FakeSurface surface({1264, 808});
    surface.LinesShort = 1;
    ASSERT_TRUE(Print(surface, {632, 404}));
    EXPECT_EQ(surface.Sent.size(), 1u);
    ASSERT_EQ(surface.Copied.size(), 4u);
    EXPECT_EQ(surface.Copied[0].second, QPoint(0, 0));
    EXPECT_EQ(surface.Copied[3].second, QPoint(632, 404));
    EXPECT_EQ(messages.Shown(),
              (std::vector<ShownMessage>{{"StretchDIBits failed! Trying BitBlt", "Prnutils"}}));
}

TEST_F(BandPrintingTest, FailedBitmapCopyFailsTheJobAtOnce) {
    FakeSurface surface({1264, 808});
    surface.LinesShort = 5;
    surface.CopySucceeds = false;
    EXPECT_FALSE(Print(surface, {632, 404}));
    EXPECT_EQ(surface.Copied.size(), 1u);
    EXPECT_EQ(form.PaintCount, 1);
    EXPECT_EQ(messages.Shown(),
              (std::vector<ShownMessage>{{"StretchDIBits failed! Trying BitBlt", "Prnutils"},
                                         {"BitBlt failed", "Prnutils"}}));
    EXPECT_EQ(surface.TargetsEnded, 1);
}

TEST_F(BandPrintingTest, ErrorsStayQuietWhenNotShown) {
    showErrors = false;
    FakeSurface surface({632, 404});
    surface.LinesShort = 1;
    surface.CopySucceeds = false;
    EXPECT_FALSE(Print(surface, {632, 404}));
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(BandPrintingTest, PainterSurfacePutsEveryBandInPlaceAtOneToOne) {
    display.PaintCopyMode = CopyMode::InvertedSource;
    QImage page(1264, 808, QImage::Format_RGB32);
    page.fill(qRgb(1, 2, 3));
    QPainter canvas(&page);
    PainterSurface surface(canvas, GetPageMetrics(page));
    PrintOptions options;
    options.ShowErrors = true;
    ASSERT_TRUE(PrintFormToPage(form, surface, options, &messages, QSize(400, 300)));
    canvas.end();
    // Twice the window's size: window pixel (x, y) lands on page pixels (2x..2x+1, 2y..2y+1).
    EXPECT_EQ(page.pixel(2 * 50, 2 * 50), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(2 * 150 + 1, 2 * 150 + 1), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(2 * 199 + 1, 2 * 120), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(2 * 200, 2 * 120), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(2 * 310, 2 * 50), testing::kLabelColour.rgb());
    EXPECT_EQ(page.pixel(1263, 807), qRgb(255, 255, 255));
    EXPECT_TRUE(messages.Shown().empty());
}

PackedImage MonoBand(std::vector<uint32_t> table) {
    PackedImage image;
    image.Width = 3;
    image.Height = 2;
    image.BitsPerPixel = 1;
    image.BytesPerRow = PackedRowBytes(3, 1);
    // Rows 1 0 1 and 0 1 0; a one-colour band has only index 0.
    image.Bits =
        table.size() == 1 ? std::vector<uint8_t>(8, 0) : std::vector<uint8_t>{0xA0, 0, 0, 0, 0x40, 0, 0, 0};
    image.ColourTable = std::move(table);
    return image;
}

TEST(PainterSurfaceTest, BandsReachAPdfLosslesslyAndBlackAndWhiteAtOneBit) {
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb blue = qRgb(0, 0, 255);
    const std::vector<std::vector<uint32_t>> tables{{white, black}, {black, white}, {white}, {white, blue}};

    // The pixels survive whatever the table's order.
    for (const auto& table : tables) {
        QImage page(3, 2, QImage::Format_RGB32);
        page.fill(qRgb(9, 9, 9));
        QPainter canvas(&page);
        PainterSurface surface(canvas, GetPageMetrics(page));
        const PackedImage band = MonoBand(table);
        ASSERT_EQ(surface.SendImage(band, QPoint(0, 0)), 2);
        canvas.end();
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) EXPECT_EQ(page.pixel(x, y), band.ColourAt(x, y)) << x << "," << y;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("bands.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    {
        QPainter canvas(&printer);
        PainterSurface surface(canvas, GetPageMetrics(printer));
        int x = 0;
        for (const auto& table : tables) surface.SendImage(MonoBand(table), QPoint(x += 10, 0));
        PackedImage colours = MonoBand({});
        colours.BitsPerPixel = 4;
        colours.BytesPerRow = PackedRowBytes(3, 4);
        colours.ColourTable = {white, blue, qRgb(255, 0, 255)};
        colours.Bits = {0x01, 0x20, 0, 0, 0x12, 0x00, 0, 0};
        surface.SendImage(colours, QPoint(60, 0));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_EQ(pdf.count("/Subtype /Image"), 5);
    EXPECT_FALSE(pdf.contains("/DCTDecode"));
    EXPECT_EQ(pdf.count("/BitsPerComponent 1"), 3);
    EXPECT_FALSE(pdf.contains("/ImageMask"));
}

TEST(PainterSurfaceTest, BitmapCopyDrawsThePackedImage) {
    PackedImage image;
    image.Width = 3;
    image.Height = 2;
    image.BitsPerPixel = 1;
    image.BytesPerRow = PackedRowBytes(3, 1);
    image.ColourTable = {qRgb(255, 255, 255), qRgb(0, 0, 0)};
    image.Bits = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};  // rows 1 0 1 and 0 1 0
    QImage page(10, 10, QImage::Format_RGB32);
    page.fill(qRgb(9, 9, 9));
    QPainter canvas(&page);
    PainterSurface surface(canvas, GetPageMetrics(page));
    ASSERT_TRUE(surface.CopyBitmap(image, QPoint(4, 5)));
    EXPECT_EQ(surface.SendImage(image, QPoint(0, 0)), 2);
    canvas.end();
    EXPECT_EQ(page.pixel(4, 5), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(5, 6), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(7, 5), qRgb(9, 9, 9));
    EXPECT_EQ(page.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(0, 1), qRgb(255, 255, 255));
}

TEST_F(BandPrintingTest, NothingToPrintOnAnEmptyPage) {
    FakeSurface surface({0, 6600});
    EXPECT_TRUE(Print(surface, {800, 600}));
    EXPECT_TRUE(surface.Sent.empty());
    EXPECT_EQ(form.PaintCount, 0);
}

// Records the progress dialog's captions.
class CaptionRecorder : public QObject {
  public:
    CaptionRecorder() { qApp->installEventFilter(this); }
    ~CaptionRecorder() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange) {
            if (auto* dialog = qobject_cast<PrintProgressDialog*>(watched)) Captions << dialog->windowTitle();
        }
        return false;
    }
    QStringList Captions;
};

TEST_F(BandPrintingTest, ProgressCaptionCountsBandsAndTheDialogLastsOneJob) {
    CaptionRecorder one;
    FakeSurface single({632, 404});
    ASSERT_TRUE(Print(single, {632, 404}, true));
    EXPECT_EQ(one.Captions, (QStringList{"Printing", "Printing - 0%", "Printing - 100%"}));
    EXPECT_EQ(testing::OpenProgressDialog(), nullptr);

    CaptionRecorder four;
    FakeSurface quarters({1264, 808});
    bool dialogOpenWhilePainting = true;
    form.OnPaint = [&] { dialogOpenWhilePainting &= testing::OpenProgressDialog() != nullptr; };
    ASSERT_TRUE(Print(quarters, {632, 404}, true));
    EXPECT_TRUE(dialogOpenWhilePainting);
    EXPECT_EQ(four.Captions, (QStringList{"Printing", "Printing - 0%", "Printing - 25%", "Printing - 50%",
                                          "Printing - 75%", "Printing - 100%"}));
    EXPECT_EQ(testing::OpenProgressDialog(), nullptr);
}

TEST_F(BandPrintingTest, CancelStopsTheJobAtTheNextCheck) {
    FakeSurface surface({1264, 808});
    form.OnPaint = [] {
        PrintProgressDialog* dialog = testing::OpenProgressDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->CancelButton()->click();
        dialog->CancelButton()->click();
    };
    EXPECT_FALSE(Print(surface, {632, 404}, true));
    EXPECT_EQ(form.PaintCount, 1);
    EXPECT_TRUE(surface.Sent.empty());
    EXPECT_EQ(testing::OpenProgressDialog(), nullptr);
    EXPECT_EQ(surface.TargetsEnded, 1);
}

TEST_F(BandPrintingTest, PrintedWindowTakesNoInputDuringTheJob) {
    FakeSurface surface({632, 404});
    form.show();
    int clicks = 0;
    QObject::connect(form.Button, &QPushButton::clicked, [&] { ++clicks; });
    form.OnPaint = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), form.Button->mapToGlobal(QPointF(5, 5)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5),
                            form.Button->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(form.Button, &press);
        QApplication::sendEvent(form.Button, &release);
    };
    ASSERT_TRUE(Print(surface, {632, 404}, true));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(form.isEnabled());
    form.OnPaint = nullptr;
    form.Button->click();
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace veltrix
