#include "app/frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include "app/document_window.h"
#include "app/field_offsets_dialog.h"
#include "app/window_arrangement.h"
#include "compare_window/compare_window.h"
#include "datasheet/datasheet.h"
#include "engine/response.h"
#include "exports/exports.h"
#include "finder_window/finder_window.h"
#include "info/about_box.h"
#include "info/info_windows.h"
#include "info/quote_request_window.h"
#include "outline_window/outline_window.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "platform/services.h"
#include "printing/print_command.h"
#include "printing/print_dialogs.h"
#include "product_texts/contact_data.h"
#include "program/startup_rule.h"
#include "specification_window/specification_window.h"
#include "specification_window/tolerances_dialog.h"
#include "tabular_window/tabular_window.h"
#include "version/version.h"

namespace veltrix {

MainFrame::MainFrame(Program& program, QWidget* parent) : QMainWindow(parent), program_(program) {
    setObjectName(QStringLiteral("main_frame"));
    setWindowTitle(QStringLiteral("Veltrix " VELTRIX_VERSION));
    setWindowIcon(WindowIcon());
    setFont(PointFont(QStringLiteral("MS Sans Serif"), 8));
    qApp->installEventFilter(this);
    // The design rectangle; it shows only when the maximised frame is restored.
    move(189, 101);
    resize(571, 387);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(mdiArea_);
    BuildMenus();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainFrame::RebuildMenuBar);
    AddDocumentWindowKeys();

    // The start state, in its order.
    SetMachineEpsilon(ComputeMachineEpsilon());
    program_.Display = DisplaySettings{};
    program_.Prefs = ReadPreferences(program_.PreferencesPath);
    program_.Spec = StartSpecification(program_.Prefs.PrefUnits);
    preserveAction_->setChecked(false);
    resetAction_->setChecked(false);

    program_.Hub = this;
    RebuildMenuBar(nullptr);
}

MainFrame::~MainFrame() {
    // The windows go first, while they can still reach the frame through the hub. The area stops
    // reporting activations before it is torn down.
    QMdiArea* area = mdiArea_;
    disconnect(area, nullptr, this, nullptr);
    mdiArea_ = nullptr;
    delete area;
    delete tolerances_;
    delete requestForQuote_;
    delete configurationInstructions_;
    delete fieldOffsets_;
    delete about_;
    delete abortPrint_;
    delete licenseInformation_;
    delete introduction_;
    delete filterCharacteristics_;
    delete notes_;
    delete contactInformation_;
    if (program_.Hub == this) program_.Hub = nullptr;
}

