#include "printing/print_job.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QWidget>
#include <exception>
#include <memory>
#include <vector>

#include "platform/painted_form.h"
#include "platform/services.h"
#include "printing/band_geometry.h"
#include "printing/band_rendering.h"
#include "printing/colour_reduction.h"
#include "printing/print_dialogs.h"
#include "printing/printer_surface.h"

namespace veltrix {

namespace {

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

    PrintProgressDialog* Dialog() const { return dialog_; }

  private:
    std::unique_ptr<InputBlocker> blocker_;
    PrintProgressDialog* dialog_ = nullptr;
};

}  // namespace

bool PrintProgress(PrintProgressDialog* dialog, int done, int count) {
    if (!dialog) return true;
    const int percent = count > 0 ? static_cast<int>(static_cast<long long>(done) * 100 / count) : 100;
    SetPrintProgressText(dialog, QStringLiteral("Printing - %1%").arg(percent));
    return !PrintProgressCancelled(dialog);
}

namespace {

struct BandJob {
    PaintedForm& form;
    PrinterSurface& surface;
    MessageBoxes* messages;
    QWidget* messageOwner;
    PrintProgressDialog* dialog;
    QRect destination;
    long double sourcePerDestX;
    long double sourcePerDestY;
    QPoint scrollOffset;
    bool showErrors;
    bool bitmapCopy = false;
};

void ShowBandError(const BandJob& job, const char* text) {
    if (job.showErrors && job.messages) {
        job.messages->ShowMessage(job.messageOwner, QString::fromLatin1(text),
                                  QString::fromLatin1(kPrnutilsCaption));
    }
}

bool PrintBand(BandJob& job, const QRect& band, int k, int n) {
    try {
        const QRect source = ToQRect(BandSourceRegion(ToPixelRect(band), ToPixelRect(job.destination),
                                                      job.sourcePerDestX, job.sourcePerDestY));
        PackedImage output;
        {
            const QImage image = RenderBandSource(job.form, source, job.scrollOffset,
                                                  [&] { return PrintProgress(job.dialog, k - 1, n); });
            if (image.isNull()) return false;
            const PixelView pixels = PixelsOf(image);
            const ColourReduction colours = ReduceColours(pixels);
            output = ResampleBand(
                pixels, colours, ToPixelSize(band.size()), job.sourcePerDestX, job.sourcePerDestY,
                ToPixelPoint(band.topLeft() - job.destination.topLeft()), ToPixelPoint(source.topLeft()));
        }
        if (!job.bitmapCopy) {
            const int lines = job.surface.SendImage(output, band.topLeft());
            if (lines != band.height()) {
                job.bitmapCopy = true;
                ShowBandError(job, kImageTransferFailed);
            }
        }
        if (job.bitmapCopy && !job.surface.CopyBitmap(output, band.topLeft())) {
            ShowBandError(job, kBitmapCopyFailed);
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

    const std::vector<PixelRect> bands = CutBands(ToPixelRect(destination), ToPixelSize(bandSize));
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
                GetFormScrollOffset(form),
                options.ShowErrors};
    for (int k = 1; k <= n; ++k) {
        if (!PrintBand(job, ToQRect(bands[static_cast<size_t>(k - 1)]), k, n)) return false;
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
        const QRect destination = ToQRect(FitToPage(ToPixelSize(target.size()), ToPixelSize(extent)));
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
    const PixelSize band = BandSize(ToPixelSize(ScreenBandSize()), surface.LargeImages());
    return PrintFormToPage(form, surface, options, messages, QSize(band.Width, band.Height));
}
}  // namespace veltrix
