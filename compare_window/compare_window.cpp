#include "compare_window/compare_window.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
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

#include "compare/sample_judgement.h"
#include "compare_window/compare_accessible.h"
#include "engine/rules.h"
#include "platform/services.h"
#include "printing/export_command.h"

namespace veltrix {

namespace {

const QString kJobTitle = QStringLiteral("Veltrix Compare Parts");
constexpr double kAttenuationRangeDbc = 80.0;
constexpr double kReturnLossRangeDb = 40.0;

// A figure that is not there is left blank.
QString Format(const char* format, double value) {
    if (std::isnan(value)) return QString();
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

// A delay scale's top: the largest delay shown, rounded up to 1, 2 or 5 times a power of ten.
double DelayScaleTop(const std::vector<CompareCurve>& curves) {
    double top = 0.0;
    for (const CompareCurve& curve : curves)
        for (const double d : curve.DelayNs)
            if (std::isfinite(d)) top = std::max(top, d);
    if (top <= 0.0) return 10.0;
    const double decade = std::pow(10.0, std::floor(std::log10(top)));
    for (const double step : {1.0, 2.0, 5.0, 10.0})
        if (top <= step * decade) return step * decade;
    return 10.0 * decade;
}

class Writer {
  public:
    Writer(QPainter& painter, const QFont& font, std::vector<DrawnText>& texts)
        : painter_(painter), metrics_(font), texts_(texts) {
        painter_.setFont(font);
    }
    void Text(int x, int y, const QString& text, const QColor& colour) {
        painter_.setPen(colour);
        DrawPageText(painter_, x, y, metrics_.ascent(), text);
        texts_.push_back({QPoint(x, y), text, colour, painter_.font().pixelSize()});
    }
    int Width(const QString& text) const { return metrics_.horizontalAdvance(text); }
    int Height() const { return metrics_.height(); }

  private:
    QPainter& painter_;
    QFontMetrics metrics_;
    std::vector<DrawnText>& texts_;
};

}  // namespace

const QColor& TraceColour(int index) {
    // Inverted for print: blue, red, green, purple, orange and teal on white.
    static const QColor colours[kMaxComparedParts] = {QColor(255, 255, 55),  QColor(55, 255, 255),
                                                      QColor(255, 125, 255), QColor(105, 255, 105),
                                                      QColor(55, 155, 255),  QColor(255, 125, 115)};
    return colours[std::clamp(index, 0, kMaxComparedParts - 1)];
}

const QColor& MeasuredColour() {
    // Dark grey in print, dashed, apart from the parts' colours.
    static const QColor colour(200, 200, 200);
    return colour;
}

namespace {

// The deviations' rows as the narrow table names them.
QString DeviationLabel(const DeviationEntry& entry) {
    if (entry.Key == "insertion_loss_db") return QStringLiteral("IL at F0");
    if (entry.Key == "lower_edge_db") return QStringLiteral("Lower edge");
    if (entry.Key == "upper_edge_db") return QStringLiteral("Upper edge");
    if (entry.Key == "passband_largest_deviation_db") return QStringLiteral("Passband max");
    return Format("%.2f MHz", entry.FrequencyMhz);
}

// The table lists losses; the centre frequency's shift is in MHz and stays out of it.
bool ListedInTable(const DeviationEntry& entry) { return entry.Key.rfind("centre_", 0) != 0; }

// The sample's judgement, each line broken at spaces to fit the table's column.
std::vector<QString> SampleLines(const SampleJudgement& judgement, const QFontMetrics& metrics, int width) {
    std::vector<QString> lines;
    for (const std::string& text : SampleJudgementLines(judgement)) {
        QString line;
        for (const QString& word : QString::fromStdString(text).split(QLatin1Char(' '))) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                lines.push_back(line);
                line = QStringLiteral("  ") + word;
            } else {
                line = longer;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

QString RequirementText(const FinderRequirement& r) {
    QString text = QStringLiteral("Requirement: %1 MHz, at least %2 MHz at %3 dB")
                       .arg(Format("%.2f", r.F0), Format("%.1f", r.BW),
                            Format("%.1f", PassbandFromIndex(r.PassbandIndex).PBD));
    if (r.MaxInsertionLossDb)
        text += QStringLiteral(", IL at most %1 dB").arg(Format("%.1f", *r.MaxInsertionLossDb));
    return text;
}

}  // namespace

CompareLayout LayoutFor(QSize clientSize, int fontPixels) {
    CompareLayout layout;
    const int line = fontPixels + 4;
    const int right = std::max(300, fontPixels * 26);
    const int left = fontPixels * 4;
    const int graphWidth = std::max(100, clientSize.width() - left - right - 20);
    const int top = line * 2;
    const int bottom = clientSize.height() - line * 2;
    const int available = std::max(120, bottom - top - line * 2);
    const int attenuation = available * 45 / 100;
    const int returnLoss = available * 27 / 100;
    layout.Attenuation = QRect(left, top, graphWidth, attenuation);
    layout.ReturnLoss = QRect(left, layout.Attenuation.bottom() + line, graphWidth, returnLoss);
    layout.Delay =
        QRect(left, layout.ReturnLoss.bottom() + line, graphWidth, available - attenuation - returnLoss);
    const int column = layout.Attenuation.right() + 20;
    layout.LegendRowHeight = line;
    // A title, six parts and a measured file.
    layout.Legend = QRect(column, top, clientSize.width() - column - 8, line * (kMaxComparedParts + 2));
    layout.Table = QRect(column, layout.Legend.bottom() + line, layout.Legend.width(),
                         std::max(line, bottom - layout.Legend.bottom() - line));
    return layout;
}

CompareWindow::CompareWindow(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setWindowTitle(QStringLiteral("Compare Parts"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Compare Parts"));
    ExposeToScreenReaders(this);
    CreateMenus();
}

void CompareWindow::CreateMenus() {
    const auto item = [this](QMenu* menu, const char* name, const QString& text, auto handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    fileMenu_ = new QMenu(QStringLiteral("&File"), this);
    fileMenu_->setObjectName(QStringLiteral("CompareFile"));
    connect(fileMenu_, &QMenu::aboutToShow, this, &CompareWindow::onFileMenuShown);
    printAction_ = item(fileMenu_, "PrintCompare", QStringLiteral("&Print"), [this] { onPrint(); });
    item(fileMenu_, "ExportVectorsCompare", QStringLiteral("&Export as PDF/SVG..."),
         [this] { onExportVectors(); });
    datasheetAction_ = item(fileMenu_, "ExportDatasheetCompare", QStringLiteral("Export &Datasheet..."),
                            [this] { onExportDatasheet(); });
    item(fileMenu_, "AddMeasured", QStringLiteral("Add &Measured..."), [this] { onAddMeasured(); });
    item(fileMenu_, "RemovePart", QStringLiteral("&Remove Part\tDel"), [this] { onRemovePart(); });
    fileMenu_->addSeparator()->setObjectName(QStringLiteral("Separator"));
    item(fileMenu_, "ExitCompare", QStringLiteral("E&xit"), [this] {
        if (program_.Hub) program_.Hub->ExitProgram();
    });

    graphMenu_ = new QMenu(QStringLiteral("&Graph"), this);
    graphMenu_->setObjectName(QStringLiteral("CompareGraph"));
    for (int width = 1; width <= 6; ++width) {
        const QString text =
            width == 1 ? QStringLiteral("&1 bandwidth") : QStringLiteral("&%1 bandwidths").arg(width);
        item(graphMenu_, "CompareWidth", text, [this, width] { onGraphWidth(width); });
    }
    graphMenu_->addSeparator();
    item(graphMenu_, "ZoomIn", QStringLiteral("Zoom &In\t+"), [this] { onZoomIn(); });
    item(graphMenu_, "ZoomOut", QStringLiteral("Zoom &Out\t-"), [this] { onZoomOut(); });
}

QList<GroupedMenu> CompareWindow::GroupedMenus() { return {{0, fileMenu_}, {1, graphMenu_}}; }

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
    const CompareLayout layout = LayoutFor(QSize(kClientWidth, kClientHeight), FontPixels());
    const int parts = static_cast<int>(comparison_.Curves().size());
    const bool measured = comparison_.HasMeasured();
    if (parts == 0 && !measured) return 0;
    const bool judged = measured && comparison_.Judgement().Judged;
    int y = layout.Table.top() + line * (2 + parts + (measured ? 1 : 0));
    if (comparison_.OpenedRequirement()) y += line / 2 + line;
    for (size_t k = 0; k < comparison_.Limits().size(); ++k)
        y += line / 2 + line * (1 + parts + (judged ? 1 : 0));
    if (measured && !comparison_.MeasuredDeviations().Summary.empty()) {
        y += line / 2 + line * 2;
        for (const DeviationEntry& entry : comparison_.MeasuredDeviations().Summary)
            if (ListedInTable(entry)) y += line;
    }
    if (measured && (judged || !comparison_.Judgement().NotJudged.empty())) {
        QFont font(program_.Display.FontName);
        font.setPixelSize(FontPixels());
        y +=
            line / 2 +
            line * static_cast<int>(
                       SampleLines(comparison_.Judgement(), QFontMetrics(font), layout.Table.width()).size() +
                       1);
    }
    return y + line * 2;
}

int CompareWindow::FontPixels() const { return std::max(10, program_.Display.FontSizeMedium); }

void CompareWindow::onFileMenuShown() {
    printAction_->setEnabled(LegendRows() > 0);
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
    if (path.isEmpty()) return;
    const std::string file = QFile::encodeName(path).toStdString();
    const QFileInfo info(path);
    if (info.isFile() && info.size() >= kReadAsideBytes) {
        ReadMeasuredAside(file, info.fileName());
    } else {
        ShowMeasured(info.fileName(), ReadTouchstoneFile(file));
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

void CompareWindow::ReadMeasuredAside(const std::string& file, const QString& name) {
    if (readingThread_ != nullptr) return;  // one file at a time
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
    connect(readingThread_, &QThread::finished, this, [this, job, progress, name] {
        progress->deleteLater();
        readingThread_->deleteLater();
        readingThread_ = nullptr;
        reading_.reset();
        // A Cancel after the last piece was read still means the user no longer wants the file.
        if (!job->result.Cancelled && !job->cancel) ShowMeasured(name, std::move(job->result));
    });
    readingThread_->start();
}

void CompareWindow::ShowMeasured(const QString& name, MeasuredRead read) {
    if (!read.Ok) {
        if (program_.Messages)
            program_.Messages->ShowMessage(this, QString::fromStdString(read.Problem),
                                           QStringLiteral("Add Measured"));
        return;
    }
    comparison_.SetMeasured(name.toStdString(), std::move(read.Trace));
    selected_ = static_cast<int>(comparison_.Parts().size());
    Changed();
    if (!read.Notice.empty() && program_.Messages)
        program_.Messages->ShowMessage(this, QString::fromStdString(read.Notice),
                                       QStringLiteral("Add Measured"));
}

void CompareWindow::onRemovePart() {
    if (selected_ < 0) return;
    if (MeasuredSelected())
        comparison_.RemoveMeasured();
    else
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
    QPainter& p = page_.BeginPage(canvas, clientSize, clientSize, display.PaintCopyMode, 0, ratio);
    QFont font(display.FontName);
    font.setPixelSize(FontPixels());
    Writer w(p, font, drawnTexts_);
    const CompareLayout layout = LayoutFor(clientSize, FontPixels());
    const std::vector<CompareCurve>& curves = comparison_.Curves();
    const bool measured = comparison_.HasMeasured();
    const bool any = !curves.empty() || measured;
    const CompareSpan span = comparison_.Span();
    const int line = layout.LegendRowHeight;

    w.Text(layout.Attenuation.left(), 4,
           !any ? QStringLiteral("No parts to compare: mark parts in Find Parts and choose Compare, "
                                 "or Add to Comparison on the specification screen.")
                : QStringLiteral("Compare Parts: %1 to %2 MHz")
                      .arg(Format("%.2f", span.FromMhz), Format("%.2f", span.ToMhz)),
           kPageWhite);

    // A measured delay runs wild in the stopbands; the parts' scale is kept while there are parts.
    const double delayTop = DelayScaleTop(
        curves.empty() && measured ? std::vector<CompareCurve>{comparison_.MeasuredCurve()} : curves);
    struct Pane {
        QRect box;
        QString title;
        double top;
        double bottom;  // the values at the box's top and bottom edges
    };
    const Pane panes[] = {
        {layout.Attenuation, QStringLiteral("Attenuation (dBc)"), 0.0, kAttenuationRangeDbc},
        {layout.ReturnLoss, QStringLiteral("Return loss (dB)"), 0.0, kReturnLossRangeDb},
        {layout.Delay, QStringLiteral("Group delay (ns)"), delayTop, 0.0}};
    const auto xOf = [&](const QRect& box, double mhz) {
        return box.left() + (mhz - span.FromMhz) / std::max(1e-12, span.ToMhz - span.FromMhz) * box.width();
    };
    const auto yOf = [](const Pane& pane, double value) {
        const double t = (value - pane.top) / (pane.bottom - pane.top);
        return pane.box.top() + std::clamp(t, 0.0, 1.0) * pane.box.height();
    };

    QPen grid(kPageGrey, 0, Qt::DotLine);
    for (const Pane& pane : panes) {
        p.setPen(QPen(kPageSilver, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(pane.box);
        p.setPen(grid);
        for (int i = 1; i < 4; ++i) {
            const int y = pane.box.top() + pane.box.height() * i / 4;
            p.drawLine(pane.box.left(), y, pane.box.right(), y);
        }
        for (int i = 1; i < 6; ++i) {
            const int x = pane.box.left() + pane.box.width() * i / 6;
            p.drawLine(x, pane.box.top(), x, pane.box.bottom());
        }
        w.Text(pane.box.left() + 4, pane.box.top() + 2, pane.title, kPageWhite);
        for (int i = 0; i <= 4; i += 2) {
            const double value = pane.top + (pane.bottom - pane.top) * i / 4;
            const QString label = Format("%.0f", value);
            w.Text(pane.box.left() - w.Width(label) - 4,
                   pane.box.top() + pane.box.height() * i / 4 - w.Height() / 2, label, kPageWhite);
        }
    }
    if (any) {
        for (int i = 0; i <= 6; i += 2) {
            const QString label = Format("%.1f", span.FromMhz + (span.ToMhz - span.FromMhz) * i / 6);
            const int x = layout.Delay.left() + layout.Delay.width() * i / 6 - w.Width(label) / 2;
            w.Text(x, layout.Delay.bottom() + 3, label, kPageWhite);
        }
        w.Text(layout.Delay.right() - w.Width(QStringLiteral("MHz")), layout.Delay.bottom() + 3 + line,
               QStringLiteral("MHz"), kPageWhite);
    }

    // The limits: the guarantee for the first part's centre frequency, and each required point.
    if (!curves.empty()) {
        const Pane& a = panes[0];
        const double guarantee = GuaranteedAttenuationDbc(comparison_.Parts().front().F0);
        p.setPen(QPen(kPageWhite, 0, Qt::DashLine));
        const double gy = yOf(a, guarantee);
        p.drawLine(QPointF(a.box.left(), gy), QPointF(a.box.right(), gy));
        const QString guaranteed = QStringLiteral("guaranteed %1 dBc").arg(Format("%.0f", guarantee));
        w.Text(a.box.right() - w.Width(guaranteed) - 4, static_cast<int>(gy) - w.Height() - 1, guaranteed,
               kPageWhite);
        p.setPen(QPen(kPageWhite, 2));
        for (const StopbandRequirement& limit : comparison_.Limits()) {
            if (limit.FrequencyMhz < span.FromMhz || limit.FrequencyMhz > span.ToMhz) continue;
            const double x = xOf(a.box, limit.FrequencyMhz);
            const double y = yOf(a, limit.MinAttenuationDbc);
            p.drawLine(QPointF(x - 6, y), QPointF(x + 6, y));
            p.drawLine(QPointF(x, y), QPointF(x, a.box.bottom()));
            w.Text(static_cast<int>(x) + 4, static_cast<int>(y) + 2,
                   Format("%.1f dBc", limit.MinAttenuationDbc), kPageWhite);
        }
    }

    const auto drawCurve = [&](const CompareCurve& curve) {
        const std::vector<double>* values[] = {&curve.AttenuationDbc, &curve.ReturnLossDb, &curve.DelayNs};
        const std::vector<double>& f = curve.FrequenciesMhz;
        // A measured file may reach far beyond the span: only its points inside, and one either side.
        const size_t from =
            std::max<ptrdiff_t>(0, std::lower_bound(f.begin(), f.end(), span.FromMhz) - f.begin() - 1);
        const size_t to = std::min(
            f.size(), static_cast<size_t>(std::upper_bound(f.begin(), f.end(), span.ToMhz) - f.begin()) + 1);
        for (int k = 0; k < 3; ++k) {
            if (values[k]->size() != f.size()) continue;  // a 1-port file's attenuation and delay
            QPainterPath path;
            bool open = false;
            for (size_t i = from; i < to; ++i) {
                const double v = (*values[k])[i];
                if (!std::isfinite(v)) {
                    open = false;
                    continue;
                }
                const QPointF at(xOf(panes[k].box, curve.FrequenciesMhz[i]), yOf(panes[k], v));
                if (open)
                    path.lineTo(at);
                else
                    path.moveTo(at);
                open = true;
            }
            p.drawPath(path);
        }
    };
    for (size_t c = 0; c < curves.size(); ++c) {
        p.setPen(QPen(TraceColour(static_cast<int>(c)), 0));
        drawCurve(curves[c]);
    }
    if (measured) {
        p.setPen(QPen(MeasuredColour(), 0, Qt::DashLine));
        drawCurve(comparison_.MeasuredCurve());
    }

    if (any) {
        const double mx = xOf(layout.Attenuation, comparison_.MarkerMhz());
        p.setPen(QPen(kPageWhite, 0, Qt::DashDotLine));
        p.drawLine(QPointF(mx, layout.Attenuation.top()), QPointF(mx, layout.Delay.bottom()));
    }

    // The legend, the chosen part framed.
    const auto frameChosenRow = [&](int y) {
        p.setPen(QPen(kPageWhite, 0, hasFocus() ? Qt::SolidLine : Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(layout.Legend.left(), y, layout.Legend.width() - 1, line - 1));
    };
    w.Text(layout.Legend.left(), layout.Legend.top(), QStringLiteral("Parts"), kPageWhite);
    for (size_t c = 0; c < curves.size(); ++c) {
        const int y = layout.Legend.top() + line * static_cast<int>(c + 1);
        const QColor& colour = TraceColour(static_cast<int>(c));
        p.fillRect(QRect(layout.Legend.left() + 2, y + line / 2 - 2, 16, 4), colour);
        w.Text(layout.Legend.left() + 24, y + 1, QString::fromStdString(curves[c].Name), colour);
        if (static_cast<int>(c) == selected_) frameChosenRow(y);
    }
    if (measured) {
        const int y = layout.Legend.top() + line * static_cast<int>(curves.size() + 1);
        p.setPen(QPen(MeasuredColour(), 2, Qt::DashLine));
        p.drawLine(layout.Legend.left() + 2, y + line / 2, layout.Legend.left() + 18, y + line / 2);
        w.Text(layout.Legend.left() + 24, y + 1,
               QStringLiteral("Measured: %1").arg(QString::fromStdString(comparison_.MeasuredCurve().Name)),
               MeasuredColour());
        if (MeasuredSelected()) frameChosenRow(y);
    }

    // The marker's table, then each part's worst-case margin at every required point.
    if (any) {
        int y = layout.Table.top();
        const int x = layout.Table.left();
        const std::vector<MarkerRow> rows = comparison_.MarkerRows();
        // The part numbers set the first column, so a long one never runs into its figures.
        int nameWidth = w.Width(QStringLiteral("Part"));
        for (const MarkerRow& row : rows)
            nameWidth = std::max(nameWidth, w.Width(QString::fromStdString(row.Name)));
        const int first = nameWidth + w.Width(QStringLiteral("  "));
        const int col = std::max(w.Width(QStringLiteral("000.00 ")), (layout.Table.width() - first) / 3);
        w.Text(x, y, QStringLiteral("Marker %1 MHz").arg(Format("%.2f", comparison_.MarkerMhz())),
               kPageWhite);
        y += line;
        w.Text(x, y, QStringLiteral("Part"), kPageWhite);
        w.Text(x + first, y, QStringLiteral("dBc"), kPageWhite);
        w.Text(x + first + col, y, QStringLiteral("RL dB"), kPageWhite);
        w.Text(x + first + col * 2, y, QStringLiteral("ns"), kPageWhite);
        y += line;
        for (size_t r = 0; r < rows.size(); ++r) {
            const QColor& colour = TraceColour(static_cast<int>(r));
            w.Text(x, y, QString::fromStdString(rows[r].Name), colour);
            w.Text(x + first, y, Format("%.2f", rows[r].AttenuationDbc), colour);
            w.Text(x + first + col, y, Format("%.2f", rows[r].ReturnLossDb), colour);
            w.Text(x + first + col * 2, y, Format("%.2f", rows[r].DelayNs), colour);
            y += line;
        }
        if (measured) {
            const MarkerRow row = comparison_.MeasuredAtMarker();
            w.Text(x, y, QStringLiteral("Measured"), MeasuredColour());
            w.Text(x + first, y, Format("%.2f", row.AttenuationDbc), MeasuredColour());
            w.Text(x + first + col, y, Format("%.2f", row.ReturnLossDb), MeasuredColour());
            w.Text(x + first + col * 2, y, Format("%.2f", row.DelayNs), MeasuredColour());
            y += line;
        }
        const SampleJudgement& judgement = comparison_.Judgement();
        if (comparison_.OpenedRequirement()) {
            y += line / 2;
            w.Text(x, y, RequirementText(*comparison_.OpenedRequirement()), kPageWhite);
            y += line;
        }
        for (size_t k = 0; k < comparison_.Limits().size(); ++k) {
            const StopbandRequirement& limit = comparison_.Limits()[k];
            y += line / 2;
            w.Text(x, y,
                   QStringLiteral("At %1 MHz, %2 dBc required")
                       .arg(Format("%.2f", limit.FrequencyMhz), Format("%.1f", limit.MinAttenuationDbc)),
                   kPageWhite);
            y += line;
            for (size_t r = 0; r < rows.size(); ++r) {
                if (k >= rows[r].Margins.size()) continue;
                const StopbandResult& margin = rows[r].Margins[k];
                const QColor& colour = TraceColour(static_cast<int>(r));
                w.Text(x, y, QString::fromStdString(rows[r].Name), colour);
                w.Text(x + first, y, Format("%.1f dBc", margin.WorstCaseDbc), colour);
                w.Text(x + first + col, y, Format("%+.1f dB", margin.MarginDb), colour);
                y += line;
            }
            // The sample's own attenuation against its loss at F0, never its absolute loss.
            if (measured && judgement.Judged && k < judgement.Points.size()) {
                const SamplePoint& point = judgement.Points[k];
                w.Text(x, y, QStringLiteral("Measured"), MeasuredColour());
                if (point.Measured) {
                    w.Text(x + first, y, Format("%.2f dBc", point.MeasuredDbc), MeasuredColour());
                    w.Text(x + first + col, y, Format("%+.2f dB", point.MarginDb), MeasuredColour());
                }
                w.Text(x + first + col * 2, y,
                       !point.Measured ? QStringLiteral("not measured")
                       : point.Pass    ? QStringLiteral("pass")
                                       : QStringLiteral("FAIL"),
                       MeasuredColour());
                y += line;
            }
        }
        // The measured file against the reference part's model, in dB of loss: measured less model.
        const MeasuredComparison& deviations = comparison_.MeasuredDeviations();
        if (measured && !deviations.Summary.empty()) {
            y += line / 2;
            w.Text(x, y,
                   QStringLiteral("Measured vs %1 (%2)")
                       .arg(QString::fromStdString(deviations.PartNumber),
                            referenceChosen_ ? QStringLiteral("chosen in the legend")
                                             : QStringLiteral("the first part")),
                   MeasuredColour());
            y += line;
            w.Text(x, y, QStringLiteral("Loss, dB"), kPageWhite);
            w.Text(x + first, y, QStringLiteral("Model"), kPageWhite);
            w.Text(x + first + col, y, QStringLiteral("Meas."), kPageWhite);
            w.Text(x + first + col * 2, y, QStringLiteral("Dev. dB"), kPageWhite);
            y += line;
            for (const DeviationEntry& entry : deviations.Summary) {
                if (!ListedInTable(entry)) continue;
                w.Text(x, y, DeviationLabel(entry), MeasuredColour());
                w.Text(x + first, y, Format("%.2f", entry.Model), MeasuredColour());
                w.Text(x + first + col, y, Format("%.2f", entry.Measured), MeasuredColour());
                w.Text(x + first + col * 2, y,
                       Format("%+.2f", std::round(entry.Deviation * 100.0) / 100.0 + 0.0), MeasuredColour());
                y += line;
            }
        }
        // The sample against the requirement itself, the verdict last.
        if (measured && (judgement.Judged || !judgement.NotJudged.empty())) {
            y += line / 2;
            w.Text(x, y, QStringLiteral("The sample against the requirement"), MeasuredColour());
            y += line;
            const std::vector<QString> lines =
                SampleLines(judgement, QFontMetrics(font), layout.Table.width());
            for (const QString& text : lines) {
                w.Text(x, y, text, kPageWhite);
                y += line;
            }
        }
    }
    page_.Present(canvas, clientSize, display.PaintCopyMode, 0, ratio);
}

}  // namespace veltrix
