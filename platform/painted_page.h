#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QtGlobal>
#include <memory>

namespace veltrix {

// The painted pages' colours.
inline const QColor kPageBlack(0, 0, 0);
inline const QColor kPageWhite(255, 255, 255);
inline const QColor kPageYellow(255, 255, 0);
inline const QColor kPageGreen(0, 255, 0);
inline const QColor kPageMagenta(255, 0, 255);
inline const QColor kPageCyan(0, 255, 255);
inline const QColor kPageBlue(0, 0, 255);
inline const QColor kPageRed(255, 0, 0);
inline const QColor kPageGrey(128, 128, 128);
inline const QColor kPageSilver(192, 192, 192);
inline const QColor kPageDarkGreen(0, 128, 0);

// One text as a page put it on its picture; tests and screen readers read these instead of glyphs.
struct DrawnText {
    QPoint at;  // left-top, picture pixels
    QString text;
    QColor colour;
    int pixelSize = 0;
    bool operator==(const DrawnText&) const = default;
};

// Lines of text laid out for painting straight onto a page's bitmap. A page draws mostly the same
// labels on every paint, and laying a line out means shaping it: each line is laid out once per font
// and resolution, a bounded number of them. Kept by a page, so its layouts go with its window.
class PageTextLines {
  public:
    PageTextLines();
    ~PageTextLines();
    PageTextLines(const PageTextLines&) = delete;
    PageTextLines& operator=(const PageTextLines&) = delete;

    // Draws the text from its top-left point as the painter lays out a single left-to-right line.
    void Draw(QPainter& painter, const QPointF& topLeft, const QString& text);

  private:
    struct Store;
    std::unique_ptr<Store> store_;
};

// Draws a line of text whose top is at y, where a recording of the text drawn at its baseline
// (y + ascent) puts it when played back: on a bitmap straight from the same position as the
// recording's playback, so a page painted straight and a recorded page match to the pixel. With
// lines, a straight text is laid out only the first time it is drawn.
void DrawPageText(QPainter& painter, int x, int y, int ascent, const QString& text,
                  PageTextLines* lines = nullptr);

// How a painted window copies its finished picture onto its surface: plainly on screen,
// inverted while printing so light-on-black pages come out dark on white.
enum class CopyMode { Source, InvertedSource };

// A custom-painted window's recorded picture and off-screen bitmap, kept for the window's life.
class PaintedPage {
  public:
    // The bitmap never holds more device pixels than an 8K screen: a window size read from a file
    // must not turn into gigabytes of paint buffer.
    static constexpr qint64 kMaxBitmapPixels = qint64{7680} * 4320;

    virtual ~PaintedPage() = default;

    // Starts a new recording (the old one is discarded) on a black background of the given size.
    // The returned painter stays valid until EndRecording.
    QPainter& BeginRecording(QSize background);
    void EndRecording();
    bool Recording() const { return recorder_.isActive(); }

    // Starts the page of one paint onto the surface. A plain screen copy at one device pixel per
    // pixel is painted straight into the bitmap: recording it and playing it back cost more than the
    // painting itself. Any other copy is recorded, so its picture can be played onto vectors. Present takes
    // the same window size, mode and shift.
    QPainter& BeginPage(const QPainter& surface, QSize background, QSize windowSize, CopyMode mode,
                        int shiftX, qreal devicePixelRatio = 0);

    // Renders the picture into the bitmap at the device pixel ratio, fills the window black (white
    // for an inverted copy) and copies the bitmap onto it with the mode, shifted shiftX pixels to the
    // right. Only the part of the page the window shows is rendered; when no bitmap that large can be
    // had, the largest one that can shows the page's top-left part. A ratio of 0 takes the surface's
    // own, so a window on a high-density screen gets a bitmap as sharp as the screen. A page begun
    // straight in the bitmap is only copied.
    void Present(QPainter& surface, QSize windowSize, CopyMode mode, int shiftX, qreal devicePixelRatio = 0);

    // The latest recorded picture: empty after a page painted straight into the bitmap.
    const QPicture& Picture() const { return picture_; }
    const QImage& Bitmap() const { return bitmap_; }
    // The page's laid-out lines of text, for its canvas.
    PageTextLines& TextLines() { return textLines_; }

  protected:
    // A bitmap of the given device size, or a null image when the memory cannot be had.
    virtual QImage AllocateBitmap(QSize devicePixels);

  private:
    bool PrepareBitmap(QSize logical, qreal ratio);
    static qreal SurfaceRatio(const QPainter& surface, qreal devicePixelRatio);

    bool direct_ = false;
    bool haveBitmap_ = false;

    QPicture picture_;
    QPainter recorder_;
    QSize background_;
    QImage bitmap_;
    PageTextLines textLines_;
};

}  // namespace veltrix
