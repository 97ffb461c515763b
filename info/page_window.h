#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QString>
#include <functional>
#include <vector>

#include "info/page_writer.h"
#include "platform/artwork.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"

class QAction;
class QMenu;

namespace veltrix {

struct Program;

// A label that acts as a link: hand cursor, and a click runs its command. It takes the focus like
// a button, in the order the labels are made, and Enter or Space runs the command too.
class TLinkLabel : public QLabel {
  public:
    TLinkLabel(const QString& text, QWidget* parent);
    std::function<void()> OnClick;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool pressed_ = false;
};

// Hands the target to the desktop shell; a failure shows the message and changes nothing else.
void OpenShellLink(Program& program, QWidget* parent, const QString& target, const QString& failureMessage);

inline constexpr const char* kBrowserFailure = "Unable to start web browser.";
inline constexpr const char* kMailFailure = "Unable to start mail client.";

// The painted text pages and the quote window: a "&File" menu with "&Print" and "E&xit", and a
// 632 x 404 client painted on black through a recorded picture, copied with the copy mode.
// Closing only hides the window.
class TPageWindow : public QMainWindow, public PaintedForm {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 404;

    enum class Kind { StayOnTopTool, TopLevel };

    TPageWindow(Program& program, const QString& caption, const QString& jobTitle, Kind kind,
                QWidget* parent = nullptr);
    ~TPageWindow() override;

    void FormPaint(QPainter& canvas, QSize clientSize) override;
    QWidget* FormWidget() override { return Client; }

    void Print1Click();
    void Exit1Click();

    const QString& JobTitle() const { return jobTitle_; }
    // Texts the last paint wrote, in order.
    const std::vector<DrawnText>& DrawnTexts() const { return drawnTexts_; }
    const PaintedPage& Page() const { return page_; }

    QWidget* Client = nullptr;
    QMenu* File1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Exit1 = nullptr;

    // The logo block, on the pages that carry it.
    LogoView* VXImage = nullptr;
    QLabel* SymLbl = nullptr;
    QLabel* VerLbl = nullptr;
    QLabel* Caption = nullptr;
    QLabel* Caption2 = nullptr;

  protected:
    // The page's own box and texts.
    virtual void PaintPage(PageWriter& page) = 0;
    // Label colours for the screen, or for the printer while the copy is inverted.
    virtual void ColourLabels(bool printing);

    void AddLogoBlock();
    // Sizes the window round its client and, for a tool window, centres it on the screen.
    void FinishLayout();
    // The page's start-up rule: shows it now when it holds.
    void ShowAtStart(bool shown);
    Program& program_;

  private:
    PaintedPage page_;
    std::vector<DrawnText> drawnTexts_;
    QString jobTitle_;
    Kind kind_;
};


// What a screen reader says of a page: its first texts in reading order (top to bottom, then left to
// right), those on one row joined, at most `lines` rows.
QString PageDescription(const std::vector<DrawnText>& texts, int lines = 4);

TLinkLabel* MakeLinkLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                          const QColor& colour);

}  // namespace veltrix
