#include "outline/mechanical_window.h"

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

#include "outline/outline_drawings.h"
#include "program/choice_text.h"
#include "outline/outline_geometry.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "version/version.h"

namespace veltrix {

namespace {

const QString kWindowFace = QStringLiteral("MS Sans Serif");


}  // namespace

TMechanical::TMechanical(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setObjectName(QStringLiteral("Mechanical"));
    setWindowTitle(QStringLiteral("Outline Drawings"));
    setAccessibleName(QStringLiteral("Outline Drawings"));
    setWindowIcon(WindowIcon());
    // The paint covers every pixel; no background is needed under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(PixelFont(kWindowFace, 11));
    resize(kClientWidth, kClientHeight);
    CreateControls();
    CreateMenus();
    // A verdict may turn the drawing into a notice, or back.
    connect(&program_.Judgement, &SelectionJudgement::Judged, this, qOverload<>(&QWidget::update));
}

TMechanical::~TMechanical() = default;

void TMechanical::CreateControls() {
    VXImage_ = new LogoView(this);
    VXImage_->setObjectName(QStringLiteral("VXImage"));
    VXImage_->setGeometry(395, 204, 225, 61);
    VXImage_->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QString small = QStringLiteral("Small Fonts");
    SymLbl_ = LogoLabel(this, "SymLbl", QString(QChar(0x00AE)), 608, 200, kWindowFace, 16);
    VerLbl_ = LogoLabel(this, "VerLbl", QStringLiteral("V" VELTRIX_VERSION), 608, 240, small, 8);
    Label1_ =
        LogoLabel(this, "Label1", QStringLiteral("Ceramic Filter Selection Program"), 392, 254, small, 8);
    Label2_ = LogoLabel(this, "Label2", QStringLiteral("from Norvane Microwave"), 544, 254, small, 8);

    auto button = [&](const char* name, const QString& text, int left, int top, int width,
                      void (TMechanical::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, top, width, 25);
        b->setAutoDefault(false);
        // Buttons paint their whole rectangle, so their own updates never repaint the drawing.
        b->setAutoFillBackground(true);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    MountBtn_ = button("MountBtn", QStringLiteral("&Mounting Configuration"), 399, 273, 213,
                       &TMechanical::MountBtnClick);
    QString millimetres = LabelOf(DrawingUnits::Millimetres);
    millimetres.insert(2, QLatin1Char('&'));  // "&M" belongs to the Mounting Configuration button
    InchBtn_ = button("InchBtn", MenuTextOf(DrawingUnits::Inches), 399, 303, 101, &TMechanical::InchBtnClick);
    mmBtn_ = button("mmBtn", millimetres, 511, 303, 101, &TMechanical::mmBtnClick);
    PCBBtn_ = button("PCBBtn", QStringLiteral("&PCB Layout"), 399, 334, 101, &TMechanical::PCBBtnClick);
    ReflBtn_ =
        button("ReflBtn", QStringLiteral("&Reflow Profile"), 511, 334, 101, &TMechanical::ReflBtnClick);
    MechSelBtn_ = button("MechSelBtn", QStringLiteral("Selection Scree&n"), 399, 367, 101,
                         &TMechanical::MechSelBtnClick);
    MechRespBtn_ =
        button("MechRespBtn", QStringLiteral("&Tabular Data"), 511, 367, 101, &TMechanical::MechRespBtnClick);

    const QList<QWidget*> tabOrder{MountBtn_, InchBtn_, mmBtn_, PCBBtn_, ReflBtn_, MechSelBtn_, MechRespBtn_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QAction* TMechanical::AddItem(QMenu* menu, const char* name, const QString& text,
                              void (TMechanical::*handler)()) {
    auto* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TMechanical::CreateMenus() {
    auto menu = [&](const char* name, const QString& title) {
        auto* m = new QMenu(title, this);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    File1_ = menu("File1", QStringLiteral("&File"));
    connect(File1_, &QMenu::aboutToShow, this, &TMechanical::File1Click);
    PrintMech_ = AddItem(File1_, "PrintMech", QStringLiteral("&Print"), &TMechanical::PrintMechClick);
    AddItem(File1_, "ExportVectors2", QStringLiteral("&Export as PDF/SVG..."), &TMechanical::ExportVectorsClick);
    File1_->addSeparator()->setObjectName(QStringLiteral("N2"));
    AddItem(File1_, "Exit2", QStringLiteral("E&xit"), &TMechanical::Exit2Click);

    Mounting1_ = menu("Mounting1", QStringLiteral("&Mounting"));
    AddItem(Mounting1_, "OrbisLeadless1", MenuTextOf(MountingStyle::Orbis), &TMechanical::OrbisLeadless1Click);
    AddItem(Mounting1_, "SurfacemountTab1", MenuTextOf(MountingStyle::SurfaceTab),
            &TMechanical::SurfacemountTab1Click);
    AddItem(Mounting1_, "Dropin1", MenuTextOf(MountingStyle::DropIn), &TMechanical::Dropin1Click);

    Units1_ = menu("Units1", QStringLiteral("&Units"));
    AddItem(Units1_, "Inches1", MenuTextOf(DrawingUnits::Inches), &TMechanical::Inches1Click);
    AddItem(Units1_, "Millimeters1", MenuTextOf(DrawingUnits::Millimetres), &TMechanical::Millimeters1Click);

    View1_ = menu("View1", QStringLiteral("&View"));
    AddItem(View1_, "SelectionScreen1", QStringLiteral("&Selection Screen"),
            &TMechanical::SelectionScreen1Click);
    AddItem(View1_, "TabularData1", QStringLiteral("&Tabular Data"), &TMechanical::TabularData1Click);
}

QList<GroupedMenu> TMechanical::GroupedMenus() {
    return {{0, File1_}, {1, Mounting1_}, {2, Units1_}, {3, View1_}};
}

void TMechanical::ColourLabels(bool printing) {
    const QColor text = printing ? kPageBlack : kPageWhite;
    VXImage_->SetPrinting(printing);
    for (QLabel* label : {VerLbl_, SymLbl_, Label1_, Label2_}) SetLabelColours(label, text);
}

void TMechanical::FormPaint(QPainter& canvas, QSize clientSize) {
    const DisplaySettings& display = program_.Display;
    const FilterSpec& spec = program_.Spec;
    drawnTexts_.clear();

    const QSize picture(std::max(clientSize.width(), kClientWidth),
                        std::max(clientSize.height() + kPictureTop, kPictureHeight));
    const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    const QSize window(clientSize.width(), clientSize.height() + kPictureTop);
    DrawingCanvas page(page_.BeginPage(canvas, picture, window, display.PaintCopyMode, 0, ratio), &drawnTexts_);
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
    const QString description = QString::fromStdString(OutlineDescription(spec, spec.Units));
    if (accessibleDescription() != description) setAccessibleDescription(description);

    // The picture reaches the window from its row 50: shift the surface up and copy one band deeper.
    canvas.save();
    canvas.translate(0, -kPictureTop);
    page_.Present(canvas, window, display.PaintCopyMode, 0, ratio);
    canvas.restore();
    ColourLabels(display.PaintCopyMode == CopyMode::InvertedSource);
}

void TMechanical::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FormPaint(painter, size());
}

}  // namespace veltrix