void MainFrame::BuildMenus() {
    const auto item = [this](QMenu* menu, const QString& caption, const char* name,
                             void (MainFrame::*handler)()) {
        QAction* action = menu->addAction(caption);
        actions_.Add(QString::fromLatin1(name), action);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    const auto menu = [this](const QString& caption, const char* name) {
        auto* m = new QMenu(caption, this);
        return actions_.AddMenu(QString::fromLatin1(name), m);
    };

    fileMenu_ = menu(QStringLiteral("&File"), "file");
    exitAction_ = item(fileMenu_, QStringLiteral("E&xit"), "exit", &MainFrame::onExit);

    windowMenu_ = menu(QStringLiteral("&Window"), "window");
    tileAction_ = item(windowMenu_, QStringLiteral("&Tile"), "tile", &MainFrame::onTile);
    cascadeAction_ = item(windowMenu_, QStringLiteral("&Cascade"), "cascade", &MainFrame::onCascade);
    arrangeIconsAction_ =
        item(windowMenu_, QStringLiteral("&Arrange Icons"), "arrange_icons", &MainFrame::onArrangeIcons);
    comparePartsAction_ =
        item(windowMenu_, QStringLiteral("Co&mpare Parts"), "compare_parts", &MainFrame::onCompareParts);

    salesMenu_ = menu(QStringLiteral("&Sales"), "sales");
    connect(salesMenu_, &QMenu::aboutToShow, this, &MainFrame::onSalesMenuShown);
    requestForQuoteAction_ = item(salesMenu_, QStringLiteral("Request For &Quote"), "request_for_quote",
                                  &MainFrame::onRequestForQuote);
    contactInformationAction_ = item(salesMenu_, QStringLiteral("&Contact Information"),
                                     "contact_information", &MainFrame::onContactInformation);
    veltrixOnlineAction_ =
        item(salesMenu_, QStringLiteral("Veltrix &Online"), "veltrix_online", &MainFrame::onVeltrixOnline);
    emailSalesAction_ =
        item(salesMenu_, QStringLiteral("&E-mail Veltrix Sales"), "email_sales", &MainFrame::onEmailSales);
    representativesAction_ = item(salesMenu_, QStringLiteral("&Representatives"), "representatives",
                                  &MainFrame::onRepresentatives);
    findPartsAction_ =
        item(salesMenu_, QStringLiteral("Find &Parts..."), "find_parts", &MainFrame::onFindParts);

    configureMenu_ = menu(QStringLiteral("&Configure"), "configure");
    connect(configureMenu_, &QMenu::aboutToShow, this, &MainFrame::onConfigureMenuShown);
    instructionsAction_ = item(configureMenu_, QStringLiteral("&Instructions"), "configuration_instructions",
                               &MainFrame::onConfigurationInstructions);
    configureSeparator_ = configureMenu_->addSeparator();
    actions_.Add(QStringLiteral("configure_separator"), configureSeparator_);
    preferencesMenu_ = configureMenu_->addMenu(QStringLiteral("&Preferences"));
    actions_.AddMenu(QStringLiteral("preferences"), preferencesMenu_);
    preserveAction_ = item(preferencesMenu_, QStringLiteral("&Preserve"), "preserve_preferences",
                           &MainFrame::onPreservePreferences);
    resetAction_ =
        item(preferencesMenu_, QStringLiteral("&Reset"), "reset_preferences", &MainFrame::onResetPreferences);
    fontMenu_ = configureMenu_->addMenu(QStringLiteral("&Font"));
    actions_.AddMenu(QStringLiteral("font"), fontMenu_);
    msSansSerifAction_ = item(fontMenu_, QStringLiteral("&MS Sans Serif"), "font_ms_sans_serif",
                              &MainFrame::onFontMsSansSerif);
    arialAction_ = item(fontMenu_, QStringLiteral("&Arial"), "font_arial", &MainFrame::onFontArial);
    smallArialAction_ =
        item(fontMenu_, QStringLiteral("&Small Arial"), "font_small_arial", &MainFrame::onFontSmallArial);
    // Check marks, not radio marks: the command itself moves the mark.
    for (QAction* font : {msSansSerifAction_, arialAction_, smallArialAction_}) font->setCheckable(true);
    msSansSerifAction_->setChecked(true);
    offsetsAction_ = item(configureMenu_, QStringLiteral("&Offsets"), "offsets", &MainFrame::onOffsets);

    helpMenu_ = menu(QStringLiteral("&Help"), "help");
    connect(helpMenu_, &QMenu::aboutToShow, this, &MainFrame::onHelpMenuShown);
    licenseInformationAction_ = item(helpMenu_, QStringLiteral("&License Information"), "license_information",
                                     &MainFrame::onLicenseInformation);
    introductionAction_ =
        item(helpMenu_, QStringLiteral("&Introduction"), "introduction", &MainFrame::onIntroduction);
    filterCharacteristicsAction_ = item(helpMenu_, QStringLiteral("&Filter Characteristics"),
                                        "filter_characteristics", &MainFrame::onFilterCharacteristics);
    notesAction_ = item(helpMenu_, QStringLiteral("&Notes"), "notes", &MainFrame::onNotes);
    helpSeparator_ = helpMenu_->addSeparator();
    actions_.Add(QStringLiteral("help_separator"), helpSeparator_);
    aboutAction_ = item(helpMenu_, QStringLiteral("&About"), "about", &MainFrame::onAbout);

    UpdateFrameWindowItems();
}

QList<GroupedMenu> MainFrame::FrameMenus() const {
    return {{0, fileMenu_}, {6, windowMenu_}, {7, salesMenu_}, {8, configureMenu_}, {9, helpMenu_}};
}

void MainFrame::RebuildMenuBar(QMdiSubWindow* activated) {
    if (mdiArea_ == nullptr) return;
    // While another top-level window (a dialog, a tool window) is active, no child is active, yet the
    // bar keeps the menus of the child that will be active again.
    QMdiSubWindow* child = activated != nullptr ? activated : mdiArea_->currentSubWindow();
    QList<GroupedMenu> childMenus;
    if (child != nullptr) {
        QWidget* content = child->widget();
        if (auto* document = qobject_cast<DocumentMdiWindow*>(child)) content = document->Content();
        if (auto* provider = dynamic_cast<MenuProvider*>(content)) childMenus = provider->GroupedMenus();
    }
    const QList<QMenu*> menus = MergeMenus(childMenus, FrameMenus());
    if (menus == shownMenus_) return;
    shownMenus_ = menus;
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* m : menus) bar->addMenu(m);
}

