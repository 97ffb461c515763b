#include "app/frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QIcon>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QPrinter>

#include "program/contact_data.h"
#include "app/document_window.h"
#include "app/move_dialog.h"
#include "app/window_arrangement.h"
#include "engine/response.h"
#include "info/about_box.h"
#include "info/info_windows.h"
#include "info/rfq.h"
#include "info/startup_rule.h"
#include "outline/mechanical_window.h"
#include "finder_window/finder_window.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "platform/services.h"
#include "printing/print_command.h"
#include "printing/print_dialogs.h"
#include "spec_screen/select_window.h"
#include "spec_screen/tolerances_dialog.h"
#include "tabular/tabular_window.h"
#include "version/version.h"

namespace veltrix {

TVXFrame::TVXFrame(Program& program, QWidget* parent) : QMainWindow(parent), program_(program) {
    setObjectName(QStringLiteral("VXFrame"));
    setWindowTitle(QStringLiteral("Veltrix " VELTRIX_VERSION));
    setWindowIcon(WindowIcon());
    setFont(PointFont(QStringLiteral("MS Sans Serif"), 8));
    qApp->installEventFilter(this);
    // The design rectangle; it shows only when the maximised frame is restored.
    move(189, 101);
    resize(571, 387);

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(MdiArea);
    BuildMenus();
    connect(MdiArea, &QMdiArea::subWindowActivated, this, &TVXFrame::RebuildMenuBar);
    AddDocumentWindowKeys();

    // FormCreate, in its order.
    SetMachineEpsilon(ComputeMachineEpsilon());
    program_.Spec = FilterSpec{};
    program_.Spec.Profile = ProfileNumber(ResonatorProfile::Mm6);
    program_.Spec.Units = CodeOf(DrawingUnits::Inches);
    program_.Spec.SelStatus = kSelectionValid;
    program_.Display = DisplaySettings{};
    program_.Prefs = ReadPreferences(program_.PreferencesPath);
    program_.Spec.Units = program_.Prefs.PrefUnits;
    Preserve1->setChecked(false);
    Reset1->setChecked(false);

    program_.Hub = this;
    RebuildMenuBar(nullptr);
}

TVXFrame::~TVXFrame() {
    // The windows go first, while they can still reach the frame through the hub. The area stops
    // reporting activations before it is torn down.
    QMdiArea* area = MdiArea;
    disconnect(area, nullptr, this, nullptr);
    MdiArea = nullptr;
    delete area;
    delete tolWin_;
    delete rfqWin_;
    delete cfgWin_;
    delete moveDlg_;
    delete aboutBox_;
    delete pxDlg_;
    delete ownWin_;
    delete introWin_;
    delete infoWin_;
    delete noteWin_;
    delete reachWin_;
    if (program_.Hub == this) program_.Hub = nullptr;
}

void TVXFrame::BuildMenus() {
    const auto item = [this](QMenu* menu, const QString& caption, const char* name,
                             void (TVXFrame::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    const auto menu = [this](const QString& caption, const char* name) {
        auto* m = new QMenu(caption, this);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    File1 = menu(QStringLiteral("&File"), "File1");
    Exit1 = item(File1, QStringLiteral("E&xit"), "Exit1", &TVXFrame::Exit1Click);

    Window1 = menu(QStringLiteral("&Window"), "Window1");
    Tile1 = item(Window1, QStringLiteral("&Tile"), "Tile1", &TVXFrame::Tile1Click);
    Cascade1 = item(Window1, QStringLiteral("&Cascade"), "Cascade1", &TVXFrame::Cascade1Click);
    ArrangeIcons1 =
        item(Window1, QStringLiteral("&Arrange Icons"), "ArrangeIcons1", &TVXFrame::ArrangeIcons1Click);

    Order1 = menu(QStringLiteral("&Sales"), "Order1");
    connect(Order1, &QMenu::aboutToShow, this, &TVXFrame::Order1Click);
    RequestforQuote1 = item(Order1, QStringLiteral("Request For &Quote"), "RequestforQuote1",
                            &TVXFrame::RequestforQuote1Click);
    ContactInformation1 = item(Order1, QStringLiteral("&Contact Information"), "ContactInformation1",
                               &TVXFrame::ContactInformation1Click);
    VeltrixOnline1 =
        item(Order1, QStringLiteral("Veltrix &Online"), "VeltrixOnline1", &TVXFrame::VeltrixOnline1Click);
    EmailVeltrixSales1 = item(Order1, QStringLiteral("&E-mail Veltrix Sales"), "EmailVeltrixSales1",
                              &TVXFrame::EmailVeltrixSales1Click);
    Representatives1 = item(Order1, QStringLiteral("&Representatives"), "Representatives1",
                            &TVXFrame::Representatives1Click);
    FindParts1 = item(Order1, QStringLiteral("Find &Parts..."), "FindParts1", &TVXFrame::FindParts1Click);

    Configure1 = menu(QStringLiteral("&Configure"), "Configure1");
    connect(Configure1, &QMenu::aboutToShow, this, &TVXFrame::Configure1Click);
    Instructions1 =
        item(Configure1, QStringLiteral("&Instructions"), "Instructions1", &TVXFrame::Instructions1Click);
    N4 = Configure1->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    Settings1 = Configure1->addMenu(QStringLiteral("&Preferences"));
    Settings1->setObjectName(QStringLiteral("Settings1"));
    Preserve1 = item(Settings1, QStringLiteral("&Preserve"), "Preserve1", &TVXFrame::Preserve1Click);
    Reset1 = item(Settings1, QStringLiteral("&Reset"), "Reset1", &TVXFrame::Reset1Click);
    FontMenu = Configure1->addMenu(QStringLiteral("&Font"));
    FontMenu->setObjectName(QStringLiteral("FontMenu"));
    MSSansSerif1 =
        item(FontMenu, QStringLiteral("&MS Sans Serif"), "MSSansSerif1", &TVXFrame::MSSansSerif1Click);
    Arial1 = item(FontMenu, QStringLiteral("&Arial"), "Arial1", &TVXFrame::Arial1Click);
    SmallArial1 = item(FontMenu, QStringLiteral("&Small Arial"), "SmallArial1", &TVXFrame::SmallArial1Click);
    // Check marks, not radio marks: the command itself moves the mark.
    for (QAction* font : {MSSansSerif1, Arial1, SmallArial1}) font->setCheckable(true);
    MSSansSerif1->setChecked(true);
    Offsets1 = item(Configure1, QStringLiteral("&Offsets"), "Offsets1", &TVXFrame::Offsets1Click);

    Help1 = menu(QStringLiteral("&Help"), "Help1");
    connect(Help1, &QMenu::aboutToShow, this, &TVXFrame::Help1Click);
    LicenseInformation1 = item(Help1, QStringLiteral("&License Information"), "LicenseInformation1",
                               &TVXFrame::LicenseInformation1Click);
    Introduction1 =
        item(Help1, QStringLiteral("&Introduction"), "Introduction1", &TVXFrame::Introduction1Click);
    FilterCharacteristics1 = item(Help1, QStringLiteral("&Filter Characteristics"), "FilterCharacteristics1",
                                  &TVXFrame::FilterCharacteristics1Click);
    Notes1 = item(Help1, QStringLiteral("&Notes"), "Notes1", &TVXFrame::Notes1Click);
    N1 = Help1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    About1 = item(Help1, QStringLiteral("&About"), "About1", &TVXFrame::About1Click);

    UpdateFrameWindowItems();
}

QList<GroupedMenu> TVXFrame::FrameMenus() const {
    return {{0, File1}, {6, Window1}, {7, Order1}, {8, Configure1}, {9, Help1}};
}

void TVXFrame::RebuildMenuBar(QMdiSubWindow* activated) {
    if (MdiArea == nullptr) return;
    // While another top-level window (a dialog, a tool window) is active, no child is active, yet the
    // bar keeps the menus of the child that will be active again.
    QMdiSubWindow* child = activated != nullptr ? activated : MdiArea->currentSubWindow();
    QList<GroupedMenu> childMenus;
    if (child != nullptr) {
        if (auto* provider = dynamic_cast<MenuProvider*>(child->widget()))
            childMenus = provider->GroupedMenus();
    }
    const QList<QMenu*> menus = MergeMenus(childMenus, FrameMenus());
    if (menus == shownMenus_) return;
    shownMenus_ = menus;
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* m : menus) bar->addMenu(m);
}

TDocumentWindow* TVXFrame::AddDocumentWindow(QWidget* content, const QString& caption,
                                             const WindowRect& rect) {
    auto* window = new TDocumentWindow(content, caption);
    MdiArea->addSubWindow(window);
    window->ApplyRect(rect);
    window->show();
    return window;
}

void TVXFrame::CreateWindows() {
    if (windowsCreated_) return;
    windowsCreated_ = true;

    Tabular = new TTabular(program_);
    Tabular->setObjectName(QStringLiteral("Tabular"));
    documents_[DocumentWindow::Tabular] =
        AddDocumentWindow(Tabular, QStringLiteral("Tabular Data"), program_.Prefs.TabularRect);

    Mechanical = new TMechanical(program_);
    Mechanical->setObjectName(QStringLiteral("Mechanical"));
    documents_[DocumentWindow::Mechanical] =
        AddDocumentWindow(Mechanical, QStringLiteral("Outline Drawings"), program_.Prefs.OutlineRect);

    Select = new TSelect(program_);
    Select->setObjectName(QStringLiteral("Select"));
    documents_[DocumentWindow::Select] =
        AddDocumentWindow(Select, QStringLiteral("Specify Filter"), program_.Prefs.SelectRect);
    MdiArea->setActiveSubWindow(documents_[DocumentWindow::Select]);
    Select->SetTolerancesDialog([this] { return TolWin(); });

    // Every other window is made when first asked for; only the start-up pages that show now are
    // made now. They show themselves as they are made, so the licence ends on top.
    const auto maker = [this](FrameWindow which, auto make) {
        frameWindowMakers_[which] = [this, make]() -> QWidget* { return (this->*make)(); };
    };
    maker(FrameWindow::ReachWin, &TVXFrame::ReachWin);
    maker(FrameWindow::NoteWin, &TVXFrame::NoteWin);
    maker(FrameWindow::InfoWin, &TVXFrame::InfoWin);
    maker(FrameWindow::IntroWin, &TVXFrame::IntroWin);
    maker(FrameWindow::OwnWin, &TVXFrame::OwnWin);
    maker(FrameWindow::AboutBox, &TVXFrame::AboutBox);
    maker(FrameWindow::CfgWin, &TVXFrame::CfgWin);
    maker(FrameWindow::RFQWin, &TVXFrame::RFQWin);
    UpdateFrameWindowItems();
    const char screens = program_.Prefs.StartupScreens;
    if (ShownAtStart(StartupPage::Notes, screens)) NoteWin();
    if (ShownAtStart(StartupPage::Characteristics, screens)) InfoWin();
    if (ShownAtStart(StartupPage::Introduction, screens)) IntroWin();
    if (ShownAtStart(StartupPage::License, screens)) OwnWin();

    RebuildMenuBar(MdiArea->activeSubWindow());
}

namespace {

template <typename Window, typename Make>
Window* MadeOnce(Window*& slot, Make make) {
    if (slot == nullptr) slot = make();
    return slot;
}

}  // namespace

TReachWin* TVXFrame::ReachWin() {
    return MadeOnce(reachWin_, [this] { return Registered(FrameWindow::ReachWin, new TReachWin(program_, this)); });
}

TNoteWin* TVXFrame::NoteWin() {
    return MadeOnce(noteWin_, [this] { return Registered(FrameWindow::NoteWin, new TNoteWin(program_, this)); });
}

TInfoWin* TVXFrame::InfoWin() {
    return MadeOnce(infoWin_, [this] {
        return Registered(FrameWindow::InfoWin, new TInfoWin(program_, [this] { return NoteWin(); }, this));
    });
}

TIntroWin* TVXFrame::IntroWin() {
    return MadeOnce(introWin_, [this] { return Registered(FrameWindow::IntroWin, new TIntroWin(program_, this)); });
}

TOwnWin* TVXFrame::OwnWin() {
    return MadeOnce(ownWin_, [this] { return Registered(FrameWindow::OwnWin, new TOwnWin(program_, this)); });
}

TPXDlg* TVXFrame::PXDlg() {
    return MadeOnce(pxDlg_, [this] { return new TPXDlg(this); });
}

TAboutBox* TVXFrame::AboutBox() {
    return MadeOnce(aboutBox_, [this] { return Registered(FrameWindow::AboutBox, new TAboutBox(program_, this)); });
}

TMoveDlg* TVXFrame::MoveDlg() {
    return MadeOnce(moveDlg_, [this] { return new TMoveDlg(program_.Display, this); });
}

TCfgWin* TVXFrame::CfgWin() {
    return MadeOnce(cfgWin_, [this] { return Registered(FrameWindow::CfgWin, new TCfgWin(program_, this)); });
}

TRFQWin* TVXFrame::RFQWin() {
    // An ordinary window of its own, not kept above the frame.
    return MadeOnce(rfqWin_, [this] { return Registered(FrameWindow::RFQWin, new TRFQWin(program_)); });
}

TTolWin* TVXFrame::TolWin() {
    return MadeOnce(tolWin_, [this] { return new TTolWin(this); });
}

void TVXFrame::SetFrameWindow(FrameWindow which, QWidget* window) {
    frameWindows_[which] = window;
    UpdateFrameWindowItems();
}

QWidget* TVXFrame::GetFrameWindow(FrameWindow which) const { return frameWindows_.value(which); }

QWidget* TVXFrame::MakeFrameWindow(FrameWindow which) {
    if (QWidget* window = GetFrameWindow(which)) return window;
    const auto maker = frameWindowMakers_.constFind(which);
    return maker != frameWindowMakers_.constEnd() ? (*maker)() : nullptr;
}

void TVXFrame::UpdateFrameWindowItems() {
    const auto has = [this](FrameWindow w) {
        return GetFrameWindow(w) != nullptr || frameWindowMakers_.contains(w);
    };
    RequestforQuote1->setVisible(has(FrameWindow::RFQWin));
    ContactInformation1->setVisible(has(FrameWindow::ReachWin));

    Instructions1->setVisible(has(FrameWindow::CfgWin));
    N4->setVisible(has(FrameWindow::CfgWin));

    LicenseInformation1->setVisible(has(FrameWindow::OwnWin));
    Introduction1->setVisible(has(FrameWindow::IntroWin));
    FilterCharacteristics1->setVisible(has(FrameWindow::InfoWin));
    Notes1->setVisible(has(FrameWindow::NoteWin));
    About1->setVisible(has(FrameWindow::AboutBox));
    const bool anyPage = has(FrameWindow::OwnWin) || has(FrameWindow::IntroWin) ||
                         has(FrameWindow::InfoWin) || has(FrameWindow::NoteWin);
    N1->setVisible(anyPage && has(FrameWindow::AboutBox));
    // A Help menu with nothing in it would only be a dead end in the menu bar.
    Help1->menuAction()->setVisible(anyPage || has(FrameWindow::AboutBox));
}

TDocumentWindow* TVXFrame::DocumentSubWindow(DocumentWindow which) const {
    return documents_.value(which).data();
}

QWidget* TVXFrame::DocumentWidget(DocumentWindow which) const {
    TDocumentWindow* window = DocumentSubWindow(which);
    return window != nullptr ? window->widget() : nullptr;
}

// --- WindowHub ---

void TVXFrame::ExitProgram() { Exit1Click(); }

void TVXFrame::ShowMaximisedAtStart() {
    showMaximized();
    // A window manager answers within a moment; until then the frame keeps its design rectangle.
    windowManagerGrace_.setSingleShot(true);
    connect(&windowManagerGrace_, &QTimer::timeout, this, &TVXFrame::FillScreenUnlessMaximised,
            Qt::UniqueConnection);
    windowManagerGrace_.start(500);
}

void TVXFrame::FillScreenUnlessMaximised() {
    const QScreen* shown = screen();
    if (shown == nullptr || !isMaximized()) return;
    const QRect area = shown->availableGeometry();
    if (frameGeometry().width() >= area.width() && frameGeometry().height() >= area.height()) return;
    setGeometry(area);
}

void TVXFrame::ActivateDocumentWindow(TDocumentWindow* window) {
    if (window == nullptr) return;
    if (window->isMinimized()) window->showNormal();
    window->show();
    MdiArea->setActiveSubWindow(window);
    window->raise();
}

void TVXFrame::AddDocumentWindowKeys() {
    const auto key = [this](const QKeySequence& sequence, const char* name, auto handler) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setObjectName(QString::fromLatin1(name));
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_F6), "NextWindowKey", [this] { ActivateNeighbourDocumentWindow(true); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Tab), "NextWindowTabKey", [this] { ActivateNeighbourDocumentWindow(true); });
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), "PreviousWindowKey",
        [this] { ActivateNeighbourDocumentWindow(false); });
    // Shift+Tab arrives as Backtab.
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), "PreviousWindowTabKey",
        [this] { ActivateNeighbourDocumentWindow(false); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Backtab), "PreviousWindowBacktabKey",
        [this] { ActivateNeighbourDocumentWindow(false); });
    key(QKeySequence(Qt::ALT | Qt::Key_Minus), "SystemMenuKey", [this] { ShowActiveSystemMenu(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_F10), "MaximiseKey", [this] { ToggleActiveMaximised(); });
}

