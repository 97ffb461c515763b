#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "platform/action_collection.h"
#include "platform/menu_groups.h"
#include "printing/print_output.h"
#include "program/display_options.h"
#include "program/program.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace veltrix {

class AboutDialog;
class ConfigurationPage;
class DocumentMdiWindow;
class FilterCharacteristicsPage;
class IntroductionPage;
class FindPartsWindow;
class CompareWindow;
class FieldOffsetsDialog;
class NotesPage;
class LicensePage;
class AbortPrintDialog;
class ContactPage;
class QuoteRequestWindow;
class SpecificationWindow;
class TabularDataWindow;
class TolerancesDialog;

// Windows the frame opens from its Help, Sales and Configure menus. Each menu item stays hidden until
// its window is plugged in with SetFrameWindow.
enum class FrameWindow {
    ContactInformation,
    Notes,
    FilterCharacteristics,
    Introduction,
    LicenseInformation,
    About,
    ConfigurationInstructions,
    RequestForQuote
};

// The multiple-document frame: creates every window once, merges the active document window's
// menus into its menu bar and carries the window, sales, configure and help commands.
class MainFrame : public QMainWindow, public WindowHub {
    Q_OBJECT
  public:
    // The creation handler: engine start values, display defaults and the preferences file.
    explicit MainFrame(Program& program, QWidget* parent = nullptr);
    ~MainFrame() override;

    // Creates the program's windows after the frame, in their fixed order. Runs once.
    void CreateWindows();
    // Makes the start-up pages the preferences show and brings them over the frame, the licence
    // last. Separate windows, so the frame need not wait for them: called once it is shown. Runs once.
    void ShowStartupPages();
    // Shows the frame maximised. Where no window manager maximises it (a bare X server) it fills
    // the screen itself; its normal geometry stays the design rectangle either way.
    void ShowMaximisedAtStart();
    // The time a window manager is given to answer the maximise; running until then.
    QTimer& WindowManagerGrace() { return windowManagerGrace_; }

    // Plugs in a window reached through the frame's menus; the frame does not take ownership.
    void SetFrameWindow(FrameWindow which, QWidget* window);
    // The window when it has been made (or plugged in); null before its first use.
    QWidget* GetFrameWindow(FrameWindow which) const;

    DocumentMdiWindow* DocumentSubWindow(DocumentWindow which) const;
    QWidget* DocumentWidget(DocumentWindow which) const;

    // WindowHub
    void ExitProgram() override;
    void BringToFront(DocumentWindow window) override;
    void Invalidate(DocumentWindow window) override;
    void RepaintNow(DocumentWindow window) override;
    void PrintForm(PaintedForm& form, const QString& jobTitle) override;
    void ShowPrintException() override;
    void ShowChoice(const FilterSpec& choice) override;
    void CompareParts(const std::vector<FilterSpec>& parts, const FinderRequirement& requirement) override;
    void AddToComparison(const FilterSpec& part) override;
    void ExportDatasheet(const FilterSpec& part, const FinderRequirement* requirement = nullptr) override;

    QMdiArea* MdiArea() const { return mdiArea_; }

    // The frame's menus and commands under the names BuildMenus registers them by.
    const ActionCollection& Actions() const { return actions_; }

    TabularDataWindow* TabularData() const { return tabularData_; }
    QWidget* Outline() const { return outline_; }
    SpecificationWindow* Specification() const { return specification_; }
    FindPartsWindow* FindParts() const { return findParts_; }
    // Null until first used.
    CompareWindow* Comparison() const { return compare_; }

    // The windows that start hidden are made on first use, each as it would have been made at start.
    ContactPage* ContactInformation();
    NotesPage* Notes();
    FilterCharacteristicsPage* FilterCharacteristics();
    IntroductionPage* Introduction();
    LicensePage* LicenseInformation();
    AbortPrintDialog* AbortPrint();
    AboutDialog* About();
    FieldOffsetsDialog* FieldOffsets();
    ConfigurationPage* ConfigurationInstructions();
    QuoteRequestWindow* RequestForQuote();
    TolerancesDialog* Tolerances();

  signals:
    // The frame has closed: the program ends.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Watches the application's quit, which closes every window before the program ends.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Every invalidation the frame asks for passes here.
    virtual void InvalidateWidget(QWidget* widget);

  private:
    // Menu handlers.
    void onExit();
    void onTile();
    void onCascade();
    void onArrangeIcons();
    void onSalesMenuShown();
    void onRequestForQuote();
    void onContactInformation();
    void onVeltrixOnline();
    void onEmailSales();
    void onRepresentatives();
    void onFindParts();
    void onCompareParts();
    void onConfigureMenuShown();
    void onConfigurationInstructions();
    void onPreservePreferences();
    void onResetPreferences();
    void onFontMsSansSerif();
    void onFontArial();
    void onFontSmallArial();
    void onOffsets();
    void onHelpMenuShown();
    void onLicenseInformation();
    void onIntroduction();
    void onFilterCharacteristics();
    void onNotes();
    void onAbout();

