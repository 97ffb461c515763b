#pragma once

#include <QHash>
#include <QList>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "engine/rules.h"
#include "platform/action_collection.h"
#include "platform/menu_groups.h"
#include "platform/page_canvas.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "program/program.h"

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace veltrix {

class LogoView;
class TolerancesDialog;

// "Specify Filter": where the engineer states the filter. Input handlers only normalise, store into
// the program's FilterSpec and ask for the judgement and a repaint; the paint draws the last
// judgement.
class SpecificationWindow : public QWidget, public PaintedForm, public MenuProvider {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 625;
    static constexpr int kClientHeight = 406;
    // The painted page is seen this many pixels to the right of its own coordinates.
    static constexpr int kPageShift = 5;

    explicit SpecificationWindow(Program& program, QWidget* parent = nullptr);
    ~SpecificationWindow() override;

    // The Tolerances dialog, made by the frame when first asked for.
    void SetTolerancesDialog(std::function<TolerancesDialog*()> dialog) { tolerances_ = std::move(dialog); }

    // Places the result fields from the display offsets. Run whenever the offsets change, before
    // the repaint: a field moved while its window paints would show only where it overlaps its old
    // place. True when a field moved.
    bool PlaceResultLabels();
    // The result fields take the display's small font; run when the font choice changes.
    void FollowDisplayFont();
    void ShowCopyColours(bool printing) override { ColourComponents(printing); }

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
    // The mounting as its menu items set it; the withdrawn mountings have no item and are set only so.
    void SetMounting(MountingStyle mounting);

    // The window's menus and commands under the names CreateMenus registers them by.
    const ActionCollection& Actions() const { return actions_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Asks for this window's deferred repaint.
    virtual void RequestRepaint();

  private:
    // The judged part when it is standard; otherwise the refusal is shown and null returned.
    const FilterSpec* StandardPartOnScreen(const QString& refusal);
    using KeyHandler = void (SpecificationWindow::*)(QChar&);

    // Entry fields.
    void onCentreFrequencyClick();
    void onCentreFrequencyEnter();
    void onCentreFrequencyExit();
    void onBandwidthClick();
    void onBandwidthEnter();
    void onBandwidthExit();
    void onStopbandF1Click();
    void onStopbandF1Exit();
    void onStopbandF2Click();
    void onStopbandF2Exit();
    // Key-press handlers: a key set to null is discarded.
    void onCentreFrequencyKey(QChar& key);
    void onBandwidthKey(QChar& key);
    void onStopbandF1Key(QChar& key);
    void onStopbandF2Key(QChar& key);
    void onSectionsKey(QChar& key);
    void onPassbandDefinitionKey(QChar& key);
    void onProfileKey(QChar& key);
    void onDielectricKey(QChar& key);

    // Lists (the user's choice only).
    void onSectionsChange();
    void onPassbandDefinitionChange();
    void onProfileChange();
    void onDielectricChange();
    void onGraphWidthChange();

    // Menus and buttons.
    void onFileMenuShown();
    void onPrint();
    void onExportVectors();
    void onAddToComparison();
    void onExportDatasheet();
    void onExit();
    void onPassbandFrequency();
    void onPassbandBandwidth();
    void onStopbandF1();
    void onStopbandF2();
    void onPassbandDefinition05dB();
    void onPassbandDefinition10dB();
    void onPassbandDefinition30dB();
    void onTwoSections();
    void onThreeSections();
    void onFourSections();
    void onFiveSections();
    void onSixSections();
    void onProfile4mm();
    void onProfile6mm();
    void onProfile12mm();
    void onDielectricDL();
    void onDielectricDR();
    void onDielectricDH();
    void onGraphWidth1();
    void onGraphWidth2();
    void onGraphWidth3();
    void onGraphWidth4();
    void onGraphWidth5();
    void onGraphWidth6();
    void onMountingOrbisLeadless();
    void onMountingTesselLeadless();
    void onMountingSurfaceTab();
    void onMountingSurfacePin();
    void onMountingDropIn();
    void onOutlineDrawings();
    void onTabularData();
    void onOutlineDrawingButton();
    void onTabularDataButton();
    void onTolerances();

    // The lists show the start inputs.
    void SetStartValues();
    // The lists show the record's choices.
    void ShowChoicesInLists();
    void CreateControls();
    void CreateMenus();
    QAction* AddItem(QMenu* menu, const char* name, const QString& text,
                     void (SpecificationWindow::*handler)());

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

    void ColourComponents(bool printing);
    void ShowEntryTexts(FocusTarget focus);
    // Shows a new judgement in the components: entry texts, focus, result labels, the graph's list.
    void ShowJudgement();

    Program& program_;
    std::function<TolerancesDialog*()> tolerances_;
    PaintedPage page_;
    std::vector<DrawnText> drawnTexts_;
    int repaintRequests_ = 0;

    QLineEdit* centreFrequencyEdit_ = nullptr;
    QComboBox* sectionsBox_ = nullptr;
    QLineEdit* bandwidthEdit_ = nullptr;
    QComboBox* passbandDefinitionBox_ = nullptr;
    QComboBox* profileBox_ = nullptr;
    QComboBox* dielectricBox_ = nullptr;
    QLineEdit* stopbandF1Edit_ = nullptr;
    QLineEdit* stopbandF2Edit_ = nullptr;
    QComboBox* graphWidthBox_ = nullptr;
    QPushButton* outlineDrawingButton_ = nullptr;
    QPushButton* tabularDataButton_ = nullptr;
    QPushButton* tolerancesButton_ = nullptr;
    QLabel* insertionLossLabel_ = nullptr;
    QLabel* stopbandF1Label_ = nullptr;
    QLabel* stopbandF2Label_ = nullptr;
    LogoView* logo_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* caption2_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* registeredLabel_ = nullptr;

    QHash<QObject*, KeyHandler> keyHandlers_;

    ActionCollection actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* passbandMenu_ = nullptr;
    QMenu* stopbandMenu_ = nullptr;
    QMenu* graphMenu_ = nullptr;
    QMenu* mountingMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* addToComparisonAction_ = nullptr;
    QAction* exportDatasheetAction_ = nullptr;
    // Names the painted graph for screen readers; it draws nothing and takes no input.
    QWidget* graphArea_ = nullptr;
};

}  // namespace veltrix