void TVXFrame::ActivateNeighbourDocumentWindow(bool next) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isHidden()) windows.append(window);
    }
    if (windows.isEmpty()) return;
    QMdiSubWindow* current = MdiArea->currentSubWindow();
    const qsizetype count = windows.size();
    const qsizetype at = windows.indexOf(current);
    // A fixed round in creation order reaches every window, minimised ones too (they stay icons).
    const qsizetype target = at < 0 ? 0 : (at + (next ? 1 : count - 1)) % count;
    QMdiSubWindow* window = windows[target];
    MdiArea->setActiveSubWindow(window);
    window->raise();
    if (window->isMinimized()) window->setFocus(Qt::ShortcutFocusReason);
}

void TVXFrame::ShowActiveSystemMenu() {
    if (QMdiSubWindow* window = MdiArea->currentSubWindow()) window->showSystemMenu();
}

void TVXFrame::ToggleActiveMaximised() {
    QMdiSubWindow* window = MdiArea->currentSubWindow();
    if (window == nullptr) return;
    if (window->isMaximized())
        window->showNormal();
    else
        window->showMaximized();
}

void TVXFrame::BringToFront(DocumentWindow window) { ActivateDocumentWindow(DocumentSubWindow(window)); }

void TVXFrame::Invalidate(DocumentWindow window) {
    if (QWidget* widget = DocumentWidget(window)) InvalidateWidget(widget);
}