DocumentMdiWindow* MainFrame::AddDocumentWindow(QWidget* content, const QString& caption,
                                                const WindowRect& rect) {
    auto* window = new DocumentMdiWindow(*mdiArea_, content, caption);
    window->ApplyRect(rect);
    window->show();
    return window;
}

void MainFrame::CreateWindows() {
    if (windowsCreated_) return;
    windowsCreated_ = true;

    tabularData_ = new TabularDataWindow(program_);
    tabularData_->setObjectName(QStringLiteral("tabular_data_window"));
    documents_[DocumentWindow::TabularData] =
        AddDocumentWindow(tabularData_, QStringLiteral("Tabular Data"), program_.Prefs.TabularRect);

    outline_ = new OutlineWindow(program_);
    outline_->setObjectName(QStringLiteral("outline_window"));
    documents_[DocumentWindow::Outline] =
        AddDocumentWindow(outline_, QStringLiteral("Outline Drawings"), program_.Prefs.OutlineRect);

    specification_ = new SpecificationWindow(program_);
    specification_->setObjectName(QStringLiteral("specification_window"));
    documents_[DocumentWindow::Specification] =
        AddDocumentWindow(specification_, QStringLiteral("Specify Filter"), program_.Prefs.SelectRect);
    mdiArea_->setActiveSubWindow(documents_[DocumentWindow::Specification]);
    specification_->SetTolerancesDialog([this] { return Tolerances(); });

    // Every other window is made when first asked for; the start-up pages by ShowStartupPages.
    const auto maker = [this](FrameWindow which, auto make) {
        frameWindowMakers_[which] = [this, make]() -> QWidget* { return (this->*make)(); };
    };
    maker(FrameWindow::ContactInformation, &MainFrame::ContactInformation);
    maker(FrameWindow::Notes, &MainFrame::Notes);
    maker(FrameWindow::FilterCharacteristics, &MainFrame::FilterCharacteristics);
    maker(FrameWindow::Introduction, &MainFrame::Introduction);
    maker(FrameWindow::LicenseInformation, &MainFrame::LicenseInformation);
    maker(FrameWindow::About, &MainFrame::About);
    maker(FrameWindow::ConfigurationInstructions, &MainFrame::ConfigurationInstructions);
    maker(FrameWindow::RequestForQuote, &MainFrame::RequestForQuote);
    UpdateFrameWindowItems();

    RebuildMenuBar(mdiArea_->activeSubWindow());
}

void MainFrame::ShowStartupPages() {
    if (startupPagesShown_) return;
    startupPagesShown_ = true;
    // The pages show themselves as they are made, so the licence ends on top.
    const StartupPagesState screens = program_.Prefs.StartupScreens;
    if (ShownAtStart(StartupPage::Notes, screens)) Notes();
    if (ShownAtStart(StartupPage::Characteristics, screens)) FilterCharacteristics();
    if (ShownAtStart(StartupPage::Introduction, screens)) Introduction();
    if (ShownAtStart(StartupPage::License, screens)) LicenseInformation();
    // Where no window manager keeps them on top, they come back over the frame, the licence last.
    for (FrameWindow page : {FrameWindow::Notes, FrameWindow::FilterCharacteristics,
                             FrameWindow::Introduction, FrameWindow::LicenseInformation}) {
        QWidget* window = GetFrameWindow(page);
        if (window != nullptr && window->isVisible()) window->raise();
    }
    // A window manager gives new tool windows no focus: the top page takes it, so Escape reaches it.
    FocusNextPage();
}

