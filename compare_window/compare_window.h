#pragma once

#include <QList>
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compare/compare.h"
#include "compare/comparison_file.h"
#include "compare_window/compare_page.h"
#include "platform/action_collection.h"
#include "platform/menu_groups.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "program/program.h"

class QAction;
class QMenu;
class QThread;

namespace veltrix {

struct MeasuredReadJob;
struct MeasuredRead;

// "Compare Parts": up to six parts on one graph (attenuation, return loss and delay), the required
// points as limits, and a marker whose figures a table beside the graph lists. Everything on it is
// painted, so a printout or an export carries it whole as vectors and text.
class CompareWindow : public QWidget, public PaintedForm, public MenuProvider {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 900;
    static constexpr int kClientHeight = 600;

    explicit CompareWindow(Program& program, QWidget* parent = nullptr);
    ~CompareWindow() override;

    // A file at least this large is read off the window's thread, with progress and Cancel.
    static constexpr qint64 kReadAsideBytes = 4 * 1024 * 1024;

    // "" when added, else the reason it was not; the window shows no message itself.
    std::string AddPart(const FilterSpec& spec);
    void SetLimits(const std::vector<StopbandRequirement>& limits);
    // The requirement the window was opened with: its points as limits, shown, judged and handed to
    // Export Datasheet.
    void SetRequirement(const FinderRequirement& requirement);
    const Comparison& Parts() const { return comparison_; }
    // The legend's chosen row, or -1: a part, or after the parts the measured file.
    int SelectedPart() const { return selected_; }
    void SelectPart(int index);
    bool MeasuredSelected() const;
    CompareView View() const { return view_; }
    // The measured file's path as it was opened, or "" without one.
    const QString& MeasuredPath() const { return measuredPath_; }

    void FormPaint(QPainter& canvas, QSize clientSize) override;
    QWidget* FormWidget() override { return this; }
    const PaintedPage* FormPage() const override { return &page_; }
    // Taller than the design when the legend and the table need it, so nothing is cut off.
    QSize FormDesignSize() const override {
        return QSize(kClientWidth, std::max(kClientHeight, ContentHeight()));
    }
    CompareLayout CurrentLayout() const { return LayoutFor(size(), FontPixels()); }
    // The height the legend and the whole marker table need at the window's font.
    int ContentHeight() const;
    QList<GroupedMenu> GroupedMenus() override;
    const ActionCollection& Actions() const { return actions_; }

    // The texts the last paint drew, in drawing order.
    const std::vector<DrawnText>& DrawnTexts() const { return drawnTexts_; }

    void onFileMenuShown();
    void onPrint();
    void onExportVectors();
    void onExportDatasheet();
    void onAddMeasured();
    void onRemovePart();
    void onZoomIn();
    void onZoomOut();
    void onGraphWidth(int bandwidths);
    void onGoToFrequency();
    void onView(CompareView view);
    void onCopy();
    void onExportCurves();
    void onSaveComparison();
    void onOpenComparison();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void CreateMenus();
    void CreateFileMenu();
    void CreateGraphMenu();
    void Changed();
    void LoadMeasured(const QString& path);
    void ReadMeasuredAside(const QString& path);
    void ShowMeasured(const QString& path, MeasuredRead read);
    void Report(const QString& text, const QString& caption);
    // A file the user named, through the program's one writer; a failure is reported.
    void SaveText(const QString& caption, const QString& proposedName, const QString& filters,
                  const std::string& text);
    // The comparison a saved file holds, or the reason it cannot be had.
    std::optional<Comparison> Opened(const SavedComparison& saved, QString* problem) const;
    int LegendRows() const;
    int FontPixels() const;

    Program& program_;
    Comparison comparison_;
    QString measuredPath_;
    CompareView view_ = CompareView::Dbc;
    int selected_ = -1;
    bool referenceChosen_ = false;  // the measured file's reference part was chosen in the legend
    PaintedPage page_;
    std::vector<DrawnText> drawnTexts_;
    ActionCollection actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* graphMenu_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* curvesAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* datasheetAction_ = nullptr;
    std::shared_ptr<MeasuredReadJob> reading_;  // the file being read aside, if any
    QThread* readingThread_ = nullptr;
};

}  // namespace veltrix