void TVXFrame::RepaintNow(DocumentWindow window) {
    if (QWidget* widget = DocumentWidget(window)) widget->repaint();
}

void TVXFrame::PrintForm(PaintedForm& form, const QString& jobTitle) {
    std::unique_ptr<WindowPrinter>& printer = printers_[&form];
    if (!printer) printer = std::make_unique<WindowPrinter>();
    RunPrintCommand(program_, form, jobTitle, *printer);
}

void TVXFrame::ShowPrintException() { PXDlg()->exec(); }

void TVXFrame::ShowChoice(const FilterSpec& choice) {
    if (Select == nullptr) return;
    Select->ShowChoice(choice);
    BringToFront(DocumentWindow::Select);
}

void TVXFrame::InvalidateWidget(QWidget* widget) { widget->update(); }

void TVXFrame::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!event->isAccepted()) return;
    program_.Ending = true;
    emit Closed();
}

bool TVXFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::Quit) program_.Ending = true;
    return QMainWindow::eventFilter(watched, event);
}

// --- File and Window ---

void TVXFrame::Exit1Click() { close(); }

void TVXFrame::Tile1Click() {
    QList<TDocumentWindow*> open;
    QList<TDocumentWindow*> minimised;
    // The active window takes the top row, the others follow in the order they were last active.
    const QList<QMdiSubWindow*> stack = MdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        auto* window = qobject_cast<TDocumentWindow*>(*it);
        if (window == nullptr || !window->isVisible()) continue;
        (window->isMinimized() ? minimised : open).append(window);
    }
    QRect area = MdiArea->viewport()->rect();
    if (!minimised.isEmpty()) area.setBottom(area.bottom() - minimised.first()->height());
    const std::vector<QRect> rects = TileHorizontally(area, static_cast<int>(open.size()));
    for (int i = 0; i < static_cast<int>(rects.size()); ++i) {
        if (open[i]->isMaximized()) open[i]->showNormal();
        open[i]->setGeometry(rects[static_cast<std::size_t>(i)]);
    }
    if (!minimised.isEmpty()) ArrangeIcons1Click();
}