void MainFrame::FocusNextPage() {
    // Another window the user went on to keeps the focus.
    QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active != this && active->isVisible()) return;
    // The pages lie over the frame in the order they were shown, the licence on top.
    for (QWidget* page :
         std::initializer_list<QWidget*>{licenseInformation_, introduction_, filterCharacteristics_, notes_,
                                         contactInformation_, configurationInstructions_}) {
        if (page == nullptr || !page->isVisible() || page->isMinimized()) continue;
        page->raise();
        page->activateWindow();
        return;
    }
    if (!isVisible() || mdiArea_ == nullptr) return;
    activateWindow();
    QMdiSubWindow* document = mdiArea_->currentSubWindow();
    if (document == nullptr || document->isAncestorOf(QApplication::focusWidget())) return;
    mdiArea_->setActiveSubWindow(document);
    if (QWidget* content = document->widget()) {
        QWidget* last = content->focusWidget();
        (last != nullptr ? last : content)->setFocus(Qt::ActiveWindowFocusReason);
    }
}

namespace {

template <typename Window, typename Make>
Window* MadeOnce(Window*& slot, Make make) {
    if (slot == nullptr) slot = make();
    return slot;
}

}  // namespace

ContactPage* MainFrame::ContactInformation() {
    return MadeOnce(contactInformation_, [this] {
        return Registered(FrameWindow::ContactInformation, new ContactPage(program_, this));
    });
}

NotesPage* MainFrame::Notes() {
    return MadeOnce(notes_, [this] { return Registered(FrameWindow::Notes, new NotesPage(program_, this)); });
}

FilterCharacteristicsPage* MainFrame::FilterCharacteristics() {
    return MadeOnce(filterCharacteristics_, [this] {
        return Registered(FrameWindow::FilterCharacteristics,
                          new FilterCharacteristicsPage(
                              program_, [this] { return Notes(); }, this));
    });
}

IntroductionPage* MainFrame::Introduction() {
    return MadeOnce(introduction_, [this] {
        return Registered(FrameWindow::Introduction, new IntroductionPage(program_, this));
    });
}

LicensePage* MainFrame::LicenseInformation() {
    return MadeOnce(licenseInformation_, [this] {
        return Registered(FrameWindow::LicenseInformation, new LicensePage(program_, this));
    });
}

AbortPrintDialog* MainFrame::AbortPrint() {
    return MadeOnce(abortPrint_, [this] { return new AbortPrintDialog(this); });
}

AboutDialog* MainFrame::About() {
    return MadeOnce(about_,
                    [this] { return Registered(FrameWindow::About, new AboutDialog(program_, this)); });
}

FieldOffsetsDialog* MainFrame::FieldOffsets() {
    return MadeOnce(fieldOffsets_, [this] { return new FieldOffsetsDialog(program_.Display, this); });
}

ConfigurationPage* MainFrame::ConfigurationInstructions() {
    return MadeOnce(configurationInstructions_, [this] {
        return Registered(FrameWindow::ConfigurationInstructions, new ConfigurationPage(program_, this));
    });
}

QuoteRequestWindow* MainFrame::RequestForQuote() {
    // An ordinary window of its own, not kept above the frame.
    return MadeOnce(requestForQuote_, [this] {
        return Registered(FrameWindow::RequestForQuote, new QuoteRequestWindow(program_));
    });
}

TolerancesDialog* MainFrame::Tolerances() {
    return MadeOnce(tolerances_, [this] { return new TolerancesDialog(this); });
}

void MainFrame::SetFrameWindow(FrameWindow which, QWidget* window) {
    frameWindows_[which] = window;
    UpdateFrameWindowItems();
}

QWidget* MainFrame::GetFrameWindow(FrameWindow which) const { return frameWindows_.value(which); }

QWidget* MainFrame::MakeFrameWindow(FrameWindow which) {
    if (QWidget* window = GetFrameWindow(which)) return window;
    const auto maker = frameWindowMakers_.constFind(which);
    return maker != frameWindowMakers_.constEnd() ? (*maker)() : nullptr;
}

void MainFrame::UpdateFrameWindowItems() {
    const auto has = [this](FrameWindow w) {
        return GetFrameWindow(w) != nullptr || frameWindowMakers_.contains(w);
    };
    requestForQuoteAction_->setVisible(has(FrameWindow::RequestForQuote));
    contactInformationAction_->setVisible(has(FrameWindow::ContactInformation));

    instructionsAction_->setVisible(has(FrameWindow::ConfigurationInstructions));
    configureSeparator_->setVisible(has(FrameWindow::ConfigurationInstructions));

    licenseInformationAction_->setVisible(has(FrameWindow::LicenseInformation));
    introductionAction_->setVisible(has(FrameWindow::Introduction));
    filterCharacteristicsAction_->setVisible(has(FrameWindow::FilterCharacteristics));
    notesAction_->setVisible(has(FrameWindow::Notes));
    aboutAction_->setVisible(has(FrameWindow::About));
    const bool anyPage = has(FrameWindow::LicenseInformation) || has(FrameWindow::Introduction) ||
                         has(FrameWindow::FilterCharacteristics) || has(FrameWindow::Notes);
    helpSeparator_->setVisible(anyPage && has(FrameWindow::About));
    // A Help menu with nothing in it would only be a dead end in the menu bar.
    helpMenu_->menuAction()->setVisible(anyPage || has(FrameWindow::About));
}

