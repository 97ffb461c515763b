#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "exports/exports.h"
#include "files/user_file.h"
#include "platform/action_collection.h"
#include "platform/menu_groups.h"
#include "printing/print_output.h"
#include "printing/report_printout.h"

class QAction;
class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace veltrix {

struct Program;

// What the print dialog proposes to call the report's file.
inline constexpr const char* kReportFileTitle = "Veltrix Response Data";

// "Tabular Data": the computed response of the current selection as text, rebuilt whenever the
// window is activated and after each judgement of the selection.
class TabularDataWindow : public QWidget, public MenuProvider {
    Q_OBJECT
  public:
    explicit TabularDataWindow(Program& program, QWidget* parent = nullptr);
    ~TabularDataWindow() override;

    QList<GroupedMenu> GroupedMenus() override;

    // Rebuilds the report; the memo is touched only when its lines changed.
    void ShowReport();
    // The memo's lines as they stand.
    QStringList MemoLines() const;

    // "&Print" of the File menu: the print dialog, then the report on the window's own printer.
    // True when printed; a failed job shows "Abort Print" and leaves the window a fresh printer.
    bool onPrint();
    // Made on first use: the first printer of a run loads the platform's print support, which is
    // most of what this window would otherwise cost at start-up.
    WindowPrinter& ReportPrinter();

    QPlainTextEdit* Report() const { return report_; }
    QPushButton* SelectionScreenButton() const { return selectionScreenButton_; }
    QPushButton* OutlineDrawingsButton() const { return outlineDrawingsButton_; }

    // The window's menus and commands under the names its constructor registers them by.
    const ActionCollection& Actions() const { return actions_; }

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Asks for the range and points, then for the file (named after the part), and writes it; a
    // refused selection or a failure is shown with its reason.
    bool ExportResponse(const QString& caption, ExportFormat format, const QString& extension,
                        const QString& filter);
    void onFileMenuShown();
    bool IsMinimised() const;
    void WatchSubWindow();

    Program& program_;
    std::unique_ptr<WindowPrinter> printer_;
    std::vector<std::string> lines_;
    bool built_ = false;
    QPointer<QMdiSubWindow> subWindow_;
    QPlainTextEdit* report_ = nullptr;
    QPushButton* selectionScreenButton_ = nullptr;
    QPushButton* outlineDrawingsButton_ = nullptr;
    ActionCollection actions_;
    QMenu* fileMenu_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* exportTouchstoneAction_ = nullptr;
    QAction* exportCsvAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QAction* selectionScreenAction_ = nullptr;
    QAction* outlineDrawingsAction_ = nullptr;
};

}  // namespace veltrix