    void BuildMenus();
    QList<GroupedMenu> FrameMenus() const;
    void RebuildMenuBar(QMdiSubWindow* activated);
    void UpdateFrameWindowItems();
    DocumentMdiWindow* AddDocumentWindow(QWidget* content, const QString& caption, const WindowRect& rect);
    void OpenLink(const QString& target, const QString& failureMessage);
    // The keyboard goes to the page on top of those still shown, else to the active document window.
    void FocusNextPage();
    void ShowFrameWindow(FrameWindow which);
    void FontCommand(FontChoice choice, QAction* item);
    void FillScreenUnlessMaximised();
    void ActivateDocumentWindow(DocumentMdiWindow* window);
    // The desktop's keys for document windows: next and previous, the system menu, maximise.
    void AddDocumentWindowKeys();
    void ActivateNeighbourDocumentWindow(bool next);
    void ShowActiveSystemMenu();
    void ToggleActiveMaximised();
    QWidget* MakeFrameWindow(FrameWindow which);
    // A window the frame has just made answers its menu item, unless a test plugged in another.
    template <typename Window>
    Window* Registered(FrameWindow which, Window* window) {
        if (frameWindows_.value(which) == nullptr) frameWindows_[which] = window;
        return window;
    }

    Program& program_;
    bool windowsCreated_ = false;
    bool startupPagesShown_ = false;
    QTimer windowManagerGrace_;
    QMap<DocumentWindow, QPointer<DocumentMdiWindow>> documents_;
    QMap<FrameWindow, QPointer<QWidget>> frameWindows_;
    QMap<FrameWindow, std::function<QWidget*()>> frameWindowMakers_;
    ContactPage* contactInformation_ = nullptr;
    NotesPage* notes_ = nullptr;
    FilterCharacteristicsPage* filterCharacteristics_ = nullptr;
    IntroductionPage* introduction_ = nullptr;
    LicensePage* licenseInformation_ = nullptr;
    AbortPrintDialog* abortPrint_ = nullptr;
    AboutDialog* about_ = nullptr;
    FieldOffsetsDialog* fieldOffsets_ = nullptr;
    ConfigurationPage* configurationInstructions_ = nullptr;
    QuoteRequestWindow* requestForQuote_ = nullptr;
    TolerancesDialog* tolerances_ = nullptr;
    QList<QMenu*> shownMenus_;
    // Each painted window keeps its own printer settings.
    std::map<PaintedForm*, std::unique_ptr<WindowPrinter>> printers_;

    ActionCollection actions_;
    // The menus and the document windows; the menus are reached from outside through actions_.
    QMdiArea* mdiArea_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* exitAction_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QAction* tileAction_ = nullptr;
    QAction* cascadeAction_ = nullptr;
    QAction* arrangeIconsAction_ = nullptr;
    QMenu* salesMenu_ = nullptr;
    QAction* requestForQuoteAction_ = nullptr;
    QAction* contactInformationAction_ = nullptr;
    QAction* veltrixOnlineAction_ = nullptr;
    QAction* emailSalesAction_ = nullptr;
    QAction* representativesAction_ = nullptr;
    QAction* findPartsAction_ = nullptr;
    QAction* comparePartsAction_ = nullptr;
    QMenu* configureMenu_ = nullptr;
    QAction* instructionsAction_ = nullptr;
    QAction* configureSeparator_ = nullptr;
    QMenu* preferencesMenu_ = nullptr;
    QAction* preserveAction_ = nullptr;
    QAction* resetAction_ = nullptr;
    QMenu* fontMenu_ = nullptr;
    QAction* msSansSerifAction_ = nullptr;
    QAction* arialAction_ = nullptr;
    QAction* smallArialAction_ = nullptr;
    QAction* offsetsAction_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* licenseInformationAction_ = nullptr;
    QAction* introductionAction_ = nullptr;
    QAction* filterCharacteristicsAction_ = nullptr;
    QAction* notesAction_ = nullptr;
    QAction* helpSeparator_ = nullptr;
    QAction* aboutAction_ = nullptr;
    TabularDataWindow* tabularData_ = nullptr;
    QWidget* outline_ = nullptr;
    SpecificationWindow* specification_ = nullptr;
    FindPartsWindow* findParts_ = nullptr;
    CompareWindow* compare_ = nullptr;
};

}  // namespace veltrix