void TVXFrame::Cascade1Click() {
    const struct {
        DocumentWindow window;
        int offset;
    } places[] = {
        {DocumentWindow::Tabular, 0}, {DocumentWindow::Mechanical, 25}, {DocumentWindow::Select, 50}};
    // Only Top, then Left: sizes and window states stay as they are (a minimised window's icon moves).
    for (const auto& place : places) {
        TDocumentWindow* window = DocumentSubWindow(place.window);
        if (window == nullptr) continue;
        window->move(window->x(), place.offset);
        window->move(place.offset, window->y());
    }
    for (const DocumentWindow shown : {DocumentWindow::Mechanical, DocumentWindow::Select}) {
        TDocumentWindow* window = DocumentSubWindow(shown);
        if (window == nullptr) continue;
        window->show();
        MdiArea->setActiveSubWindow(window);
        window->raise();
    }
}

void TVXFrame::ArrangeIcons1Click() {
    std::vector<QSize> sizes;
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* window : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && window->isMinimized()) {
            icons.append(window);
            sizes.push_back(window->size());
        }
    }
    const std::vector<QPoint> positions = ArrangeIconPositions(MdiArea->viewport()->rect(), sizes);
    for (int i = 0; i < static_cast<int>(icons.size()); ++i)
        icons[i]->move(positions[static_cast<std::size_t>(i)]);
}

