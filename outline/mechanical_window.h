#pragma once

#include <QList>
#include <QWidget>
#include <vector>

#include "outline/drawing_canvas.h"
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
class TMechanical : public QWidget, public PaintedForm, public MenuProvider {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 697;
    static constexpr int kClientHeight = 437;
    // The window shows the picture from this row down.
    static constexpr int kPictureTop = 50;
    // Deep enough for the tolerance line and the note at the drawing's foot.
    static constexpr int kPictureHeight = 470;

    explicit TMechanical(Program& program, QWidget* parent = nullptr);
    ~TMechanical() override;

    void FormPaint(QPainter& canvas, QSize clientSize) override;
    QWidget* FormWidget() override { return this; }
    const PaintedPage* FormPage() const override { return &page_; }
    QPoint FormPageOrigin() const override { return QPoint(0, -kPictureTop); }
    QSize FormDesignSize() const override { return QSize(kClientWidth, kClientHeight); }
    QList<GroupedMenu> GroupedMenus() override;

    // Texts the last paint drew on its picture, in drawing order.
    const std::vector<DrawnText>& DrawnTexts() const { return drawnTexts_; }
    const PaintedPage& Page() const { return page_; }
    // How often this window asked for its own repaint; tests read it to check each handler's rule.
    int RepaintRequests() const { return repaintRequests_; }

    void File1Click();
    void PrintMechClick();
    void ExportVectorsClick();
    void Exit2Click();
    void OrbisLeadless1Click();
    void SurfacemountTab1Click();
    void Dropin1Click();
    void SurfacemountPin1Click();
    void TesselLeadless1Click();
    void Inches1Click();
    void Millimeters1Click();
    void SelectionScreen1Click();
    void TabularData1Click();
    void MountBtnClick();
    void InchBtnClick();
    void mmBtnClick();
    void PCBBtnClick();
    void ReflBtnClick();
    void MechSelBtnClick();
    void MechRespBtnClick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Asks for this window's deferred repaint.
    virtual void RequestRepaint();

  private:
    void CreateControls();
    void CreateMenus();
    QAction* AddItem(QMenu* menu, const char* name, const QString& text, void (TMechanical::*handler)());

    void InvalidateSelf();
    void SetMounting(MountingStyle mounting);
    void SetUnits(DrawingUnits units);
    void OpenWebPage(const char* path);
    void BringToFront(DocumentWindow window);
    bool Minimised() const;
    void ColourLabels(bool printing);

    Program& program_;
    PaintedPage page_;
    std::vector<DrawnText> drawnTexts_;
    int repaintRequests_ = 0;

    LogoView* VXImage_ = nullptr;
    QLabel* SymLbl_ = nullptr;
    QLabel* VerLbl_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLabel* Label2_ = nullptr;
    QPushButton* MountBtn_ = nullptr;
    QPushButton* InchBtn_ = nullptr;
    QPushButton* mmBtn_ = nullptr;
    QPushButton* PCBBtn_ = nullptr;
    QPushButton* ReflBtn_ = nullptr;
    QPushButton* MechSelBtn_ = nullptr;
    QPushButton* MechRespBtn_ = nullptr;

    QMenu* File1_ = nullptr;
    QMenu* Mounting1_ = nullptr;
    QMenu* Units1_ = nullptr;
    QMenu* View1_ = nullptr;
    QAction* PrintMech_ = nullptr;
};

}  // namespace veltrix
