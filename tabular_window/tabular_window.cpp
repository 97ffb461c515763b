#include "tabular_window/tabular_window.h"

#include <QAction>
#include <QDate>
#include <QEvent>
#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <exception>

#include "exports/exports.h"
#include "platform/fonts.h"
#include "platform/services.h"
#include "printing/print_output.h"
#include "program/program.h"
#include "report/report.h"

namespace veltrix {

namespace {

// The view shapes a line as it lays it out, and by default drops the glyphs and shapes the line
// again to draw it: each line keeps them instead.
void KeepLaidOutGlyphs(QTextDocument& document) {
    for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
}

// Replaces the lines that changed, in one edit. A new text with the same number of lines (a new
// centre frequency, say) leaves the blocks in place, so the view lays out only the lines it shows
// and keeps its scroll range, where a whole new text would lay out the document twice over.
void ReplaceReportText(QPlainTextEdit& report, const QStringList& lines) {
    QTextDocument& document = *report.document();
    const int count = static_cast<int>(lines.size());
    if (count == 0 || document.blockCount() != count) {
        report.setPlainText(lines.join(QLatin1Char('\n')));
        KeepLaidOutGlyphs(document);
        return;
    }
    int first = 0;
    QTextBlock head = document.firstBlock();
    while (first < count && head.text() == lines[first]) {
        head = head.next();
        ++first;
    }
    if (first == count) return;
    int last = count - 1;
    QTextBlock tail = document.lastBlock();
    while (last > first && tail.text() == lines[last]) {
        tail = tail.previous();
        --last;
    }
    QTextCursor cursor(&document);
    cursor.setPosition(head.position());
    cursor.setPosition(tail.position() + tail.length() - 1, QTextCursor::KeepAnchor);
    cursor.insertText(lines.mid(first, last - first + 1).join(QLatin1Char('\n')));
    KeepLaidOutGlyphs(document);
}

}  // namespace

TabularDataWindow::TabularDataWindow(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setWindowTitle(QStringLiteral("Tabular Data"));
    setFont(PointFont(QStringLiteral("MS Sans Serif"), 8));
    setAutoFillBackground(true);
    resize(632, 438);

    report_ = new QPlainTextEdit(this);
    report_->setObjectName(QStringLiteral("response_data"));
    report_->setGeometry(0, 8, 513, 377);
    QFont terminal = PixelFont(QStringLiteral("Terminal"), 12);
    terminal.setStyleHint(QFont::TypeWriter);
    terminal.setFixedPitch(true);
    // Fixed-pitch Latin columns need no shaping, and shaping is most of relaying out a changed line.
    terminal.setStyleStrategy(QFont::PreferNoShaping);
    report_->setFont(terminal);
    QPalette palette = report_->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::black);
        palette.setColor(group, QPalette::Text, QColor(255, 255, 0));
    }
    report_->setPalette(palette);
    report_->setReadOnly(true);
    // Read-only alone leaves Ctrl+Home and Ctrl+End dead; a keyboard cursor makes every line reachable.
    report_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    report_->setPlainText(QStringLiteral("RDMemo"));
    // The memo is never edited by hand; its updates keep no undo history.
    report_->document()->setUndoRedoEnabled(false);
    report_->setAccessibleName(QStringLiteral("Response data"));

    selectionScreenButton_ = new QPushButton(QStringLiteral("Selection Scree&n"), this);
    selectionScreenButton_->setObjectName(QStringLiteral("selection_screen_button"));
    selectionScreenButton_->setGeometry(520, 32, 100, 25);
    outlineDrawingsButton_ = new QPushButton(QStringLiteral("&Outline Drawings"), this);
    outlineDrawingsButton_->setObjectName(QStringLiteral("outline_drawings_button"));
    outlineDrawingsButton_->setGeometry(520, 64, 100, 25);
    // Outside a dialog only an auto-default button answers Enter.
    for (QPushButton* button : {selectionScreenButton_, outlineDrawingsButton_}) button->setAutoDefault(true);

    fileMenu_ = new QMenu(QStringLiteral("&File"), this);
    printAction_ = fileMenu_->addAction(QStringLiteral("&Print"));
    exportTouchstoneAction_ = fileMenu_->addAction(QStringLiteral("Export &Touchstone..."));
    exportCsvAction_ = fileMenu_->addAction(QStringLiteral("Export &CSV..."));
    fileMenu_->addSeparator();
    exitAction_ = fileMenu_->addAction(QStringLiteral("E&xit"));
    viewMenu_ = new QMenu(QStringLiteral("&View"), this);
    selectionScreenAction_ = viewMenu_->addAction(QStringLiteral("&Selection Screen"));
    outlineDrawingsAction_ = viewMenu_->addAction(QStringLiteral("&Outline Drawings"));
    actions_.AddMenu(QStringLiteral("file"), fileMenu_);
    actions_.Add(QStringLiteral("print"), printAction_);
    actions_.Add(QStringLiteral("export_touchstone"), exportTouchstoneAction_);
    actions_.Add(QStringLiteral("export_csv"), exportCsvAction_);
    actions_.Add(QStringLiteral("exit"), exitAction_);
    actions_.AddMenu(QStringLiteral("view"), viewMenu_);
    actions_.Add(QStringLiteral("selection_screen"), selectionScreenAction_);
    actions_.Add(QStringLiteral("outline_drawings"), outlineDrawingsAction_);

    auto bringToFront = [this](DocumentWindow window) {
        if (program_.Hub) program_.Hub->BringToFront(window);
    };
    connect(selectionScreenButton_, &QPushButton::clicked, this,
            [bringToFront] { bringToFront(DocumentWindow::Specification); });
    connect(outlineDrawingsButton_, &QPushButton::clicked, this,
            [bringToFront] { bringToFront(DocumentWindow::Outline); });
    connect(selectionScreenAction_, &QAction::triggered, this,
            [bringToFront] { bringToFront(DocumentWindow::Specification); });
    connect(outlineDrawingsAction_, &QAction::triggered, this,
            [bringToFront] { bringToFront(DocumentWindow::Outline); });
    connect(exitAction_, &QAction::triggered, this, [this] {
        if (program_.Hub) program_.Hub->ExitProgram();
    });
    connect(printAction_, &QAction::triggered, this, &TabularDataWindow::onPrint);
    connect(exportTouchstoneAction_, &QAction::triggered, this, [this] {
        ExportResponse(QStringLiteral("Export Touchstone"), ExportFormat::Touchstone, QStringLiteral(".s2p"),
                       QStringLiteral("Touchstone two-port (*.s2p)"));
    });
    connect(exportCsvAction_, &QAction::triggered, this, [this] {
        ExportResponse(QStringLiteral("Export CSV"), ExportFormat::Csv, QStringLiteral(".csv"),
                       QStringLiteral("Comma-separated values (*.csv)"));
    });
    connect(fileMenu_, &QMenu::aboutToShow, this, &TabularDataWindow::onFileMenuShown);
    // A new judgement is listed once the event that caused it is over.
    connect(&program_.Judgement, &SelectionJudgement::Judged, this, &TabularDataWindow::ShowReport,
            Qt::QueuedConnection);
}