DocumentMdiWindow* MainFrame::DocumentSubWindow(DocumentWindow which) const {
    return documents_.value(which).data();
}

QWidget* MainFrame::DocumentWidget(DocumentWindow which) const {
    DocumentMdiWindow* window = DocumentSubWindow(which);
    return window != nullptr ? window->Content() : nullptr;
}

// --- WindowHub ---

void MainFrame::ExitProgram() { onExit(); }

void MainFrame::ShowMaximisedAtStart() {
    showMaximized();
    // A window manager answers within a moment; until then the frame keeps its design rectangle.
    windowManagerGrace_.setSingleShot(true);
    connect(&windowManagerGrace_, &QTimer::timeout, this, &MainFrame::FillScreenUnlessMaximised,
            Qt::UniqueConnection);
    windowManagerGrace_.start(500);
}

void MainFrame::FillScreenUnlessMaximised() {
    const QScreen* shown = screen();
    if (shown == nullptr || !isMaximized()) return;
    const QRect area = shown->availableGeometry();
    if (frameGeometry().width() >= area.width() && frameGeometry().height() >= area.height()) return;
    setGeometry(area);
}

void MainFrame::ActivateDocumentWindow(DocumentMdiWindow* window) {
    if (window == nullptr) return;
    if (window->isMinimized()) window->showNormal();
    window->show();
    mdiArea_->setActiveSubWindow(window);
    window->raise();
}

void MainFrame::AddDocumentWindowKeys() {
    const auto key = [this](const QKeySequence& sequence, const char* name, auto handler) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setObjectName(QString::fromLatin1(name));
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_F6), "NextWindowKey",
        [this] { ActivateNeighbourDocumentWindow(true); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Tab), "NextWindowTabKey",
        [this] { ActivateNeighbourDocumentWindow(true); });
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

void MainFrame::ActivateNeighbourDocumentWindow(bool next) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isHidden()) windows.append(window);
    }
    if (windows.isEmpty()) return;
    QMdiSubWindow* current = mdiArea_->currentSubWindow();
    const qsizetype count = windows.size();
    const qsizetype at = windows.indexOf(current);
    // A fixed round in creation order reaches every window, minimised ones too (they stay icons).
    const qsizetype target = at < 0 ? 0 : (at + (next ? 1 : count - 1)) % count;
    QMdiSubWindow* window = windows[target];
    mdiArea_->setActiveSubWindow(window);
    window->raise();
    if (window->isMinimized()) window->setFocus(Qt::ShortcutFocusReason);
}

void MainFrame::ShowActiveSystemMenu() {
    if (QMdiSubWindow* window = mdiArea_->currentSubWindow()) window->showSystemMenu();
}

void MainFrame::ToggleActiveMaximised() {
    QMdiSubWindow* window = mdiArea_->currentSubWindow();
    if (window == nullptr) return;
    if (window->isMaximized())
        window->showNormal();
    else
        window->showMaximized();
}

void MainFrame::BringToFront(DocumentWindow window) { ActivateDocumentWindow(DocumentSubWindow(window)); }

void MainFrame::Invalidate(DocumentWindow window) {
    if (QWidget* widget = DocumentWidget(window)) InvalidateWidget(widget);
}

void MainFrame::RepaintNow(DocumentWindow window) {
    if (QWidget* widget = DocumentWidget(window)) widget->repaint();
}

void MainFrame::PrintForm(PaintedForm& form, const QString& jobTitle) {
    std::unique_ptr<WindowPrinter>& printer = printers_[&form];
    if (!printer) printer = std::make_unique<WindowPrinter>();
    RunPrintCommand(program_, form, jobTitle, *printer);
}

void MainFrame::ShowPrintException() { AbortPrint()->exec(); }

