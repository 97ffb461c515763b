#include "compare_window/compare_window.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainterPath>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "compare/curves_csv.h"
#include "compare/sample_judgement.h"
#include "compare_window/compare_accessible.h"
#include "files/user_file.h"
#include "platform/page_canvas.h"
#include "platform/services.h"
#include "platform/user_file_reporting.h"
#include "printing/export_command.h"

namespace veltrix {

namespace {

const QString kJobTitle = QStringLiteral("Veltrix Compare Parts");
const QString kComparisonFilters = QStringLiteral("Comparisons (*.vxcmp);;All files (*)");
// A saved comparison is a few hundred bytes; anything near this is not one.
constexpr std::size_t kMaxComparisonFileBytes = 1024 * 1024;

}  // namespace

CompareWindow::CompareWindow(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setWindowTitle(QStringLiteral("Compare Parts"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Compare Parts"));
    ExposeToScreenReaders(this);
    CreateMenus();
}

void CompareWindow::CreateMenus() {
    CreateFileMenu();
    editMenu_ = actions_.AddMenu(QStringLiteral("edit"), new QMenu(QStringLiteral("&Edit"), this));
    copyAction_ = actions_.Add(QStringLiteral("copy"), editMenu_->addAction(QStringLiteral("&Copy")));
    copyAction_->setShortcut(QKeySequence::Copy);
    connect(copyAction_, &QAction::triggered, this, [this] { onCopy(); });
    connect(editMenu_, &QMenu::aboutToShow, this, [this] { copyAction_->setEnabled(LegendRows() > 0); });
    CreateGraphMenu();
    // The shortcuts work while the window has the focus, its menus merged into the frame's or not.
    for (QAction* action : findChildren<QAction*>()) {
        if (action->shortcut().isEmpty()) continue;
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
}

void CompareWindow::CreateFileMenu() {
    const auto item = [this](const char* name, const QString& text, auto handler) {
        QAction* action = actions_.Add(QString::fromLatin1(name), fileMenu_->addAction(text));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    fileMenu_ = actions_.AddMenu(QStringLiteral("file"), new QMenu(QStringLiteral("&File"), this));
    connect(fileMenu_, &QMenu::aboutToShow, this, &CompareWindow::onFileMenuShown);
    item("open_comparison", QStringLiteral("&Open Comparison..."), [this] { onOpenComparison(); });
    saveAction_ =
        item("save_comparison", QStringLiteral("&Save Comparison..."), [this] { onSaveComparison(); });
    fileMenu_->addSeparator();
    printAction_ = item("print", QStringLiteral("&Print"), [this] { onPrint(); });
    item("export_vectors", QStringLiteral("&Export as PDF/SVG..."), [this] { onExportVectors(); });
    datasheetAction_ =
        item("export_datasheet", QStringLiteral("Export &Datasheet..."), [this] { onExportDatasheet(); });
    curvesAction_ =
        item("export_curves", QStringLiteral("Export &Curves as CSV..."), [this] { onExportCurves(); });
    item("add_measured", QStringLiteral("Add &Measured..."), [this] { onAddMeasured(); });
    item("remove_part", QStringLiteral("&Remove Part\tDel"), [this] { onRemovePart(); });
    fileMenu_->addSeparator();
    item("exit", QStringLiteral("E&xit"), [this] {
        if (program_.Hub) program_.Hub->ExitProgram();
    });
}

void CompareWindow::CreateGraphMenu() {
    graphMenu_ = actions_.AddMenu(QStringLiteral("graph"), new QMenu(QStringLiteral("&Graph"), this));
    const auto item = [this](const QString& name, const QString& text, auto handler) {
        QAction* action = actions_.Add(name, graphMenu_->addAction(text));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    for (int width = 1; width <= 6; ++width) {
        const QString text =
            width == 1 ? QStringLiteral("&1 bandwidth") : QStringLiteral("&%1 bandwidths").arg(width);
        item(QStringLiteral("graph_width_%1").arg(width), text, [this, width] { onGraphWidth(width); });
    }
    graphMenu_->addSeparator();
    item(QStringLiteral("zoom_in"), QStringLiteral("Zoom &In\t+"), [this] { onZoomIn(); });
    item(QStringLiteral("zoom_out"), QStringLiteral("Zoom &Out\t-"), [this] { onZoomOut(); });
    item(QStringLiteral("go_to_frequency"), QStringLiteral("Go to &Frequency..."), [this] {
        onGoToFrequency();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    graphMenu_->addSeparator();
    auto* views = new QActionGroup(this);
    const auto view = [&](const QString& name, const QString& text, CompareView shown) {
        QAction* action = item(name, text, [this, shown] { onView(shown); });
        action->setCheckable(true);
        action->setChecked(shown == view_);
        views->addAction(action);
    };
    view(QStringLiteral("view_dbc"), QStringLiteral("&dBc"), CompareView::Dbc);
    view(QStringLiteral("view_insertion_loss"), QStringLiteral("Insertion &Loss"),
         CompareView::InsertionLoss);
}

QList<GroupedMenu> CompareWindow::GroupedMenus() { return {{0, fileMenu_}, {1, editMenu_}, {2, graphMenu_}}; }

std::string CompareWindow::AddPart(const FilterSpec& spec) {
    std::string refusal = comparison_.Add(spec);
    if (refusal.empty()) selected_ = static_cast<int>(comparison_.Parts().size()) - 1;
    Changed();
    return refusal;
}

void CompareWindow::SetLimits(const std::vector<StopbandRequirement>& limits) {
    comparison_.SetLimits(limits);
    Changed();
}

void CompareWindow::SetRequirement(const FinderRequirement& requirement) {
    comparison_.SetRequirement(requirement);
    Changed();
}

void CompareWindow::SelectPart(int index) {
    const int count = LegendRows();
    selected_ = count == 0 ? -1 : std::clamp(index, 0, count - 1);
    // The measured file is held against the chosen part; choosing the file itself keeps the last.
    if (selected_ >= 0 && selected_ < static_cast<int>(comparison_.Parts().size())) {
        comparison_.SetReference(selected_);
        referenceChosen_ = true;
    }
    Changed();
}

int CompareWindow::LegendRows() const {
    return static_cast<int>(comparison_.Parts().size()) + (comparison_.HasMeasured() ? 1 : 0);
}

bool CompareWindow::MeasuredSelected() const {
    return comparison_.HasMeasured() && selected_ == static_cast<int>(comparison_.Parts().size());
}

void CompareWindow::Changed() {
    // The frame hosts the window in a scroll area, which scrolls once the table outgrows it.
    setMinimumHeight(ContentHeight());
    update();
    AnnounceChange(this);
}

int CompareWindow::ContentHeight() const {
    const int line = FontPixels() + 4;
    QFont font(program_.Display.FontName);
    font.setPixelSize(FontPixels());
    const QFontMetrics metrics(font);
    const CompareLayout layout = LayoutFor(QSize(kClientWidth, kClientHeight), FontPixels());
    const std::vector<CompareTableLine> lines =
        CompareTableLines(comparison_, {view_, referenceChosen_,
                                        [&](const QString& text) { return metrics.horizontalAdvance(text); },
                                        layout.Table.width()});
    if (lines.empty()) return 0;
    return layout.Table.top() + CompareTableHeight(lines, line) + line * 2;
}

int CompareWindow::FontPixels() const { return std::max(10, program_.Display.FontSizeMedium); }

void CompareWindow::onFileMenuShown() {
    printAction_->setEnabled(LegendRows() > 0);
    curvesAction_->setEnabled(LegendRows() > 0);
    saveAction_->setEnabled(LegendRows() > 0);
    datasheetAction_->setEnabled(selected_ >= 0 && selected_ < static_cast<int>(comparison_.Parts().size()));
}

void CompareWindow::onPrint() {
    if (program_.Hub) program_.Hub->PrintForm(*this, kJobTitle);
}

void CompareWindow::onExportVectors() { RunExportCommand(program_, *this, kJobTitle); }

void CompareWindow::onExportDatasheet() {
    if (selected_ < 0 || selected_ >= static_cast<int>(comparison_.Parts().size())) {
        if (program_.Messages)
            program_.Messages->ShowMessage(this, QStringLiteral("Choose a part in the legend first."),
                                           QString());
        return;
    }
    if (!program_.Hub) return;
    const FilterSpec& part = comparison_.Parts()[static_cast<size_t>(selected_)];
    // The requirement the comparison was opened with; limits alone are judged at the part's own centre.
    if (comparison_.OpenedRequirement()) {
        program_.Hub->ExportDatasheet(part, &*comparison_.OpenedRequirement());
    } else if (!comparison_.Limits().empty()) {
        const FinderRequirement judged = comparison_.JudgedRequirement();
        program_.Hub->ExportDatasheet(part, &judged);
    } else {
        program_.Hub->ExportDatasheet(part);
    }
}

void CompareWindow::onAddMeasured() {
    if (program_.OpenDialogs == nullptr) return;
    const QString path = program_.OpenDialogs->AskOpenFile(
        this, QStringLiteral("Add Measured"),
        QStringLiteral("Touchstone files (*.s1p *.s2p *.ts);;All files (*)"));
    if (!path.isEmpty()) LoadMeasured(path);
}

void CompareWindow::LoadMeasured(const QString& path) {
    const QFileInfo info(path);
    if (info.isFile() && info.size() >= kReadAsideBytes) {
        ReadMeasuredAside(path);
    } else {
        ShowMeasured(path, ReadTouchstoneFile(QFile::encodeName(path).toStdString()));
    }
}

// What the reading thread and the window share.
struct MeasuredReadJob {
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> total{1};
    std::atomic<bool> cancel{false};
    MeasuredRead result;  // written by the thread, read once it has finished
};

CompareWindow::~CompareWindow() {
    if (readingThread_ != nullptr) {
        reading_->cancel = true;
        readingThread_->wait();
        delete readingThread_;
    }
}

void CompareWindow::ReadMeasuredAside(const QString& path) {
    if (readingThread_ != nullptr) return;  // one file at a time
    const std::string file = QFile::encodeName(path).toStdString();
    const QString name = QFileInfo(path).fileName();
    auto job = std::make_shared<MeasuredReadJob>();
    reading_ = job;
    readingThread_ = QThread::create([job, file] {
        job->result = ReadTouchstoneFile(file, [&job = *job](std::uint64_t done, std::uint64_t total) {
            job.total = std::max<std::uint64_t>(total, 1);
            job.done = done;
            return !job.cancel;
        });
    });
    auto* progress = new QProgressDialog(QStringLiteral("Reading %1...").arg(name), QStringLiteral("Cancel"),
                                         0, 1000, this);
    progress->setWindowTitle(QStringLiteral("Add Measured"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(300);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    auto* ticks = new QTimer(progress);
    connect(ticks, &QTimer::timeout, progress, [progress, job] {
        if (progress->wasCanceled()) job->cancel = true;
        progress->setValue(
            static_cast<int>(1000.0 * static_cast<double>(job->done) / static_cast<double>(job->total)));
    });
    ticks->start(100);
    connect(progress, &QProgressDialog::canceled, this, [job] { job->cancel = true; });
    connect(readingThread_, &QThread::finished, this, [this, job, progress, path] {
        progress->deleteLater();
        readingThread_->deleteLater();
        readingThread_ = nullptr;
        reading_.reset();
        // A Cancel after the last piece was read still means the user no longer wants the file.
        if (!job->result.Cancelled && !job->cancel) ShowMeasured(path, std::move(job->result));
    });
    readingThread_->start();
}

void CompareWindow::ShowMeasured(const QString& path, MeasuredRead read) {
    if (!read.Ok) {
        Report(QString::fromStdString(read.Problem), QStringLiteral("Add Measured"));
        return;
    }
    comparison_.SetMeasured(QFileInfo(path).fileName().toStdString(), std::move(read.Trace));
    measuredPath_ = path;
    selected_ = static_cast<int>(comparison_.Parts().size());
    Changed();
    if (!read.Notice.empty() && program_.Messages)
        program_.Messages->ShowMessage(this, QString::fromStdString(read.Notice),
                                       QStringLiteral("Add Measured"));
}

void CompareWindow::onRemovePart() {
    if (selected_ < 0) return;
    if (MeasuredSelected()) {
        comparison_.RemoveMeasured();
        measuredPath_.clear();
    } else
        comparison_.Remove(selected_);
    const int count = LegendRows();
    selected_ = count == 0 ? -1 : std::min(selected_, count - 1);
    Changed();
}

void CompareWindow::onZoomIn() {
    comparison_.ZoomIn();
    Changed();
}

void CompareWindow::onZoomOut() {
    comparison_.ZoomOut();
    Changed();
}

void CompareWindow::onGraphWidth(int bandwidths) {
    comparison_.SetGraphWidth(bandwidths);
    Changed();
}

void CompareWindow::onGoToFrequency() {
    const CompareSpan span = comparison_.Span();
    if (span.ToMhz <= span.FromMhz) return;
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Go to Frequency"));
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setLabelText(QStringLiteral("Marker frequency, %1 to %2 MHz:")
                            .arg(FormatC("%.2f", span.FromMhz), FormatC("%.2f", span.ToMhz)));
    dialog.setDoubleDecimals(3);
    dialog.setDoubleRange(span.FromMhz, span.ToMhz);
    dialog.setDoubleValue(comparison_.MarkerMhz());
    if (dialog.exec() != QDialog::Accepted) return;
    comparison_.PlaceMarker(dialog.doubleValue());
    Changed();
}

void CompareWindow::onView(CompareView view) {
    view_ = view;
    actions_.Action(QStringLiteral("view_dbc"))->setChecked(view == CompareView::Dbc);
    actions_.Action(QStringLiteral("view_insertion_loss"))->setChecked(view == CompareView::InsertionLoss);
    Changed();
}

void CompareWindow::onCopy() {
    if (LegendRows() == 0) return;
    // No text width: the clipboard keeps the sample's lines whole.
    CompareTableOptions options;
    options.View = view_;
    options.ReferenceChosen = referenceChosen_;
    QGuiApplication::clipboard()->setText(CompareTableText(CompareTableLines(comparison_, options)));
}

void CompareWindow::Report(const QString& text, const QString& caption) {
    if (program_.Messages) program_.Messages->ShowMessage(this, text, caption);
}

void CompareWindow::SaveText(const QString& caption, const QString& proposedName, const QString& filters,
                             const std::string& text) {
    if (program_.SaveDialogs == nullptr) return;
    const QString path = program_.SaveDialogs->AskSaveFile(this, caption, proposedName, filters);
    if (path.isEmpty()) return;
    QString error;
    if (!WriteUserFileReporting(path, QByteArray::fromStdString(text), &error) && !error.isEmpty())
        Report(error, caption);
}

void CompareWindow::onExportCurves() {
    if (LegendRows() == 0) return;
    SaveText(QStringLiteral("Export Curves as CSV"), QStringLiteral("comparison.csv"),
             QStringLiteral("CSV files (*.csv);;All files (*)"), CurvesCsvText(comparison_));
}

void CompareWindow::onSaveComparison() {
    if (LegendRows() == 0) return;
    const SavedComparison saved{comparison_.Limits(), comparison_.OpenedRequirement(), comparison_.Parts(),
                                QFile::encodeName(measuredPath_).toStdString()};
    SaveText(QStringLiteral("Save Comparison"), QStringLiteral("comparison.vxcmp"), kComparisonFilters,
             ComparisonFileText(saved));
}

std::optional<Comparison> CompareWindow::Opened(const SavedComparison& saved, QString* problem) const {
    Comparison opened;
    if (saved.Opened) {
        opened.SetRequirement(*saved.Opened);
    } else {
        opened.SetLimits(saved.Requirement);
    }
    for (const FilterSpec& part : saved.Parts) {
        const std::string refusal = opened.Add(part);
        if (!refusal.empty()) {
            *problem = QString::fromStdString(refusal);
            return std::nullopt;
        }
    }
    return opened;
}

void CompareWindow::onOpenComparison() {
    if (program_.OpenDialogs == nullptr) return;
    const QString caption = QStringLiteral("Open Comparison");
    const QString path = program_.OpenDialogs->AskOpenFile(this, caption, kComparisonFilters);
    if (path.isEmpty()) return;
    const std::optional<std::string> text =
        ReadRegularFile(QFile::encodeName(path).toStdString(), kMaxComparisonFileBytes);
    if (!text) {
        Report(
            QStringLiteral("%1 cannot be opened: it is not a file that can be read.").arg(MessagePath(path)),
            caption);
        return;
    }
    const ComparisonFileRead read = ReadComparisonFileText(*text);
    QString problem = QString::fromStdString(read.Problem);
    std::optional<Comparison> opened;
    if (read.Ok) opened = Opened(read.Comparison, &problem);
    if (!opened) {
        Report(QStringLiteral("%1 cannot be opened: %2.").arg(MessagePath(path), problem), caption);
        return;
    }
    comparison_ = std::move(*opened);
    measuredPath_.clear();
    selected_ = comparison_.Parts().empty() ? -1 : 0;
    Changed();
    if (read.Comparison.MeasuredPath.empty()) return;
    const QString measured = QFile::decodeName(QByteArray::fromStdString(read.Comparison.MeasuredPath));
    if (!QFileInfo::exists(measured)) {
        Report(QStringLiteral("The measured file %1 is no longer there; the comparison opens without it.")
                   .arg(MessagePath(measured)),
               caption);
        return;
    }
    LoadMeasured(measured);
}

void CompareWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            comparison_.MoveMarker(-1);
            break;
        case Qt::Key_Right:
            comparison_.MoveMarker(1);
            break;
        case Qt::Key_Up:
            SelectPart(selected_ - 1);
            return;
        case Qt::Key_Down:
            SelectPart(selected_ + 1);
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            onZoomIn();
            return;
        case Qt::Key_Minus:
            onZoomOut();
            return;
        case Qt::Key_Delete:
            onRemovePart();
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    Changed();
}

void CompareWindow::mousePressEvent(QMouseEvent* event) {
    const CompareLayout layout = LayoutFor(size(), FontPixels());
    const QPoint at = event->position().toPoint();
    if (layout.Legend.contains(at)) {
        const int row = (at.y() - layout.Legend.top()) / layout.LegendRowHeight - 1;
        if (row >= 0 && row < LegendRows()) SelectPart(row);
        return;
    }
    for (const QRect& pane : {layout.Attenuation, layout.ReturnLoss, layout.Delay}) {
        if (pane.contains(at)) {
            const CompareSpan span = comparison_.Span();
            comparison_.PlaceMarker(span.FromMhz + (span.ToMhz - span.FromMhz) * (at.x() - pane.left()) /
                                                       std::max(1, pane.width()));
            Changed();
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void CompareWindow::wheelEvent(QWheelEvent* event) {
    if (event->angleDelta().y() > 0)
        onZoomIn();
    else if (event->angleDelta().y() < 0)
        onZoomOut();
    event->accept();
}

void CompareWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FormPaint(painter, size());
}

void CompareWindow::FormPaint(QPainter& canvas, QSize clientSize) {
    const DisplaySettings& display = program_.Display;
    drawnTexts_.clear();
    const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    QPainter& painter = page_.BeginPage(canvas, clientSize, clientSize, display.PaintCopyMode, 0, ratio);
    {
        PageCanvas page(painter, &drawnTexts_,
                        {PageStrokes::Immediate, FrameWeight::PagePixel, &page_.TextLines()});
        QFont font(display.FontName);
        font.setPixelSize(FontPixels());
        page.SetFont(font);
        DrawComparePage(page, comparison_, {view_, referenceChosen_, selected_, hasFocus()},
                        LayoutFor(clientSize, FontPixels()));
    }
    page_.Present(canvas, clientSize, display.PaintCopyMode, 0, ratio);
}

}  // namespace veltrix
