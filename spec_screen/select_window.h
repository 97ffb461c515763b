#pragma once

#include <QHash>
#include <QList>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "program/program.h"
#include "engine/rules.h"
#include "platform/menu_groups.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "platform/page_canvas.h"

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace veltrix {

class LogoView;
class TTolWin;

// "Specify Filter": where the engineer states the filter. Input handlers only normalise, store into
// the program's FilterSpec and ask for the judgement and a repaint; the paint draws the last
// judgement.
class TSelect : public QWidget, public PaintedForm, public MenuProvider {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 625;
    static constexpr int kClientHeight = 406;
    // The painted page is seen this many pixels to the right of its own coordinates.
    static constexpr int kPageShift = 5;

    explicit TSelect(Program& program, QWidget* parent = nullptr);
    ~TSelect() override;

    // The Tolerances dialog, made by the frame when first asked for.
    void SetTolerancesDialog(std::function<TTolWin*()> dialog) { tolWin_ = std::move(dialog); }

    // Places the result fields from the display offsets. Run whenever the offsets change, before
    // the repaint: a field moved while its window paints would show only where it overlaps its old
    // place. True when a field moved.
    bool PlaceResultLabels();

    void FormPaint(QPainter& canvas, QSize clientSize) override;
    QWidget* FormWidget() override { return this; }
    const PaintedPage* FormPage() const override { return &page_; }
    QPoint FormPageOrigin() const override { return QPoint(kPageShift, 0); }
    QSize FormDesignSize() const override { return QSize(kClientWidth, kClientHeight); }
    QList<GroupedMenu> GroupedMenus() override;

    // Texts the last paint drew on its page, in drawing order.
    const std::vector<DrawnText>& DrawnTexts() const { return drawnTexts_; }
    const PaintedPage& Page() const { return page_; }
    // How often this window asked for its own repaint; tests read it to check each handler's rule.
    int RepaintRequests() const { return repaintRequests_; }

    // A part chosen elsewhere (the finder): its inputs are stored and shown as if typed.
    void ShowChoice(const FilterSpec& choice);

    // Entry fields.
    void F0EditClick();
    void F0EditEnter();
    void F0EditExit();
    void BWEditClick();
    void BWEditEnter();
    void BWEditExit();
    void F1EditClick();
    void F1EditExit();
    void F2EditClick();
    void F2EditExit();
    // Key-press handlers: a key set to null is discarded.
    void F0EditKeyPress(QChar& key);
    void BWEditKeyPress(QChar& key);
    void F1EditKeyPress(QChar& key);
    void F2EditKeyPress(QChar& key);
    void NCBoxKeyPress(QChar& key);
    void PBDCBoxKeyPress(QChar& key);
    void RPBoxKeyPress(QChar& key);
    void DBoxKeyPress(QChar& key);

    // Lists (the user's choice only).
    void NCBoxChange();
    void PBDCBoxChange();
    void RPBoxChange();
    void DBoxChange();
    void comboGraphWidthChange();

    // Menus and buttons.
    void File1Click();
    void Print1Click();
    void ExportVectors1Click();
    void Exit1Click();
    void Frequency1Click();
    void Bandwidth1Click();
    void F11Click();
    void F21Click();
    void N05dB1Click();
    void N10dB1Click();
    void N30dB1Click();
    void N21Click();
    void N31Click();
    void N41Click();
    void N51Click();
    void N61Click();
    void N22Click();
    void N32Click();
    void N42Click();
    void DL221Click();
    void DR381Click();
    void DH901Click();
    void N1bandwidth1Click();
    void N2bandwidths1Click();
    void N3bandwidths1Click();
    void N4bandwidths1Click();
    void N5bandwidths1Click();
    void N6bandwidths1Click();
    void OrbisLeadless1Click();
    void TesselLeadless1Click();
    void SurfacemountTab1Click();
    void SurfacemountPin1Click();
    void Dropin1Click();
    void OutlineDrawings1Click();
    void TabularData1Click();
    void SelMechBtnClick();
    void SelRespBtnClick();
    void TolBtnClick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Asks for this window's deferred repaint.
    virtual void RequestRepaint();

  private:
    using KeyHandler = void (TSelect::*)(QChar&);

    void FormCreate();
    void CreateControls();
    void CreateMenus();
    QAction* AddItem(QMenu* menu, const char* name, const QString& text, void (TSelect::*handler)());

    void InvalidateBoth();
    void InvalidateSelf();
    void BringToFront(DocumentWindow window);
    // The shared part of every key-press handler; the edit fields also refuse non-numeric keys.
    void KeyPress(QWidget* field, QChar& key, bool editField);
    QWidget* NextInEnterChain(QWidget* field) const;
    bool Minimised() const;

    void SetPassband(PassbandChoice choice);
    void SetSections(int32_t sections);
    void SetProfile(ResonatorProfile profile);
    void SetDielectric(DielectricMaterial dielectric);
    void SetGraphWidth(int bandwidths);
    void SetMounting(MountingStyle mounting);

    void ColourComponents(bool printing);
    void ShowEntryTexts(FocusTarget focus);
    // Shows a new judgement in the components: entry texts, focus, result labels, the graph's list.
    void ShowJudgement();

    Program& program_;
    std::function<TTolWin*()> tolWin_;
    PaintedPage page_;
    std::vector<DrawnText> drawnTexts_;
    int repaintRequests_ = 0;

    QLineEdit* F0Edit_ = nullptr;
    QComboBox* NCBox_ = nullptr;
    QLineEdit* BWEdit_ = nullptr;
    QComboBox* PBDCBox_ = nullptr;
    QComboBox* RPBox_ = nullptr;
    QComboBox* DBox_ = nullptr;
    QLineEdit* F1Edit_ = nullptr;
    QLineEdit* F2Edit_ = nullptr;
    QComboBox* comboGraphWidth_ = nullptr;
    QPushButton* SelMechBtn_ = nullptr;
    QPushButton* SelRespBtn_ = nullptr;
    QPushButton* TolBtn_ = nullptr;
    QLabel* IL0Label_ = nullptr;
    QLabel* IL1Label_ = nullptr;
    QLabel* IL2Label_ = nullptr;
    LogoView* VXImage_ = nullptr;
    QLabel* Caption_ = nullptr;
    QLabel* Caption2_ = nullptr;
    QLabel* VerLbl_ = nullptr;
    QLabel* SymLbl_ = nullptr;

    QHash<QObject*, KeyHandler> keyHandlers_;

    QMenu* File1_ = nullptr;
    QMenu* Passband1_ = nullptr;
    QMenu* Stopband1_ = nullptr;
    QMenu* Graph1_ = nullptr;
    QMenu* Mounting1_ = nullptr;
    QMenu* View1_ = nullptr;
    QAction* Print1_ = nullptr;
    // Names the painted graph for screen readers; it draws nothing and takes no input.
    QWidget* graphArea_ = nullptr;
};

}  // namespace veltrix
