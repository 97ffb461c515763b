#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
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

    // Plugs in a window reached through the frame's menus; the frame does not take ownership.
    void SetFrameWindow(FrameWindow which, QWidget* window);
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
    TReachWin* ReachWin = nullptr;
    TNoteWin* NoteWin = nullptr;
    TInfoWin* InfoWin = nullptr;
    TIntroWin* IntroWin = nullptr;
    TOwnWin* OwnWin = nullptr;
    TFindParts* FindParts = nullptr;
    TPXDlg* PXDlg = nullptr;
    TAboutBox* AboutBox = nullptr;
    TMoveDlg* MoveDlg = nullptr;
    TCfgWin* CfgWin = nullptr;
    TRFQWin* RFQWin = nullptr;
    TTolWin* TolWin = nullptr;

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
    void ActivateDocumentWindow(TDocumentWindow* window);

    Program& program_;
    bool windowsCreated_ = false;
    QMap<DocumentWindow, QPointer<TDocumentWindow>> documents_;
    QMap<FrameWindow, QPointer<QWidget>> frameWindows_;
    QList<QMenu*> shownMenus_;
    // Each painted window keeps its own printer settings.
    std::map<PaintedForm*, std::unique_ptr<WindowPrinter>> printers_;
};

}  // namespace veltrix
