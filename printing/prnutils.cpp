#include "printing/prnutils.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <unordered_map>

#include "platform/painted_form.h"
#include "platform/services.h"
#include "printing/print_dialogs.h"

namespace veltrix {

bool PrintShowErrors = false;

namespace {

constexpr uint32_t kOpaque = 0xff000000u;

int TruncToInt(long double value) { return static_cast<int>(std::trunc(value)); }

// Keeps keyboard and mouse input away from the printed window while its job runs, without the
// greyed look a disabled widget would carry into the printout.
class InputBlocker : public QObject {
  public:
    explicit InputBlocker(QWidget* window) : window_(window) {
        if (window_ && qApp) qApp->installEventFilter(this);
    }
    ~InputBlocker() override {
        if (window_ && qApp) qApp->removeEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride: {
                auto* target = qobject_cast<QWidget*>(watched);
                if (target && window_ && (target == window_ || window_->isAncestorOf(target))) return true;
                break;
            }
            default:
                break;
        }
        return false;
    }

  private:
    QWidget* window_;
};

// The progress dialog and the input block for the span of one job, released on every path.
class ProgressSession {
  public:
    ProgressSession(QWidget* window, bool show) {
        if (!show) return;
        blocker_ = std::make_unique<InputBlocker>(window);
        dialog_ = OpenPrintProgress(window);
        SetPrintProgressText(dialog_, QStringLiteral("Printing - 0%"));
    }
    ~ProgressSession() {
        ClosePrintProgress(dialog_);
        blocker_.reset();
    }
    ProgressSession(const ProgressSession&) = delete;
    ProgressSession& operator=(const ProgressSession&) = delete;

    TAbortDialog* Dialog() const { return dialog_; }

  private:
    std::unique_ptr<InputBlocker> blocker_;
    TAbortDialog* dialog_ = nullptr;
};

// Labels, images and bevels draw on their parent; everything else is a control of its own.
bool IsWindowedControl(const QWidget* child) {
    if (qobject_cast<const QLabel*>(child)) return false;
    return child->metaObject() != &QFrame::staticMetaObject;
}

struct ColourIndexer {
    std::unordered_map<uint32_t, int> index;
    uint32_t lastColour = 0;
    int lastIndex = -1;