TabularDataWindow::~TabularDataWindow() = default;

QList<GroupedMenu> TabularDataWindow::GroupedMenus() { return {{0, fileMenu_}, {5, viewMenu_}}; }

void TabularDataWindow::ShowReport() {
    // A change already announced is judged before the report is listed.
    program_.Judgement.JudgePending();
    if (!program_.Judgement.HasJudged()) return;
    const JudgedSelection& judged = program_.Judgement.Latest();
    if (built_ && judged.Report == lines_) return;
    report_->setAccessibleDescription(QString::fromStdString(TabularDescription(judged.Spec)));
    lines_ = judged.Report;
    built_ = true;

    QStringList text;
    text.reserve(static_cast<qsizetype>(lines_.size()));
    for (const std::string& line : lines_) text.append(QString::fromStdString(line));

    QScrollBar* vertical = report_->verticalScrollBar();
    QScrollBar* horizontal = report_->horizontalScrollBar();
    const int top = vertical->value();
    const int left = horizontal->value();
    const int position = report_->textCursor().position();
    // No paint comes between here and the end of the event: the memo is repainted once, afterwards.
    ReplaceReportText(*report_, text);
    QTextCursor cursor = report_->textCursor();
    cursor.setPosition(std::min(position, report_->document()->characterCount() - 1));
    report_->setTextCursor(cursor);
    vertical->setValue(top);
    horizontal->setValue(left);
}

WindowPrinter& TabularDataWindow::ReportPrinter() {
    if (!printer_) printer_ = std::make_unique<WindowPrinter>();
    return *printer_;
}

