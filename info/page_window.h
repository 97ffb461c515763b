#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QString>
#include <functional>
#include <vector>

#include "info/page_writer.h"
#include "platform/action_collection.h"
#include "platform/artwork.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"

class QAction;
class QMenu;

namespace veltrix {

struct Program;

// A label that acts as a link: hand cursor, and a click runs its command. It takes the focus like
// a button, in the order the labels are made, and Enter or Space runs the command too.
class LinkLabel : public QLabel {
  public:
    LinkLabel(const QString& text, QWidget* parent);
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
class PageWindow : public QMainWindow, public PaintedForm {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 404;

    enum class Kind { StayOnTopTool, TopLevel };

    PageWindow(Program& program, const QString& caption, const QString& jobTitle, Kind kind,
               QWidget* parent = nullptr);
    ~PageWindow() override;

    void FormPaint(QPainter& canvas, QSize clientSize) override;
    QWidget* FormWidget() override { return client_; }
    void ShowCopyColours(bool printing) override { ColourLabels(printing); }

    void onPrint();
    void onExit();

    const QString& JobTitle() const { return jobTitle_; }
    // Texts the last paint wrote, in order.
    const std::vector<DrawnText>& DrawnTexts() const { return drawnTexts_; }
    const PaintedPage& Page() const { return page_; }

    QWidget* Client() const { return client_; }
    // The page's menu and commands under the names its constructor registers them by.
    const ActionCollection& Actions() const { return actions_; }

    // The logo block, on the pages that carry it.
    LogoView* Logo() const { return logo_; }
    QLabel* RegisteredLabel() const { return registeredLabel_; }
    QLabel* VersionLabel() const { return versionLabel_; }
    QLabel* Caption() const { return caption_; }
    QLabel* Caption2() const { return caption2_; }

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

  protected:
    QWidget* client_ = nullptr;
    ActionCollection actions_;
    QMenu* fileMenu_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* fileSeparator_ = nullptr;
    QAction* exitAction_ = nullptr;
    LogoView* logo_ = nullptr;
    QLabel* registeredLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* caption2_ = nullptr;
};

// What a screen reader says of a page: its first texts in reading order (top to bottom, then left to
// right), those on one row joined, at most `lines` rows.
QString PageDescription(const std::vector<DrawnText>& texts, int lines = 4);

LinkLabel* MakeLinkLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                         const QColor& colour);

}  // namespace veltrix
