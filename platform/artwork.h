#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;
class QPainter;
class QSvgRenderer;

namespace veltrix {

inline const QString kLogoArtwork = QStringLiteral(":/veltrix/logo.svg");
inline const QString kIconArtwork = QStringLiteral(":/veltrix/icon.svg");

// Renders vector artwork on a transparent ground at a logical size and device pixel ratio; a null
// image when the artwork cannot be read.
QImage RenderArtwork(const QString& source, QSize logicalSize, qreal devicePixelRatio = 1.0);

// A caption of the logo block: its text in the face at a pixel height, sized to fit, at a left-top point.
QLabel* LogoLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  const QString& face, int pixels);

// Sets a label's text colour, and its background when it paints one; nothing when they are already so.
void SetLabelColours(QLabel* label, const QColor& text, const QColor* background = nullptr);

// The program's icon, drawn from its vector source at the sizes a desktop asks for.
QIcon ProgramIcon();

// The icon each window carries, read once for all of them (reading it is most of what a window
// costs to make); null when the program has no icon.
const QIcon& WindowIcon();

// The product logo as a window component. It is drawn from its vector source on every paint, so it is
// sharp at any pixel ratio; over the page's black it shows light, and when the page prints dark on
// white it is drawn colour-inverted like the page.
class LogoView : public QWidget {
    Q_OBJECT
  public:
    explicit LogoView(QWidget* parent = nullptr);
    ~LogoView() override;

    void SetPrinting(bool printing);
    bool Printing() const { return printing_; }
    bool HasArtwork() const;
    // The artwork as shapes on any painter, in the view's own coordinates (for vector exports).
    void PaintArtwork(QPainter& painter) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSvgRenderer* renderer_;
    bool printing_ = false;
};

}  // namespace veltrix