QStringList TabularDataWindow::MemoLines() const { return report_->toPlainText().split(QLatin1Char('\n')); }

bool TabularDataWindow::onPrint() {
    QPrinter& printer = ReportPrinter().Printer();
    // The job has no title; the name only gives the dialog's proposed file a meaning.
    printer.setDocName(QString::fromLatin1(kReportFileTitle));
    if (!program_.PrintDialogs || !program_.PrintDialogs->Run(printer, this)) return false;
    QString writeError;
    if (PrintTabularReport(printer, MemoLines(), &writeError)) return true;
    if (!writeError.isEmpty() && program_.Messages)
        program_.Messages->ShowMessage(this, QStringLiteral("Cannot write ") + writeError, QString());
    ReportPrinter().Renew();
    if (program_.Hub) program_.Hub->ShowPrintException();
    return false;
}

bool TabularDataWindow::ExportResponse(const QString& caption, ExportFormat format, const QString& extension,
                                       const QString& filter) {
    const FilterSpec spec = program_.Spec;
    const ResponseTable judged = ComputeResponseTable(spec);
    if (!judged.Standard) {
        if (program_.Messages != nullptr)
            program_.Messages->ShowMessage(this, QString::fromStdString(judged.Refusal), QString());
        return false;
    }
    if (program_.RangeDialogs == nullptr || program_.SaveDialogs == nullptr) return false;

    const ExportRange defaults = ResolveExportSpan(spec, ExportSpan{}, format);
    const ExportRangeChoice proposal{defaults.FromMhz, defaults.ToMhz, defaults.Points};
    ExportRangeChoice choice = proposal;
    const auto check = [&spec, format](const ExportRangeChoice& c) {
        const ExportGrid grid = ExportFrequencies(spec, {c.Points, 0.0, c.FromMhz, c.ToMhz}, format);
        QString problem = QString::fromStdString(grid.Problem);
        if (!problem.isEmpty()) problem[0] = problem[0].toUpper();
        return problem;
    };
    if (!program_.RangeDialogs->AskExportRange(this, caption, choice, check)) return false;
    // The proposal as it stands is the default export: for CSV, the report's own rows.
    const ExportSpan span =
        choice == proposal ? ExportSpan{} : ExportSpan{choice.Points, 0.0, choice.FromMhz, choice.ToMhz};

    const QString path = program_.SaveDialogs->AskSaveFile(
        this, caption, QString::fromStdString(ExportFileName(judged.PartNumber, extension.toStdString())),
        filter);
    if (path.isEmpty()) return false;
    const std::string file = path.toStdString();
    FileResult result;
    if (format == ExportFormat::Touchstone) {
        const std::string date = QDate::currentDate().toString(Qt::ISODate).toStdString();
        result = WriteTouchstoneFile(spec, span, file, date);
    } else {
        result = WriteCsvFile(spec, span, file);
    }
    if (!result.Ok && program_.Messages != nullptr)
        program_.Messages->ShowMessage(this, QString::fromStdString(result.Error), QString());
    return result.Ok;
}

void TabularDataWindow::onFileMenuShown() { printAction_->setEnabled(!IsMinimised()); }

bool TabularDataWindow::IsMinimised() const {
    if (subWindow_) return subWindow_->isMinimized();
    return window()->isMinimized();
}

void TabularDataWindow::WatchSubWindow() {
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (sub == subWindow_) return;
    if (subWindow_) disconnect(subWindow_, nullptr, this, nullptr);
    subWindow_ = sub;
    if (!sub) return;
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates oldState, Qt::WindowStates newState) {
                if (!(oldState & Qt::WindowActive) && (newState & Qt::WindowActive)) ShowReport();
            });
}

bool TabularDataWindow::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowActivate:
            ShowReport();
            break;
        case QEvent::ParentChange:
            WatchSubWindow();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

// The memo keeps its design rectangle while the window is large enough, and otherwise ends at the
// window's edge: a memo that runs on below the edge keeps its last lines and its scroll bar out of
// sight, and no key can bring them into view.
void TabularDataWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QRect design(0, 8, 513, 377);
    const int width = std::clamp(this->width() - design.left(), 1, design.width());
    const int height = std::clamp(this->height() - design.top(), 1, design.height());
    report_->setGeometry(design.left(), design.top(), width, height);
}

}  // namespace veltrix