// --- Sales ---

void TVXFrame::Order1Click() {
    const QWidget* reach = GetFrameWindow(FrameWindow::ReachWin);
    ContactInformation1->setEnabled(reach == nullptr || !reach->isVisible());
}

void TVXFrame::ShowFrameWindow(FrameWindow which) {
    QWidget* window = MakeFrameWindow(which);
    if (window == nullptr) return;
    if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && dialog->isModal()) {
        dialog->exec();
        return;
    }
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

void TVXFrame::RequestforQuote1Click() { ShowFrameWindow(FrameWindow::RFQWin); }
void TVXFrame::ContactInformation1Click() { ShowFrameWindow(FrameWindow::ReachWin); }

void TVXFrame::OpenLink(const QString& target, const QString& failureMessage) {
    const bool opened = program_.Shell != nullptr && program_.Shell->Open(target);
    if (!opened && program_.Messages != nullptr) program_.Messages->ShowMessage(this, failureMessage);
}

void TVXFrame::VeltrixOnline1Click() {
    OpenLink(QString::fromLatin1(contact::kProductPage), QStringLiteral("Unable to start web browser."));
}

void TVXFrame::EmailVeltrixSales1Click() {
    OpenLink(QString::fromLatin1(contact::kSalesMailto), QStringLiteral("Unable to start mail client."));
}

