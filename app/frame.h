#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "program/display_options.h"
#include "program/program.h"
#include "platform/menu_groups.h"
#include "printing/print_output.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace veltrix {

class TAboutBox;
class TCfgWin;
class TDocumentWindow;
class TInfoWin;
class TIntroWin;
class TFindParts;
class TMoveDlg;
class TNoteWin;
class TOwnWin;
class TPXDlg;
class TReachWin;
class TRFQWin;
class TSelect;
class TTabular;
class TTolWin;

// Windows the frame opens from its Help, Sales and Configure menus. Each menu item stays hidden until
// its window is plugged in with SetFrameWindow.
enum class FrameWindow { ReachWin, NoteWin, InfoWin, IntroWin, OwnWin, AboutBox, CfgWin, RFQWin };

// The multiple-document frame: creates every window once, merges the active document window's
// menus into its menu bar and carries the window, sales, configure and help commands.
class TVXFrame : public QMainWindow, public WindowHub {
    Q_OBJECT
public:
    // The creation handler: engine start values, display defaults and the preferences file.
    explicit TVXFrame(Program& program, QWidget* parent = nullptr);
    ~TVXFrame() override;

    // Creates the program's windows after the frame, in their fixed order. Runs once.
    void CreateWindows();
    // Shows the frame maximised. Where no window manager maximises it (a bare X server) it fills
    // the screen itself; its normal geometry stays the design rectangle either way.
    void ShowMaximisedAtStart();
    // The time a window manager is given to answer the maximise; running until then.
    QTimer& WindowManagerGrace() { return windowManagerGrace_; }

    // Plugs in a window reached through the frame's menus; the frame does not take ownership.
    void SetFrameWindow(FrameWindow which, QWidget* window);
    // The window when it has been made (or plugged in); null before its first use.
    QWidget* GetFrameWindow(FrameWindow which) const;

    TDocumentWindow* DocumentSubWindow(DocumentWindow which) const;
    QWidget* DocumentWidget(DocumentWindow which) const;

    // WindowHub
    void ExitProgram() override;
    void BringToFront(DocumentWindow window) override;
    void Invalidate(DocumentWindow window) override;
    void RepaintNow(DocumentWindow window) override;
    void PrintForm(PaintedForm& form, const QString& jobTitle) override;
    void ShowPrintException() override;
    void ShowChoice(const FilterSpec& choice) override;

    // Menu handlers.
    void Exit1Click();
    void Tile1Click();
    void Cascade1Click();
    void ArrangeIcons1Click();
    void Order1Click();
    void RequestforQuote1Click();
    void ContactInformation1Click();
    void VeltrixOnline1Click();
    void EmailVeltrixSales1Click();
    void Representatives1Click();
    void FindParts1Click();
    void Configure1Click();
    void Instructions1Click();
    void Preserve1Click();
    void Reset1Click();
    void MSSansSerif1Click();
    void Arial1Click();
    void SmallArial1Click();
    void Offsets1Click();
    void Help1Click();
    void LicenseInformation1Click();
    void Introduction1Click();
    void FilterCharacteristics1Click();
    void Notes1Click();
    void About1Click();

    QMdiArea* MdiArea = nullptr;

    QMenu* File1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Window1 = nullptr;
    QAction* Tile1 = nullptr;
    QAction* Cascade1 = nullptr;
    QAction* ArrangeIcons1 = nullptr;
    QMenu* Order1 = nullptr;
    QAction* RequestforQuote1 = nullptr;
    QAction* ContactInformation1 = nullptr;
    QAction* VeltrixOnline1 = nullptr;
    QAction* EmailVeltrixSales1 = nullptr;
    QAction* Representatives1 = nullptr;
    QAction* FindParts1 = nullptr;
    QMenu* Configure1 = nullptr;
    QAction* Instructions1 = nullptr;
    QAction* N4 = nullptr;
    QMenu* Settings1 = nullptr;
    QAction* Preserve1 = nullptr;
    QAction* Reset1 = nullptr;
    QMenu* FontMenu = nullptr;
    QAction* MSSansSerif1 = nullptr;
    QAction* Arial1 = nullptr;
    QAction* SmallArial1 = nullptr;
    QAction* Offsets1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* LicenseInformation1 = nullptr;
    QAction* Introduction1 = nullptr;
    QAction* FilterCharacteristics1 = nullptr;
    QAction* Notes1 = nullptr;
    QAction* N1 = nullptr;
    QAction* About1 = nullptr;

    TTabular* Tabular = nullptr;
    QWidget* Mechanical = nullptr;
    TSelect* Select = nullptr;
    TFindParts* FindParts = nullptr;

    // The windows that start hidden are made on first use, each as it would have been made at start.
    TReachWin* ReachWin();
    TNoteWin* NoteWin();
    TInfoWin* InfoWin();
    TIntroWin* IntroWin();
    TOwnWin* OwnWin();
    TPXDlg* PXDlg();
    TAboutBox* AboutBox();
    TMoveDlg* MoveDlg();
    TCfgWin* CfgWin();
    TRFQWin* RFQWin();
    TTolWin* TolWin();

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
    void BuildMenus();
    QList<GroupedMenu> FrameMenus() const;
    void RebuildMenuBar(QMdiSubWindow* activated);
    void UpdateFrameWindowItems();
    TDocumentWindow* AddDocumentWindow(QWidget* content, const QString& caption, const WindowRect& rect);
    void OpenLink(const QString& target, const QString& failureMessage);
    void ShowFrameWindow(FrameWindow which);
    void FontCommand(FontChoice choice, QAction* item);
    void FillScreenUnlessMaximised();
    void ActivateDocumentWindow(TDocumentWindow* window);
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
    QTimer windowManagerGrace_;
    QMap<DocumentWindow, QPointer<TDocumentWindow>> documents_;
    QMap<FrameWindow, QPointer<QWidget>> frameWindows_;
    QMap<FrameWindow, std::function<QWidget*()>> frameWindowMakers_;
    TReachWin* reachWin_ = nullptr;
    TNoteWin* noteWin_ = nullptr;
    TInfoWin* infoWin_ = nullptr;
    TIntroWin* introWin_ = nullptr;
    TOwnWin* ownWin_ = nullptr;
    TPXDlg* pxDlg_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TMoveDlg* moveDlg_ = nullptr;
    TCfgWin* cfgWin_ = nullptr;
    TRFQWin* rfqWin_ = nullptr;
    TTolWin* tolWin_ = nullptr;
    QList<QMenu*> shownMenus_;
    // Each painted window keeps its own printer settings.
    std::map<PaintedForm*, std::unique_ptr<WindowPrinter>> printers_;
};

}  // namespace veltrix
