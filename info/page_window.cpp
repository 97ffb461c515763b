#include "info/page_window.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>
#include <QStringList>
#include <algorithm>

#include "platform/accessible.h"
#include "platform/fonts.h"
#include "platform/services.h"
#include "printing/print_dialogs.h"
#include "program/program.h"
#include "version/version.h"

namespace veltrix {

namespace {

// The client of a page window: its paint is the window's FormPaint.
class PageClient : public QWidget {
  public:
    PageClient(PaintedForm& form, QWidget* parent) : QWidget(parent), form_(form) {
        // Not marked opaque: the frame repaints a page by invalidating its window, and an opaque
        // client would be left out of that.
        setFixedSize(PageWindow::kClientWidth, PageWindow::kClientHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        form_.FormPaint(painter, size());
    }

  private:
    PaintedForm& form_;
};

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    ActAsLink(this);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            event->accept();
            if (OnClick) OnClick();
            return;
        }
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // A dotted frame in the link's own colour: the style's focus frame is lost on the black pages.
    QPainter painter(this);
    QPen pen(palette().color(foregroundRole()), 1, Qt::DotLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && OnClick) OnClick();
}

void OpenShellLink(Program& program, QWidget* parent, const QString& target, const QString& failureMessage) {
    OpenOrReport(program.Shell, program.Messages, parent, target, failureMessage);
}

LinkLabel* MakeLinkLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                         const QColor& colour) {
    auto* label = new LinkLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = PixelFont(QStringLiteral("MS Sans Serif"), 16);
    font.setUnderline(true);
    label->setFont(font);
    SetLabelColours(label, colour);
    label->adjustSize();
    label->move(left, top);
    return label;
}

PageWindow::PageWindow(Program& program, const QString& caption, const QString& jobTitle, Kind kind,
                       QWidget* parent)
    : QMainWindow(parent), program_(program), jobTitle_(jobTitle), kind_(kind) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    flags |= kind == Kind::StayOnTopTool ? (Qt::Tool | Qt::WindowStaysOnTopHint) : Qt::Window;
    setWindowFlags(flags);
    setWindowTitle(caption);
    setWindowIcon(WindowIcon());
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));

    client_ = new PageClient(*this, this);
    client_->setAccessibleName(caption);
    setCentralWidget(client_);

    menuBar()->setNativeMenuBar(false);
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    actions_.AddMenu(QStringLiteral("file"), fileMenu_);
    printAction_ = fileMenu_->addAction(QStringLiteral("&Print"));
    actions_.Add(QStringLiteral("print"), printAction_);
    fileSeparator_ = fileMenu_->addSeparator();
    actions_.Add(QStringLiteral("file_separator"), fileSeparator_);
    exitAction_ = fileMenu_->addAction(QStringLiteral("E&xit"));
    actions_.Add(QStringLiteral("exit"), exitAction_);
    connect(printAction_, &QAction::triggered, this, &PageWindow::onPrint);
    connect(exitAction_, &QAction::triggered, this, &PageWindow::onExit);
    // A stay-on-top page is put away like a dialog; the quote window is an ordinary window.
    if (kind == Kind::StayOnTopTool) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        connect(escape, &QShortcut::activated, this, &PageWindow::onExit);
    }
}

PageWindow::~PageWindow() = default;

void PageWindow::FinishLayout() {
    ColourLabels(false);
    adjustSize();
    setFixedSize(size());
    if (kind_ == Kind::StayOnTopTool) CentreOnScreen(this);
}

void PageWindow::ShowAtStart(bool shown) {
    if (shown) show();
}

void PageWindow::AddLogoBlock() {
    logo_ = new LogoView(client_);
    logo_->setObjectName(QStringLiteral("logo"));
    logo_->setGeometry(199, 28, 225, 61);
    const QString small = QStringLiteral("Small Fonts");
    registeredLabel_ = LogoLabel(client_, "registered_mark", QString(QChar(0x00AE)), 412, 24,
                                 QStringLiteral("MS Sans Serif"), 16);
    versionLabel_ = LogoLabel(client_, "version", QStringLiteral("V" VELTRIX_VERSION), 412, 64, small, 8);
    caption_ =
        LogoLabel(client_, "caption", QStringLiteral("Ceramic Filter Selection Program"), 196, 78, small, 8);
    caption2_ =
        LogoLabel(client_, "maker_caption", QStringLiteral("from Norvane Microwave"), 348, 78, small, 8);
}

void PageWindow::ColourLabels(bool printing) {
    const QColor& text = printing ? kPageBlack : kPageWhite;
    for (QLabel* label : {registeredLabel_, versionLabel_, caption_, caption2_}) {
        if (label) SetLabelColours(label, text);
    }
    if (logo_) logo_->SetPrinting(printing);
}

void PageWindow::FormPaint(QPainter& canvas, QSize clientSize) {
    const DisplaySettings& display = program_.Display;
    drawnTexts_.clear();
    const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    QPainter& recorder = page_.BeginPage(canvas, clientSize, clientSize, display.PaintCopyMode, 0, ratio);
    {
        PageWriter writer(recorder, display, &drawnTexts_);
        PaintPage(writer);
    }
    // The page's texts and the links placed after them follow the font, known only as they are drawn.
    const QString description = PageDescription(drawnTexts_);
    if (client_->accessibleDescription() != description) client_->setAccessibleDescription(description);
    page_.Present(canvas, clientSize, display.PaintCopyMode, 0, ratio);
}

void PageWindow::onPrint() {
    if (program_.Hub) program_.Hub->PrintForm(*this, jobTitle_);
}

void PageWindow::onExit() { close(); }

QString PageDescription(const std::vector<DrawnText>& texts, int lines) {
    std::vector<const DrawnText*> order;
    for (const DrawnText& text : texts) {
        if (text.text.trimmed().isEmpty()) continue;
        // Highlighted words are overprinted as prefixes of their line: they say nothing new.
        const bool overprint = std::any_of(order.begin(), order.end(), [&](const DrawnText* earlier) {
            return earlier->at == text.at && earlier->text.startsWith(text.text);
        });
        if (!overprint) order.push_back(&text);
    }
    std::stable_sort(order.begin(), order.end(), [](const DrawnText* a, const DrawnText* b) {
        return a->at.y() != b->at.y() ? a->at.y() < b->at.y() : a->at.x() < b->at.x();
    });
    QStringList rows;
    int rowTop = 0;
    for (const DrawnText* text : order) {
        if (!rows.isEmpty() && text->at.y() == rowTop) {
            rows.last() += QLatin1Char(' ') + text->text.simplified();
            continue;
        }
        if (rows.size() == lines) break;
        rows.append(text->text.simplified());
        rowTop = text->at.y();
    }
    return rows.join(QLatin1Char('\n'));
}

}  // namespace veltrix