    int Find(uint32_t colour) {
        if (lastIndex >= 0 && colour == lastColour) return lastIndex;
        auto it = index.find(colour);
        if (it == index.end()) return -1;
        lastColour = colour;
        lastIndex = it->second;
        return lastIndex;
    }
};

void ShowBandError(MessageBoxes* messages, QWidget* owner, const char* text) {
    if (PrintShowErrors && messages) {
        messages->ShowMessage(owner, QString::fromLatin1(text), QString::fromLatin1(kPrnutilsCaption));
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Packed images

int PackedRowBytes(int width, int bitsPerPixel) {
    const long long bits = static_cast<long long>(width) * bitsPerPixel;
    return static_cast<int>(((bits + 31) / 32) * 4);
}

int PackedImage::IndexAt(int x, int y) const {
    const uint8_t* row = Bits.data() + static_cast<size_t>(y) * BytesPerRow;
    switch (BitsPerPixel) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (x & 1) ? (row[x >> 1] & 0x0f) : (row[x >> 1] >> 4);
        case 8:
            return row[x];
        default:
            return -1;
    }
}

uint32_t PackedImage::ColourAt(int x, int y) const {
    if (BitsPerPixel == 24) {
        const uint8_t* p = Bits.data() + static_cast<size_t>(y) * BytesPerRow + static_cast<size_t>(x) * 3;
        return qRgb(p[2], p[1], p[0]);
    }
    const int i = IndexAt(x, y);
    return i >= 0 && i < static_cast<int>(ColourTable.size()) ? ColourTable[static_cast<size_t>(i)] : 0u;
}

QImage PackedImage::ToQImage() const {
    if (Width <= 0 || Height <= 0) return {};
    QImage::Format format = QImage::Format_Indexed8;
    if (BitsPerPixel == 1) format = QImage::Format_Mono;
    if (BitsPerPixel == 24) format = QImage::Format_BGR888;
    QImage image(Width, Height, format);
    if (image.isNull()) return {};
    if (BitsPerPixel != 24) {
        QList<QRgb> table(ColourTable.begin(), ColourTable.end());
        // A mono image needs both entries even when the band has one colour.
        while (table.size() < (BitsPerPixel == 1 ? 2 : 1))
            table.append(table.isEmpty() ? qRgb(255, 255, 255) : table.front());
        image.setColorTable(table);
    }
    for (int y = 0; y < Height; ++y) {
        uchar* dst = image.scanLine(y);
        const uint8_t* src = Bits.data() + static_cast<size_t>(y) * BytesPerRow;
        if (BitsPerPixel == 4) {
            for (int x = 0; x < Width; ++x) dst[x] = static_cast<uchar>(IndexAt(x, y));
        } else {
            const int used = (Width * BitsPerPixel + 7) / 8;
            std::memcpy(dst, src, static_cast<size_t>(used));
        }
    }
    return image;
}

// ---------------------------------------------------------------------------------------------
// The Qt printer surface

void PainterSurface::BeginTarget(const QRect& target) {
    canvas_.save();
    canvas_.setClipRect(target);
}

void PainterSurface::EndTarget() { canvas_.restore(); }

int PainterSurface::SendImage(const PackedImage& image, QPoint at) {
    if (!canvas_.isActive()) return 0;
    QImage qimage = image.ToQImage();
    if (qimage.isNull()) return 0;
    if (qimage.format() == QImage::Format_Mono) {
        // Qt's PDF engine keeps a 1-bit image at 1 bit only with the table black, white; any other
        // pair goes as 8 bits per pixel (still lossless, below).
        const QList<QRgb> table = qimage.colorTable();
        const QRgb black = qRgb(0, 0, 0);
        const QRgb white = qRgb(255, 255, 255);
        const auto blackOrWhite = [&](QRgb c) { return c == black || c == white; };
        if (table.size() == 2 && blackOrWhite(table[0]) && blackOrWhite(table[1])) {
            if (table[0] == white && table[1] == white) {
                qimage.fill(1);
            } else if (table[0] == white) {
                qimage.invertPixels();
            }
            qimage.setColorTable({black, white});
        } else {
            qimage = qimage.convertToFormat(QImage::Format_Indexed8);
        }
    }
    // Lossless: the PDF engine would otherwise store the band as a JPEG.
    const bool lossless = canvas_.testRenderHint(QPainter::LosslessImageRendering);
    canvas_.setRenderHint(QPainter::LosslessImageRendering, true);
    canvas_.drawImage(at, qimage);
    canvas_.setRenderHint(QPainter::LosslessImageRendering, lossless);
    return qimage.height();
}

bool PainterSurface::CopyBitmap(const PackedImage& image, QPoint at) {
    if (!canvas_.isActive()) return false;
    const QPixmap bitmap = QPixmap::fromImage(image.ToQImage());
    if (bitmap.isNull()) return false;
    const bool lossless = canvas_.testRenderHint(QPainter::LosslessImageRendering);
    canvas_.setRenderHint(QPainter::LosslessImageRendering, true);
    canvas_.drawPixmap(at, bitmap);
    canvas_.setRenderHint(QPainter::LosslessImageRendering, lossless);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Measuring

PageMetrics GetPageMetrics(const QPrinter& printer) {
    PageMetrics m;
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    m.PhysicalWidth = paper.width();
    m.PhysicalHeight = paper.height();
    m.OffsetX = page.x() - paper.x();
    m.OffsetY = page.y() - paper.y();
    m.PrintableWidth = page.width();
    m.PrintableHeight = page.height();
    m.PixelsPerInchX = printer.resolution();
    m.PixelsPerInchY = printer.resolution();
    if (m.PhysicalWidth == 0) m.PhysicalWidth = m.PrintableWidth;
    if (m.PhysicalHeight == 0) m.PhysicalHeight = m.PrintableHeight;
    return m;
}

PageMetrics GetPageMetrics(const QPaintDevice& device) {
    PageMetrics m;
    m.PrintableWidth = device.width();
    m.PrintableHeight = device.height();
    m.PhysicalWidth = m.PrintableWidth;
    m.PhysicalHeight = m.PrintableHeight;
    m.PixelsPerInchX = device.logicalDpiX();
    m.PixelsPerInchY = device.logicalDpiY();
    return m;
}

namespace {

struct ScrollState {
    QSize client;
    int rangeX = 0;
    int rangeY = 0;
    int positionX = 0;
    int positionY = 0;
};

ScrollState ReadScrollState(PaintedForm& form) {
    ScrollState s;
    QWidget* widget = form.FormWidget();
    if (!widget) return s;
    s.client = widget->size();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        s.client = area->viewport()->size();
        const QScrollBar* h = area->horizontalScrollBar();
        const QScrollBar* v = area->verticalScrollBar();
        if (h->maximum() > h->minimum()) s.rangeX = h->maximum() - h->minimum() + h->pageStep();
        if (v->maximum() > v->minimum()) s.rangeY = v->maximum() - v->minimum() + v->pageStep();
        s.positionX = h->value() - h->minimum();
        s.positionY = v->value() - v->minimum();
    }
    return s;
}

}  // namespace

QSize GetFormExtent(PaintedForm& form) {
    const ScrollState s = ReadScrollState(form);
    int width = s.client.width();
    int height = s.client.height();
    if (width < s.rangeX) width = s.rangeX + (s.rangeY > 0 ? 1 : 0);
    if (height < s.rangeY) height = s.rangeY + (s.rangeX > 0 ? 1 : 0);
    return {std::max(width, 0), std::max(height, 0)};
}

QPoint GetFormScrollOffset(PaintedForm& form) {
    const ScrollState s = ReadScrollState(form);
    return {s.client.width() < s.rangeX ? s.positionX : 0, s.client.height() < s.rangeY ? s.positionY : 0};
}

bool PrintProgress(TAbortDialog* dialog, int done, int count) {
    if (!dialog) return true;
    const int percent = count > 0 ? static_cast<int>(static_cast<long long>(done) * 100 / count) : 100;
    SetPrintProgressText(dialog, QStringLiteral("Printing - %1%").arg(percent));
    return !PrintProgressCancelled(dialog);
}

// ---------------------------------------------------------------------------------------------
// Fitting and banding

QRect FitToPage(QSize printable, QSize extent) {
    if (printable.isEmpty() || extent.isEmpty()) return {};
    const long double pw = printable.width();
    const long double ph = printable.height();
    const long double sx = pw / extent.width();
    const long double sy = ph / extent.height();
    if (sx < sy) return {0, 0, printable.width(), TruncToInt(extent.height() * sx)};
    return {0, 0, TruncToInt(extent.width() * sy), printable.height()};
}

QSize BandSize(QSize screen, bool largeImages) {
    const int width = std::max(screen.width(), 1);
    if (largeImages) return {width, std::max(screen.height(), 1)};
    const int rowBytes = PackedRowBytes(width, 24);
    return {width, std::max(65503 / rowBytes, 1)};
}

QSize ScreenBandSize() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize();
        if (!size.isEmpty()) return size;
    }
    return {1024, 768};
}