void TVXFrame::Representatives1Click() {
    OpenLink(QString::fromLatin1(contact::kRepresentativesPage),
             QStringLiteral("Unable to start web browser."));
}

void TVXFrame::FindParts1Click() {
    // Made on first use: most sessions never open it, and start-up should not pay for it.
    if (FindParts == nullptr) {
        FindParts = new TFindParts(program_);
        FindParts->setObjectName(QStringLiteral("FindParts"));
        auto* window = new TDocumentWindow(FindParts, QStringLiteral("Find Parts"));
        MdiArea->addSubWindow(window);
        window->ApplyRect({75, 40, 780, 640});
        documents_[DocumentWindow::Finder] = window;
    }
    TDocumentWindow* finder = DocumentSubWindow(DocumentWindow::Finder);
    ActivateDocumentWindow(finder);
    if (FindParts != nullptr) FindParts->F0Edit->setFocus(Qt::OtherFocusReason);
}

// --- Configure ---

void TVXFrame::Configure1Click() {
    const QWidget* instructions = GetFrameWindow(FrameWindow::CfgWin);
    Instructions1->setEnabled(instructions == nullptr || !instructions->isVisible());
}

void TVXFrame::Instructions1Click() { ShowFrameWindow(FrameWindow::CfgWin); }

void TVXFrame::Preserve1Click() {
    const auto rectOf = [this](DocumentWindow which, const WindowRect& fallback) {
        TDocumentWindow* window = DocumentSubWindow(which);
        return window != nullptr ? window->NormalRect() : fallback;
    };
    const WindowRect select = rectOf(DocumentWindow::Select, program_.Prefs.SelectRect);
    const WindowRect outline = rectOf(DocumentWindow::Mechanical, program_.Prefs.OutlineRect);
    const WindowRect tabular = rectOf(DocumentWindow::Tabular, program_.Prefs.TabularRect);
    Preserve1->setChecked(false);
    Reset1->setChecked(false);
    PreservePreferences(program_.Prefs, program_.Spec.Units, select, outline, tabular,
                        program_.PreferencesPath);
}

