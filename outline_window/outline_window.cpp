#include "outline_window/outline_window.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

#include "outline_geometry/outline_geometry.h"
#include "outline_window/outline_drawings.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "platform/page_button.h"
#include "program/choice_text.h"
#include "version/version.h"

namespace veltrix {

namespace {

const QString kWindowFace = QStringLiteral("MS Sans Serif");

}  // namespace

OutlineWindow::OutlineWindow(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setObjectName(QStringLiteral("outline_window"));
    setWindowTitle(QStringLiteral("Outline Drawings"));
    setAccessibleName(QStringLiteral("Outline Drawings"));
    setWindowIcon(WindowIcon());
    // The paint covers every pixel; no background is needed under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(PixelFont(kWindowFace, 11));
    resize(kClientWidth, kClientHeight);
    CreateControls();
    CreateMenus();
    ColourLabels(false);
    DescribeDrawing();
    // A verdict may turn the drawing into a notice, or back.
    connect(&program_.Judgement, &SelectionJudgement::Judged, this, [this] {
        DescribeDrawing();
        update();
    });
}

FilterSpec OutlineWindow::ShownSpecification() const {
    // Before the first judgement the record is all there is.
    FilterSpec spec = program_.Judgement.HasJudged() ? program_.Judgement.Latest().Spec : program_.Spec;
    // The units are this window's own choice, not an input of the verdict.
    spec.Units = program_.Spec.Units;
    return spec;
}

void OutlineWindow::DescribeDrawing() {
    const FilterSpec spec = ShownSpecification();
    const QString description = QString::fromStdString(OutlineDescription(spec, spec.Units));
    if (accessibleDescription() != description) setAccessibleDescription(description);
}

OutlineWindow::~OutlineWindow() = default;

void OutlineWindow::CreateControls() {
    logo_ = new LogoView(this);
    logo_->setObjectName(QStringLiteral("logo"));
    logo_->setGeometry(395, 204, 225, 61);
    logo_->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QString small = QStringLiteral("Small Fonts");
    registeredLabel_ = LogoLabel(this, "registered_mark", QString(QChar(0x00AE)), 608, 200, kWindowFace, 16);
    versionLabel_ = LogoLabel(this, "version", QStringLiteral("V" VELTRIX_VERSION), 608, 240, small, 8);
    partLabel_ =
        LogoLabel(this, "caption", QStringLiteral("Ceramic Filter Selection Program"), 392, 254, small, 8);
    partNumberLabel_ =
        LogoLabel(this, "maker_caption", QStringLiteral("from Norvane Microwave"), 544, 254, small, 8);

    auto button = [&](const char* name, const QString& text, int left, int top, int width,
                      void (OutlineWindow::*handler)()) {
        auto* b = new PageButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, top, width, 25);
        // Buttons paint their whole rectangle, so their own updates never repaint the drawing.
        b->setAutoFillBackground(true);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    mountingInstructionsButton_ =
        button("mounting_configuration_button", QStringLiteral("&Mounting Configuration"), 399, 273, 213,
               &OutlineWindow::onMountingInstructions);
    QString millimetres = LabelOf(DrawingUnits::Millimetres);
    millimetres.insert(2, QLatin1Char('&'));  // "&M" belongs to the Mounting Configuration button
    inchesButton_ = button("inches_button", MenuTextOf(DrawingUnits::Inches), 399, 303, 101,
                           &OutlineWindow::onInchesButton);
    millimetersButton_ =
        button("millimeters_button", millimetres, 511, 303, 101, &OutlineWindow::onMillimetersButton);
    pcbLayoutButton_ = button("pcb_layout_button", QStringLiteral("&PCB Layout"), 399, 334, 101,
                              &OutlineWindow::onPcbLayout);
    reflowProfileButton_ = button("reflow_profile_button", QStringLiteral("&Reflow Profile"), 511, 334, 101,
                                  &OutlineWindow::onReflowProfile);
    selectionScreenButton_ = button("selection_screen_button", QStringLiteral("Selection Scree&n"), 399, 367,
                                    101, &OutlineWindow::onSelectionScreenButton);
    tabularDataButton_ = button("tabular_data_button", QStringLiteral("&Tabular Data"), 511, 367, 101,
                                &OutlineWindow::onTabularDataButton);

    const QList<QWidget*> tabOrder{
        mountingInstructionsButton_, inchesButton_,          millimetersButton_, pcbLayoutButton_,
        reflowProfileButton_,        selectionScreenButton_, tabularDataButton_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QAction* OutlineWindow::AddItem(QMenu* menu, const char* name, const QString& text,
                                void (OutlineWindow::*handler)()) {
    auto* action = menu->addAction(text);
    actions_.Add(QString::fromLatin1(name), action);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void OutlineWindow::CreateMenus() {
    auto menu = [&](const char* name, const QString& title) {
        auto* m = new QMenu(title, this);
        return actions_.AddMenu(QString::fromLatin1(name), m);
    };
    fileMenu_ = menu("file", QStringLiteral("&File"));
    connect(fileMenu_, &QMenu::aboutToShow, this, &OutlineWindow::onFileMenuShown);
    printAction_ = AddItem(fileMenu_, "print", QStringLiteral("&Print"), &OutlineWindow::onPrint);
    AddItem(fileMenu_, "export_vectors", QStringLiteral("&Export as PDF/SVG..."),
            &OutlineWindow::onExportVectors);
    fileMenu_->addSeparator();
    AddItem(fileMenu_, "exit", QStringLiteral("E&xit"), &OutlineWindow::onExit);

    mountingMenu_ = menu("mounting", QStringLiteral("&Mounting"));
    AddItem(mountingMenu_, "mounting_orbis_leadless", MenuTextOf(MountingStyle::Orbis),
            &OutlineWindow::onMountingOrbisLeadless);
    AddItem(mountingMenu_, "mounting_surface_tab", MenuTextOf(MountingStyle::SurfaceTab),
            &OutlineWindow::onMountingSurfaceTab);
    AddItem(mountingMenu_, "mounting_drop_in", MenuTextOf(MountingStyle::DropIn),
            &OutlineWindow::onMountingDropIn);

    unitsMenu_ = menu("units", QStringLiteral("&Units"));
    AddItem(unitsMenu_, "inches", MenuTextOf(DrawingUnits::Inches), &OutlineWindow::onInches);
    AddItem(unitsMenu_, "millimeters", MenuTextOf(DrawingUnits::Millimetres), &OutlineWindow::onMillimeters);

    viewMenu_ = menu("view", QStringLiteral("&View"));
    AddItem(viewMenu_, "selection_screen", QStringLiteral("&Selection Screen"),
            &OutlineWindow::onSelectionScreen);
    AddItem(viewMenu_, "tabular_data", QStringLiteral("&Tabular Data"), &OutlineWindow::onTabularData);
}

QList<GroupedMenu> OutlineWindow::GroupedMenus() {
    return {{0, fileMenu_}, {1, mountingMenu_}, {2, unitsMenu_}, {3, viewMenu_}};
}

void OutlineWindow::ColourLabels(bool printing) {
    const QColor text = printing ? kPageBlack : kPageWhite;
    logo_->SetPrinting(printing);
    for (QLabel* label : {versionLabel_, registeredLabel_, partLabel_, partNumberLabel_})
        SetLabelColours(label, text);
}

void OutlineWindow::FormPaint(QPainter& canvas, QSize clientSize) {
    const DisplaySettings& display = program_.Display;
    const FilterSpec spec = ShownSpecification();
    drawnTexts_.clear();

    const QSize picture(std::max(clientSize.width(), kClientWidth),
                        std::max(clientSize.height() + kPictureTop, kPictureHeight));
    const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    const QSize window(clientSize.width(), clientSize.height() + kPictureTop);
    DrawingCanvas page(page_.BeginPage(canvas, picture, window, display.PaintCopyMode, 0, ratio),
                       &drawnTexts_, &page_.TextLines());
    if (const auto notice = OutlineNotice(spec)) {
        page.SetBrush(kPageBlack);
        page.SetFont(display.FontName, display.FontSizeMedium);
        page.SetFontColour(kPageGreen);
        page.TextOut(180, 180, QString::fromStdString((*notice)[0]));
        page.TextOut(180, 210, QString::fromStdString((*notice)[1]));
    } else {
        DrawOutline(page, spec, display);
    }
    page.Flush();

    // The picture reaches the window from its row 50: shift the surface up and copy one band deeper.
    canvas.save();
    canvas.translate(0, -kPictureTop);
    page_.Present(canvas, window, display.PaintCopyMode, 0, ratio);
    canvas.restore();
}

void OutlineWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FormPaint(painter, size());
}

}  // namespace veltrix