std::vector<QRect> CutBands(const QRect& destination, QSize band) {
    std::vector<QRect> bands;
    if (destination.isEmpty() || band.isEmpty()) return bands;
    const int right = destination.left() + destination.width();
    const int bottom = destination.top() + destination.height();
    for (int top = destination.top(); top < bottom; top += band.height()) {
        const int height = std::min(band.height(), bottom - top);
        for (int left = destination.left(); left < right; left += band.width()) {
            const QRect b(left, top, std::min(band.width(), right - left), height);
            if (!b.isEmpty()) bands.push_back(b);
        }
    }
    return bands;
}

QRect BandSourceRegion(const QRect& band, const QRect& destination, long double sourcePerDestX,
                       long double sourcePerDestY) {
    // From the source pixel of the band's first printer pixel to that of its last one, both taken
    // from their place on the whole page.
    const int dx = band.left() - destination.left();
    const int dy = band.top() - destination.top();
    const int x = TruncToInt(dx * sourcePerDestX);
    const int y = TruncToInt(dy * sourcePerDestY);
    if (band.isEmpty()) return {x, y, 0, 0};
    const int right = TruncToInt((dx + band.width() - 1) * sourcePerDestX);
    const int bottom = TruncToInt((dy + band.height() - 1) * sourcePerDestY);
    return {x, y, right - x + 1, bottom - y + 1};
}

// ---------------------------------------------------------------------------------------------
// Colour reduction and resampling