void MainFrame::ShowChoice(const FilterSpec& choice) {
    if (specification_ == nullptr) return;
    specification_->ShowChoice(choice);
    BringToFront(DocumentWindow::Specification);
}

void MainFrame::InvalidateWidget(QWidget* widget) { widget->update(); }

void MainFrame::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!event->isAccepted()) return;
    program_.Ending = true;
    emit Closed();
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::Quit) program_.Ending = true;
    // A page put away passes the keyboard on, once it is gone from the screen.
    if (event->type() == QEvent::Hide && !program_.Ending && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow() &&
        (watched == licenseInformation_ || watched == introduction_ || watched == filterCharacteristics_ ||
         watched == notes_ || watched == contactInformation_ || watched == configurationInstructions_))
        QMetaObject::invokeMethod(this, &MainFrame::FocusNextPage, Qt::QueuedConnection);
    return QMainWindow::eventFilter(watched, event);
}

// --- File and Window ---

void MainFrame::onExit() { close(); }

void MainFrame::onTile() {
    QList<DocumentMdiWindow*> open;
    QList<DocumentMdiWindow*> minimised;
    // The active window takes the top row, the others follow in the order they were last active.
    const QList<QMdiSubWindow*> stack = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        auto* window = qobject_cast<DocumentMdiWindow*>(*it);
        if (window == nullptr || !window->isVisible()) continue;
        (window->isMinimized() ? minimised : open).append(window);
    }
    QRect area = mdiArea_->viewport()->rect();
    if (!minimised.isEmpty()) area.setBottom(area.bottom() - minimised.first()->height());
    const std::vector<QRect> rects = TileHorizontally(area, static_cast<int>(open.size()));
    for (int i = 0; i < static_cast<int>(rects.size()); ++i) {
        if (open[i]->isMaximized()) open[i]->showNormal();
        open[i]->setGeometry(rects[static_cast<std::size_t>(i)]);
    }
    if (!minimised.isEmpty()) onArrangeIcons();
}

void MainFrame::onCascade() {
    const struct {
        DocumentWindow window;
        int offset;
    } places[] = {
        {DocumentWindow::TabularData, 0}, {DocumentWindow::Outline, 25}, {DocumentWindow::Specification, 50}};
    // Only Top, then Left: sizes and window states stay as they are (a minimised window's icon moves).
    for (const auto& place : places) {
        DocumentMdiWindow* window = DocumentSubWindow(place.window);
        if (window == nullptr) continue;
        window->move(window->x(), place.offset);
        window->move(place.offset, window->y());
    }
    for (const DocumentWindow shown : {DocumentWindow::Outline, DocumentWindow::Specification}) {
        DocumentMdiWindow* window = DocumentSubWindow(shown);
        if (window == nullptr) continue;
        window->show();
        mdiArea_->setActiveSubWindow(window);
        window->raise();
    }
}

void MainFrame::onArrangeIcons() {
    std::vector<QSize> sizes;
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && window->isMinimized()) {
            icons.append(window);
            sizes.push_back(window->size());
        }
    }
    const std::vector<QPoint> positions = ArrangeIconPositions(mdiArea_->viewport()->rect(), sizes);
    for (int i = 0; i < static_cast<int>(icons.size()); ++i)
        icons[i]->move(positions[static_cast<std::size_t>(i)]);
}

// --- Sales ---

void MainFrame::onSalesMenuShown() {
    const QWidget* reach = GetFrameWindow(FrameWindow::ContactInformation);
    contactInformationAction_->setEnabled(reach == nullptr || !reach->isVisible());
}

