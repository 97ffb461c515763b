#include "info/page_window.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>
#include <QStringList>
#include <algorithm>

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
        setFixedSize(TPageWindow::kClientWidth, TPageWindow::kClientHeight);
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

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
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

void TLinkLabel::paintEvent(QPaintEvent* event) {
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

void TLinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && OnClick) OnClick();
}

void OpenShellLink(Program& program, QWidget* parent, const QString& target, const QString& failureMessage) {
    const bool opened = program.Shell != nullptr && program.Shell->Open(target);
    if (!opened && program.Messages != nullptr) program.Messages->ShowMessage(parent, failureMessage);
}

TLinkLabel* MakeLinkLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                          const QColor& colour) {
    auto* label = new TLinkLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = PixelFont(QStringLiteral("MS Sans Serif"), 16);
    font.setUnderline(true);
    label->setFont(font);
    SetLabelColours(label, colour);
    label->adjustSize();
    label->move(left, top);
    return label;
}

TPageWindow::TPageWindow(Program& program, const QString& caption, const QString& jobTitle, Kind kind,
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

    Client = new PageClient(*this, this);
    Client->setObjectName(QStringLiteral("Client"));
    Client->setAccessibleName(caption);
    setCentralWidget(Client);

    menuBar()->setNativeMenuBar(false);
    File1 = menuBar()->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    Print1 = File1->addAction(QStringLiteral("&Print"));
    Print1->setObjectName(QStringLiteral("Print1"));
    N1 = File1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Exit1 = File1->addAction(QStringLiteral("E&xit"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    connect(Print1, &QAction::triggered, this, &TPageWindow::Print1Click);
    connect(Exit1, &QAction::triggered, this, &TPageWindow::Exit1Click);
    // A stay-on-top page is put away like a dialog; the quote window is an ordinary window.
    if (kind == Kind::StayOnTopTool) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        escape->setObjectName(QStringLiteral("EscapeShortcut"));
        connect(escape, &QShortcut::activated, this, &TPageWindow::Exit1Click);
    }
}

TPageWindow::~TPageWindow() = default;

void TPageWindow::FinishLayout() {
    adjustSize();
    setFixedSize(size());
    if (kind_ == Kind::StayOnTopTool) CentreOnScreen(this);
}

void TPageWindow::ShowAtStart(bool shown) {
    if (shown) show();
}

void TPageWindow::AddLogoBlock() {
    VXImage = new LogoView(Client);
    VXImage->setObjectName(QStringLiteral("VXImage"));
    VXImage->setGeometry(199, 28, 225, 61);
    const QString small = QStringLiteral("Small Fonts");
    SymLbl =
        LogoLabel(Client, "SymLbl", QString(QChar(0x00AE)), 412, 24, QStringLiteral("MS Sans Serif"), 16);
    VerLbl = LogoLabel(Client, "VerLbl", QStringLiteral("V" VELTRIX_VERSION), 412, 64, small, 8);
    Caption =
        LogoLabel(Client, "Caption", QStringLiteral("Ceramic Filter Selection Program"), 196, 78, small, 8);
    Caption2 = LogoLabel(Client, "Caption2", QStringLiteral("from Norvane Microwave"), 348, 78, small, 8);
}

void TPageWindow::ColourLabels(bool printing) {
    const QColor& text = printing ? kPageBlack : kPageWhite;
    for (QLabel* label : {SymLbl, VerLbl, Caption, Caption2}) {
        if (label) SetLabelColours(label, text);
    }
    if (VXImage) VXImage->SetPrinting(printing);
}

void TPageWindow::FormPaint(QPainter& canvas, QSize clientSize) {
    const DisplaySettings& display = program_.Display;
    drawnTexts_.clear();
    const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    QPainter& recorder = page_.BeginPage(canvas, clientSize, clientSize, display.PaintCopyMode, 0, ratio);
    {
        PageWriter writer(recorder, display, &drawnTexts_);
        PaintPage(writer);
    }
    ColourLabels(display.PaintCopyMode == CopyMode::InvertedSource);
    const QString description = PageDescription(drawnTexts_);
    if (Client->accessibleDescription() != description) Client->setAccessibleDescription(description);
    page_.Present(canvas, clientSize, display.PaintCopyMode, 0, ratio);
}

void TPageWindow::Print1Click() {
    if (program_.Hub) program_.Hub->PrintForm(*this, jobTitle_);
}

void TPageWindow::Exit1Click() { close(); }

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
