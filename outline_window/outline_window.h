#pragma once

#include <QList>
#include <QWidget>
#include <vector>

#include "outline_window/drawing_canvas.h"
#include "platform/action_collection.h"
#include "platform/artwork.h"
#include "platform/menu_groups.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "program/program.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace veltrix {

// "Outline Drawings": the dimensioned outline of the selected part for its mounting, in inches or
// millimetres. It keeps no selection state: handlers store into the program's FilterSpec and ask for
// repaints, and every paint rebuilds the whole picture from it.
class OutlineWindow : public QWidget, public PaintedForm, public MenuProvider {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 697;
    static constexpr int kClientHeight = 437;
    // The window shows the picture from this row down.
    static constexpr int kPictureTop = 50;
    // Deep enough for the tolerance line and the note at the drawing's foot.
    static constexpr int kPictureHeight = 470;

    explicit OutlineWindow(Program& program, QWidget* parent = nullptr);
    ~OutlineWindow() override;

    void FormPaint(QPainter& canvas, QSize clientSize) override;
    QWidget* FormWidget() override { return this; }
    const PaintedPage* FormPage() const override { return &page_; }
    QPoint FormPageOrigin() const override { return QPoint(0, -kPictureTop); }
    QSize FormDesignSize() const override { return QSize(kClientWidth, kClientHeight); }
    void ShowCopyColours(bool printing) override { ColourLabels(printing); }
    QList<GroupedMenu> GroupedMenus() override;
    // The window's menus and commands under the names CreateMenus registers them by.
    const ActionCollection& Actions() const { return actions_; }

    // Texts the last paint drew on its picture, in drawing order.
    const std::vector<DrawnText>& DrawnTexts() const { return drawnTexts_; }
    const PaintedPage& Page() const { return page_; }
    // How often this window asked for its own repaint; tests read it to check each handler's rule.
    int RepaintRequests() const { return repaintRequests_; }

    void onFileMenuShown();
    void onPrint();
    void onExportVectors();
    void onExit();
    void onMountingOrbisLeadless();
    void onMountingSurfaceTab();
    void onMountingDropIn();
    void onMountingSurfacePin();
    void onMountingTesselLeadless();
    void onInches();
    void onMillimeters();
    void onSelectionScreen();
    void onTabularData();
    void onMountingInstructions();
    void onInchesButton();
    void onMillimetersButton();
    void onPcbLayout();
    void onReflowProfile();
    void onSelectionScreenButton();
    void onTabularDataButton();

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Asks for this window's deferred repaint.
    virtual void RequestRepaint();

  private:
    void CreateControls();
    void CreateMenus();
    QAction* AddItem(QMenu* menu, const char* name, const QString& text, void (OutlineWindow::*handler)());

    void InvalidateSelf();
    void SetMounting(MountingStyle mounting);
    void SetUnits(DrawingUnits units);
    void OpenWebPage(const char* path);
    void BringToFront(DocumentWindow window);
    bool Minimised() const;
    void ColourLabels(bool printing);
    // The latest judgement as this window draws it.
    FilterSpec ShownSpecification() const;
    void DescribeDrawing();

    Program& program_;
    PaintedPage page_;
    std::vector<DrawnText> drawnTexts_;
    int repaintRequests_ = 0;

    LogoView* logo_ = nullptr;
    QLabel* registeredLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* partLabel_ = nullptr;
    QLabel* partNumberLabel_ = nullptr;
    QPushButton* mountingInstructionsButton_ = nullptr;
    QPushButton* inchesButton_ = nullptr;
    QPushButton* millimetersButton_ = nullptr;
    QPushButton* pcbLayoutButton_ = nullptr;
    QPushButton* reflowProfileButton_ = nullptr;
    QPushButton* selectionScreenButton_ = nullptr;
    QPushButton* tabularDataButton_ = nullptr;

    ActionCollection actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* mountingMenu_ = nullptr;
    QMenu* unitsMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QAction* printAction_ = nullptr;
};

}  // namespace veltrix