void MainFrame::ShowFrameWindow(FrameWindow which) {
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

void MainFrame::onRequestForQuote() { ShowFrameWindow(FrameWindow::RequestForQuote); }
void MainFrame::onContactInformation() { ShowFrameWindow(FrameWindow::ContactInformation); }

void MainFrame::OpenLink(const QString& target, const QString& failureMessage) {
    OpenOrReport(program_.Shell, program_.Messages, this, target, failureMessage);
}

void MainFrame::onVeltrixOnline() {
    OpenLink(QString::fromLatin1(contact::kProductPage), QStringLiteral("Unable to start web browser."));
}

void MainFrame::onEmailSales() {
    OpenLink(QString::fromLatin1(contact::kSalesMailto), QStringLiteral("Unable to start mail client."));
}

void MainFrame::onRepresentatives() {
    OpenLink(QString::fromLatin1(contact::kRepresentativesPage),
             QStringLiteral("Unable to start web browser."));
}

void MainFrame::onFindParts() {
    // Made on first use: most sessions never open it, and start-up should not pay for it.
    if (findParts_ == nullptr) {
        findParts_ = new FindPartsWindow(program_);
        findParts_->setObjectName(QStringLiteral("find_parts_window"));
        // At a large scale its controls need more than the frame has: the window stays inside the
        // frame and scrolls.
        auto* window = new DocumentMdiWindow(*mdiArea_, findParts_, QStringLiteral("Find Parts"),
                                             DocumentMdiWindow::Overflow::Scroll);
        const QRect fitted = FittedRect(QRect(75, 40, 780, 640), mdiArea_->viewport()->rect());
        window->ApplyRect({fitted.left(), fitted.top(), fitted.width(), fitted.height()});
        documents_[DocumentWindow::Finder] = window;
    }
    DocumentMdiWindow* finder = DocumentSubWindow(DocumentWindow::Finder);
    ActivateDocumentWindow(finder);
    if (findParts_ != nullptr) findParts_->CentreFrequencyEdit()->setFocus(Qt::OtherFocusReason);
}

void MainFrame::onCompareParts() {
    // Made on first use and kept for the run, so its parts stay while the program runs.
    if (compare_ == nullptr) {
        compare_ = new CompareWindow(program_);
        compare_->setObjectName(QStringLiteral("compare_window"));
        // Six parts, their margins and a measured file's deviations outgrow the window's height.
        auto* window = new DocumentMdiWindow(*mdiArea_, compare_, QStringLiteral("Compare Parts"),
                                             DocumentMdiWindow::Overflow::Scroll);
        // Inside the frame, even when a large scale makes the design size larger than the frame.
        const QSize room = mdiArea_->viewport()->size() - QSize(24, 24);
        window->ApplyRect({20, 20, std::min(CompareWindow::kClientWidth + 20, room.width()),
                           std::min(CompareWindow::kClientHeight + 40, room.height())});
        documents_[DocumentWindow::Compare] = window;
    }
    ActivateDocumentWindow(DocumentSubWindow(DocumentWindow::Compare));
    compare_->setFocus(Qt::OtherFocusReason);
}

void MainFrame::CompareParts(const std::vector<FilterSpec>& parts, const FinderRequirement& requirement) {
    onCompareParts();
    compare_->SetRequirement(requirement);
    QStringList refusals;
    for (const FilterSpec& part : parts) {
        const std::string refusal = compare_->AddPart(part);
        // A part compared already is simply there.
        if (!refusal.empty() && refusal.find("already in the comparison") == std::string::npos)
            refusals << QString::fromStdString(refusal);
    }
    if (!refusals.isEmpty() && program_.Messages)
        program_.Messages->ShowMessage(compare_, refusals.join(QLatin1Char('\n')),
                                       QStringLiteral("Compare Parts"));
}

void MainFrame::AddToComparison(const FilterSpec& part) {
    onCompareParts();
    const std::string refusal = compare_->AddPart(part);
    if (!refusal.empty() && program_.Messages)
        program_.Messages->ShowMessage(compare_, QString::fromStdString(refusal),
                                       QStringLiteral("Compare Parts"));
}

void MainFrame::ExportDatasheet(const FilterSpec& part, const FinderRequirement* requirement) {
    QWidget* parent = QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : this;
    const DatasheetContent sheet =
        ComposeDatasheet(part, requirement != nullptr ? std::optional(*requirement) : std::nullopt);
    if (!sheet.Standard) {
        if (program_.Messages) program_.Messages->ShowMessage(parent, QString::fromStdString(sheet.Refusal));
        return;
    }
    if (program_.SaveDialogs == nullptr) return;
    const QString path =
        program_.SaveDialogs->AskSaveFile(parent, QStringLiteral("Export Datasheet"),
                                          QString::fromStdString(ExportFileName(sheet.PartNumber, ".pdf")),
                                          QStringLiteral("PDF document (*.pdf)"));
    if (path.isEmpty()) return;
    QString error;
    if (!WriteDatasheet(QFile::encodeName(path), sheet, LocalePaper(), &error) && program_.Messages)
        program_.Messages->ShowMessage(parent, error);
}

// --- Configure ---

void MainFrame::onConfigureMenuShown() {
    const QWidget* instructions = GetFrameWindow(FrameWindow::ConfigurationInstructions);
    instructionsAction_->setEnabled(instructions == nullptr || !instructions->isVisible());
}

void MainFrame::onConfigurationInstructions() { ShowFrameWindow(FrameWindow::ConfigurationInstructions); }

void MainFrame::onPreservePreferences() {
    const auto rectOf = [this](DocumentWindow which, const WindowRect& fallback) {
        DocumentMdiWindow* window = DocumentSubWindow(which);
        return window != nullptr ? window->NormalRect() : fallback;
    };
    const WindowRect select = rectOf(DocumentWindow::Specification, program_.Prefs.SelectRect);
    const WindowRect outline = rectOf(DocumentWindow::Outline, program_.Prefs.OutlineRect);
    const WindowRect tabular = rectOf(DocumentWindow::TabularData, program_.Prefs.TabularRect);
    preserveAction_->setChecked(false);
    resetAction_->setChecked(false);
    PreservePreferences(program_.Prefs, program_.Spec.Units, select, outline, tabular,
                        program_.PreferencesPath);
}

void MainFrame::onResetPreferences() {
    preserveAction_->setChecked(false);
    resetAction_->setChecked(false);
    ResetPreferences(program_.Prefs, program_.PreferencesPath);
}

void MainFrame::FontCommand(FontChoice choice, QAction* item) {
    ApplyFontChoice(program_.Display, choice);
    for (QAction* font : {msSansSerifAction_, arialAction_, smallArialAction_})
        font->setChecked(font == item);
    if (specification_ != nullptr) specification_->FollowDisplayFont();
    // Windows that paint with the new font, in the order they are asked to repaint.
    QWidget* const order[] = {
        GetFrameWindow(FrameWindow::LicenseInformation), GetFrameWindow(FrameWindow::Introduction),
        GetFrameWindow(FrameWindow::FilterCharacteristics), DocumentWidget(DocumentWindow::Specification),
        DocumentWidget(DocumentWindow::Outline)};
    for (QWidget* window : order) {
        if (window != nullptr) InvalidateWidget(window);
    }
}

void MainFrame::onFontMsSansSerif() { FontCommand(FontChoice::MSSansSerif, msSansSerifAction_); }
void MainFrame::onFontArial() { FontCommand(FontChoice::Arial, arialAction_); }
void MainFrame::onFontSmallArial() { FontCommand(FontChoice::SmallArial, smallArialAction_); }

void MainFrame::onOffsets() {
    const int oldX = program_.Display.FieldOffsetX;
    const int oldY = program_.Display.FieldOffsetY;
    FieldOffsets()->exec();
    if (program_.Display.FieldOffsetX != oldX || program_.Display.FieldOffsetY != oldY) {
        // The fields move before the repaint, so the paint covers them at their new place.
        if (specification_ != nullptr) specification_->PlaceResultLabels();
        if (QWidget* select = DocumentWidget(DocumentWindow::Specification)) InvalidateWidget(select);
    }
}

// --- Help ---

void MainFrame::onHelpMenuShown() {
    const auto hidden = [this](FrameWindow which) {
        const QWidget* window = GetFrameWindow(which);
        return window == nullptr || !window->isVisible();
    };
    licenseInformationAction_->setEnabled(hidden(FrameWindow::LicenseInformation));
    introductionAction_->setEnabled(hidden(FrameWindow::Introduction));
    filterCharacteristicsAction_->setEnabled(hidden(FrameWindow::FilterCharacteristics));
    notesAction_->setEnabled(hidden(FrameWindow::Notes));
    aboutAction_->setEnabled(true);
}

void MainFrame::onLicenseInformation() { ShowFrameWindow(FrameWindow::LicenseInformation); }
void MainFrame::onIntroduction() { ShowFrameWindow(FrameWindow::Introduction); }
void MainFrame::onFilterCharacteristics() { ShowFrameWindow(FrameWindow::FilterCharacteristics); }
void MainFrame::onNotes() { ShowFrameWindow(FrameWindow::Notes); }

void MainFrame::onAbout() {
    QWidget* about = MakeFrameWindow(FrameWindow::About);
    if (auto* dialog = qobject_cast<QDialog*>(about)) {
        dialog->exec();
    } else if (about != nullptr) {
        ShowFrameWindow(FrameWindow::About);
    }
}

}  // namespace veltrix