void TVXFrame::Reset1Click() {
    Preserve1->setChecked(false);
    Reset1->setChecked(false);
    ResetPreferences(program_.Prefs, program_.PreferencesPath);
}

void TVXFrame::FontCommand(FontChoice choice, QAction* item) {
    ApplyFontChoice(program_.Display, choice);
    for (QAction* font : {MSSansSerif1, Arial1, SmallArial1}) font->setChecked(font == item);
    // Windows that paint with the new font, in the order they are asked to repaint.
    QWidget* const order[] = {GetFrameWindow(FrameWindow::OwnWin), GetFrameWindow(FrameWindow::IntroWin),
                              GetFrameWindow(FrameWindow::InfoWin), DocumentWidget(DocumentWindow::Select),
                              DocumentWidget(DocumentWindow::Mechanical)};
    for (QWidget* window : order) {
        if (window != nullptr) InvalidateWidget(window);
    }
}

void TVXFrame::MSSansSerif1Click() { FontCommand(FontChoice::MSSansSerif, MSSansSerif1); }
void TVXFrame::Arial1Click() { FontCommand(FontChoice::Arial, Arial1); }
void TVXFrame::SmallArial1Click() { FontCommand(FontChoice::SmallArial, SmallArial1); }

void TVXFrame::Offsets1Click() {
    const int oldX = program_.Display.FieldOffsetX;
    const int oldY = program_.Display.FieldOffsetY;
    MoveDlg()->exec();
    if (program_.Display.FieldOffsetX != oldX || program_.Display.FieldOffsetY != oldY) {
        // The fields move before the repaint, so the paint covers them at their new place.
        if (Select != nullptr) Select->PlaceResultLabels();
        if (QWidget* select = DocumentWidget(DocumentWindow::Select)) InvalidateWidget(select);
    }
}

// --- Help ---

void TVXFrame::Help1Click() {
    const auto hidden = [this](FrameWindow which) {
        const QWidget* window = GetFrameWindow(which);
        return window == nullptr || !window->isVisible();
    };
    LicenseInformation1->setEnabled(hidden(FrameWindow::OwnWin));
    Introduction1->setEnabled(hidden(FrameWindow::IntroWin));
    FilterCharacteristics1->setEnabled(hidden(FrameWindow::InfoWin));
    Notes1->setEnabled(hidden(FrameWindow::NoteWin));
    About1->setEnabled(true);
}

void TVXFrame::LicenseInformation1Click() { ShowFrameWindow(FrameWindow::OwnWin); }
void TVXFrame::Introduction1Click() { ShowFrameWindow(FrameWindow::IntroWin); }
void TVXFrame::FilterCharacteristics1Click() { ShowFrameWindow(FrameWindow::InfoWin); }
void TVXFrame::Notes1Click() { ShowFrameWindow(FrameWindow::NoteWin); }

void TVXFrame::About1Click() {
    QWidget* about = MakeFrameWindow(FrameWindow::AboutBox);
    if (auto* dialog = qobject_cast<QDialog*>(about)) {
        dialog->exec();
    } else if (about != nullptr) {
        ShowFrameWindow(FrameWindow::AboutBox);
    }
}

}  // namespace veltrix