ColourReduction ReduceColours(const QImage& source) {
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    ColourReduction result;
    ColourIndexer seen;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const uint32_t colour = row[x] | kOpaque;
            if (seen.Find(colour) >= 0) continue;
            if (result.Table.size() == 256) {
                result.BitsPerPixel = 24;
                result.Table.clear();
                return result;
            }
            seen.index.emplace(colour, static_cast<int>(result.Table.size()));
            result.Table.push_back(colour);
        }
    }
    const size_t count = result.Table.size();
    result.BitsPerPixel = count <= 2 ? 1 : count <= 16 ? 4 : 8;
    return result;
}

PackedImage ResampleBand(const QImage& source, const ColourReduction& colours, QSize output,
                         long double sourcePerDestX, long double sourcePerDestY, QPoint bandOffset,
                         QPoint sourceOrigin) {
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    PackedImage out;
    out.Width = std::max(output.width(), 0);
    out.Height = std::max(output.height(), 0);
    out.BitsPerPixel = colours.BitsPerPixel;
    out.BytesPerRow = PackedRowBytes(out.Width, out.BitsPerPixel);
    out.ColourTable = colours.Table;
    out.Bits.assign(static_cast<size_t>(out.BytesPerRow) * static_cast<size_t>(out.Height), 0);
    if (out.Width == 0 || out.Height == 0 || image.isNull()) return out;

    // Each printer pixel takes its source pixel from its place on the whole page, so a screen row
    // or column prints the same whichever band it falls in.
    const auto sourceIndex = [](int pagePixel, long double sourcePerDest, int origin, int size) {
        return std::clamp(TruncToInt(pagePixel * sourcePerDest) - origin, 0, size - 1);
    };
    std::vector<int> columns(static_cast<size_t>(out.Width));
    for (int x = 0; x < out.Width; ++x) {
        columns[static_cast<size_t>(x)] =
            sourceIndex(bandOffset.x() + x, sourcePerDestX, sourceOrigin.x(), image.width());
    }

    ColourIndexer indexer;
    for (size_t i = 0; i < colours.Table.size(); ++i)
        indexer.index.emplace(colours.Table[i], static_cast<int>(i));

    for (int y = 0; y < out.Height; ++y) {
        const int sy = sourceIndex(bandOffset.y() + y, sourcePerDestY, sourceOrigin.y(), image.height());
        const auto* src = reinterpret_cast<const uint32_t*>(image.constScanLine(sy));
        uint8_t* row = out.Bits.data() + static_cast<size_t>(y) * out.BytesPerRow;
        for (int x = 0; x < out.Width; ++x) {
            const uint32_t colour = src[columns[static_cast<size_t>(x)]] | kOpaque;
            if (out.BitsPerPixel == 24) {
                row[3 * x] = static_cast<uint8_t>(qBlue(colour));
                row[3 * x + 1] = static_cast<uint8_t>(qGreen(colour));
                row[3 * x + 2] = static_cast<uint8_t>(qRed(colour));
                continue;
            }
            const int index = std::max(indexer.Find(colour), 0);
            switch (out.BitsPerPixel) {
                case 1:
                    row[x >> 3] |= static_cast<uint8_t>((index & 1) << (7 - (x & 7)));
                    break;
                case 4:
                    row[x >> 1] |= static_cast<uint8_t>((x & 1) ? (index & 0x0f) : ((index & 0x0f) << 4));
                    break;
                default:
                    row[x] = static_cast<uint8_t>(index);
                    break;
            }
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Rendering a band

QImage RenderBandSource(PaintedForm& form, const QRect& sourceRegion, QPoint scrollOffset,
                        const std::function<bool()>& goOn) {
    if (sourceRegion.isEmpty()) return {};
    QWidget* window = form.FormWidget();
    QImage image(sourceRegion.size(), QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(window ? window->palette().color(window->backgroundRole()) : QColor(Qt::white));

    QPainter canvas(&image);
    if (!canvas.isActive()) return {};
    // Client coordinates are picture coordinates less the scroll position.
    const QPoint shift = scrollOffset - sourceRegion.topLeft();
    canvas.translate(shift);

    canvas.save();
    form.FormPaint(canvas, window ? window->size() : GetFormExtent(form));
    canvas.restore();

    if (goOn && !goOn()) return {};
    if (!window) return image;

    const QRect clientRegion = sourceRegion.translated(-scrollOffset);
    for (const bool windowed : {false, true}) {
        for (QObject* object : window->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (!child || child->isWindow() || !child->isVisibleTo(window)) continue;
            if (IsWindowedControl(child) != windowed) continue;
            if (!child->geometry().intersects(clientRegion)) continue;
            if (goOn && !goOn()) return {};
            // render() clips to the child's own bounds and draws its visible children after it.
            child->render(&canvas, child->pos(), QRegion(), QWidget::DrawChildren);
        }
    }
    canvas.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// The job

namespace {

struct BandJob {
    PaintedForm& form;
    PrinterSurface& surface;
    MessageBoxes* messages;
    QWidget* messageOwner;
    TAbortDialog* dialog;
    QRect destination;
    long double sourcePerDestX;
    long double sourcePerDestY;
    QPoint scrollOffset;
    bool bitmapCopy = false;
};

bool PrintBand(BandJob& job, const QRect& band, int k, int n) {
    try {
        const QRect source = BandSourceRegion(band, job.destination, job.sourcePerDestX, job.sourcePerDestY);
        PackedImage output;
        {
            const QImage image = RenderBandSource(job.form, source, job.scrollOffset,
                                                  [&] { return PrintProgress(job.dialog, k - 1, n); });
            if (image.isNull()) return false;
            const ColourReduction colours = ReduceColours(image);
            output = ResampleBand(image, colours, band.size(), job.sourcePerDestX, job.sourcePerDestY,
                                  band.topLeft() - job.destination.topLeft(), source.topLeft());
        }
        if (!job.bitmapCopy) {
            const int lines = job.surface.SendImage(output, band.topLeft());
            if (lines != band.height()) {
                job.bitmapCopy = true;
                ShowBandError(job.messages, job.messageOwner, kImageTransferFailed);
            }
        }
        if (job.bitmapCopy && !job.surface.CopyBitmap(output, band.topLeft())) {
            ShowBandError(job.messages, job.messageOwner, kBitmapCopyFailed);
            return false;
        }
        output = PackedImage();
        return PrintProgress(job.dialog, k, n);
    } catch (const std::exception&) {
        return false;
    }
}

bool PrintBands(PaintedForm& form, PrinterSurface& surface, const QRect& target, const QRect& destination,
                QSize extent, const PrintOptions& options, MessageBoxes* messages, QSize bandSize) {
    if (destination.isEmpty() || !destination.intersects(target) || extent.isEmpty()) return true;
    if (bandSize.isEmpty()) bandSize = QSize(1024, 768);

    const std::vector<QRect> bands = CutBands(destination, bandSize);
    const int n = static_cast<int>(bands.size());

    QWidget* window = form.FormWidget();
    ProgressSession progress(window, options.ShowProgress);
    BandJob job{form,
                surface,
                messages,
                progress.Dialog() ? static_cast<QWidget*>(progress.Dialog()) : window,
                progress.Dialog(),
                destination,
                static_cast<long double>(extent.width()) / destination.width(),
                static_cast<long double>(extent.height()) / destination.height(),
                GetFormScrollOffset(form)};
    for (int k = 1; k <= n; ++k) {
        if (!PrintBand(job, bands[static_cast<size_t>(k - 1)], k, n)) return false;
    }
    return true;
}

}  // namespace

bool PrintFormToPage(PaintedForm& form, PrinterSurface& surface, const PrintOptions& options,
                     MessageBoxes* messages, QSize bandSize) {
    try {
        const PageMetrics metrics = surface.Metrics();
        const QRect target(0, 0, metrics.PrintableWidth, metrics.PrintableHeight);
        const QSize extent = GetFormExtent(form);
        const QRect destination = FitToPage(target.size(), extent);
        surface.BeginTarget(target);
        bool ok = false;
        try {
            ok = PrintBands(form, surface, target, destination, extent, options, messages, bandSize);
        } catch (const std::exception&) {
            ok = false;
        }
        surface.EndTarget();
        return ok;
    } catch (const std::exception&) {
        return false;
    }
}

bool PrintFormToPage(PaintedForm& form, QPrinter& printer, QPainter& canvas, const PrintOptions& options,
                     MessageBoxes* messages) {
    if (!canvas.isActive()) return false;
    PainterSurface surface(canvas, GetPageMetrics(printer));
    return PrintFormToPage(form, surface, options, messages,
                           BandSize(ScreenBandSize(), surface.LargeImages()));
}

}  // namespace veltrix
