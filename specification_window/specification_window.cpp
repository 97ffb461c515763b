#include "specification_window/specification_window.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <utility>

#include "engine/selection.h"
#include "platform/accessible.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "platform/page_button.h"
#include "program/choice_text.h"
#include "program/selection_judgement.h"
#include "specification_window/response_graph.h"
#include "specification_window/specification_painter.h"
#include "version/version.h"

namespace veltrix {

namespace {

const QString kEntryFace = QStringLiteral("MS Sans Serif");

// Children paint their whole rectangle, so their own updates (a blinking cursor, a hovered button)
// never repaint the screen underneath them; only the screen's own invalidations do.
void MakeOpaque(QWidget* widget) { widget->setAutoFillBackground(true); }

template <typename T>
T* Place(T* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

void SetText(QLabel* label, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (label->text() != value) label->setText(value);
}

// Only a changed text is written, so a paint does not reset a field's cursor or selection.
void SetText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

}  // namespace

SpecificationWindow::SpecificationWindow(Program& program, QWidget* parent)
    : QWidget(parent), program_(program) {
    setObjectName(QStringLiteral("specification_window"));
    setWindowTitle(QStringLiteral("Specify Filter"));
    setWindowIcon(WindowIcon());
    // The paint covers every pixel; no background is needed under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The entry fields' font, set before they exist: a list box told its font later builds its
    // drop-down list there and then.
    setFont(PixelFont(kEntryFace, 11));
    resize(kClientWidth, kClientHeight);
    CreateControls();
    CreateMenus();
    SetStartValues();
    ColourComponents(false);
    FollowDisplayFont();
    PlaceResultLabels();
    // The verdict's focus move and field texts happen in the reaction; the paint only draws.
    connect(&program_.Judgement, &SelectionJudgement::Judged, this, &SpecificationWindow::ShowJudgement);
    // The first judgement writes the texts of the entry fields.
    program_.Judgement.InputsChanged();
}

SpecificationWindow::~SpecificationWindow() = default;

void SpecificationWindow::CreateControls() {
    const QFont buttonFont = PixelFont(kEntryFace, 13);
    auto edit = [&](const char* name, int left, int top) {
        auto* field = Place(new QLineEdit(this), name, left, top, 50, 21);
        MakeOpaque(field);
        field->installEventFilter(this);
        return field;
    };
    auto list = [&](const char* name, int left, int top, int width, const QStringList& items) {
        auto* box = Place(new QComboBox(this), name, left, top, width, 21);
        box->addItems(items);
        MakeOpaque(box);
        box->installEventFilter(this);
        return box;
    };
    auto button = [&](const char* name, const QString& text, int left, int width,
                      void (SpecificationWindow::*handler)()) {
        auto* b = Place(new PageButton(text, this), name, left, 375, width, 25);
        b->setFont(buttonFont);
        MakeOpaque(b);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };

    outlineDrawingButton_ = button("outline_drawing_button", QStringLiteral("&Outline Drawing"), 7, 110,
                                   &SpecificationWindow::onOutlineDrawingButton);
    tabularDataButton_ = button("tabular_data_button", QStringLiteral("&Tabular Data"), 125, 105,
                                &SpecificationWindow::onTabularDataButton);
    tolerancesButton_ = button("tolerances_button", QStringLiteral("Tolerances"), 238, 106,
                               &SpecificationWindow::onTolerances);

    graphArea_ = Place(new QWidget(this), "response_graph", kGraphLeft + kPageShift, kGraphTop, kGraphWidth,
                       kGraphHeight);
    graphArea_->setAttribute(Qt::WA_TransparentForMouseEvents);
    graphArea_->setFocusPolicy(Qt::NoFocus);
    graphArea_->setAccessibleName(QStringLiteral("Response graph"));
    setAccessibleName(QStringLiteral("Specify Filter"));

    centreFrequencyEdit_ = edit("centre_frequency", 86, 152);
    sectionsBox_ = list("sections", 86, 194, 77, {"2", "3", "4", "5", "6"});
    bandwidthEdit_ = edit("bandwidth", 251, 152);
    passbandDefinitionBox_ = list("passband_definition", 251, 194, 77, ListItemsOf<PassbandChoice>());
    profileBox_ = list("profile", 86, 236, 77, ListItemsOf<ResonatorProfile>());
    dielectricBox_ = list("dielectric", 251, 236, 77, ListItemsOf<DielectricMaterial>());
    stopbandF1Edit_ = edit("stopband_f1", 148, 324);
    stopbandF2Edit_ = edit("stopband_f2", 245, 324);
    graphWidthBox_ = list("graph_width", 472, 380, 102,
                          {"1 * bandwidth", "2 * bandwidth", "3 * bandwidth", "4 * bandwidth",
                           "5 * bandwidth", "6 * bandwidth"});
    graphWidthBox_->setMaxVisibleItems(6);
    // The painted labels beside the fields, for a screen reader.
    centreFrequencyEdit_->setAccessibleName(QStringLiteral("Center Frequency"));
    bandwidthEdit_->setAccessibleName(QStringLiteral("Bandwidth (minimum)"));
    stopbandF1Edit_->setAccessibleName(QStringLiteral("F1 Frequency"));
    stopbandF2Edit_->setAccessibleName(QStringLiteral("F2 Frequency"));
    NameList(sectionsBox_, QStringLiteral("Number of Sections"));
    NameList(passbandDefinitionBox_, QStringLiteral("Passband Definition"));
    NameList(profileBox_, QStringLiteral("Resonator Profile"));
    NameList(dielectricBox_, QStringLiteral("Dielectric Constant"));
    NameList(graphWidthBox_, QStringLiteral("Graph Width"));
    // Its keys are the list's own: no Enter chain, no window keys.
    graphWidthBox_->removeEventFilter(this);

    keyHandlers_ = {{centreFrequencyEdit_, &SpecificationWindow::onCentreFrequencyKey},
                    {bandwidthEdit_, &SpecificationWindow::onBandwidthKey},
                    {stopbandF1Edit_, &SpecificationWindow::onStopbandF1Key},
                    {stopbandF2Edit_, &SpecificationWindow::onStopbandF2Key},
                    {sectionsBox_, &SpecificationWindow::onSectionsKey},
                    {passbandDefinitionBox_, &SpecificationWindow::onPassbandDefinitionKey},
                    {profileBox_, &SpecificationWindow::onProfileKey},
                    {dielectricBox_, &SpecificationWindow::onDielectricKey}};

    connect(sectionsBox_, &QComboBox::activated, this, &SpecificationWindow::onSectionsChange);
    connect(passbandDefinitionBox_, &QComboBox::activated, this,
            &SpecificationWindow::onPassbandDefinitionChange);
    connect(profileBox_, &QComboBox::activated, this, &SpecificationWindow::onProfileChange);
    connect(dielectricBox_, &QComboBox::activated, this, &SpecificationWindow::onDielectricChange);
    connect(graphWidthBox_, &QComboBox::activated, this, &SpecificationWindow::onGraphWidthChange);

    const QList<QWidget*> tabOrder{outlineDrawingButton_,  tabularDataButton_, tolerancesButton_,
                                   centreFrequencyEdit_,   sectionsBox_,       bandwidthEdit_,
                                   passbandDefinitionBox_, profileBox_,        dielectricBox_,
                                   stopbandF1Edit_,        stopbandF2Edit_,    graphWidthBox_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    auto resultLabel = [&](const char* name, int left, int top, int width, Qt::Alignment alignment) {
        auto* label = Place(new QLabel(QStringLiteral(" "), this), name, left, top, width, 16);
        label->setAlignment(alignment | Qt::AlignVCenter);
        label->setAutoFillBackground(true);
        return label;
    };
    insertionLossLabel_ = resultLabel("insertion_loss", 16, 266, 313, Qt::AlignHCenter);
    stopbandF1Label_ = resultLabel("stopband_f1_attenuation", 136, 348, 57, Qt::AlignRight);
    stopbandF2Label_ = resultLabel("stopband_f2_attenuation", 232, 348, 57, Qt::AlignRight);

    logo_ = Place(new LogoView(this), "logo", 43, 12, 225, 61);
    const QString small = QStringLiteral("Small Fonts");
    registeredLabel_ = LogoLabel(this, "registered_mark", QString(QChar(0x00AE)), 256, 8, kEntryFace, 16);
    versionLabel_ = LogoLabel(this, "version", QStringLiteral("V" VELTRIX_VERSION), 256, 48, small, 8);
    caption_ =
        LogoLabel(this, "caption", QStringLiteral("Ceramic Filter Selection Program"), 40, 62, small, 8);
    caption2_ = LogoLabel(this, "maker_caption", QStringLiteral("from Norvane Microwave"), 192, 62, small, 8);
    for (QWidget* label :
         std::initializer_list<QWidget*>{logo_, registeredLabel_, versionLabel_, caption_, caption2_})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QAction* SpecificationWindow::AddItem(QMenu* menu, const char* name, const QString& text,
                                      void (SpecificationWindow::*handler)()) {
    auto* action = menu->addAction(text);
    actions_.Add(QString::fromLatin1(name), action);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void SpecificationWindow::CreateMenus() {
    auto menu = [&](QMenu* parentMenu, const char* name, const QString& title) {
        auto* m = parentMenu ? parentMenu->addMenu(title) : new QMenu(title, this);
        return actions_.AddMenu(QString::fromLatin1(name), m);
    };

    fileMenu_ = menu(nullptr, "file", QStringLiteral("&File"));
    connect(fileMenu_, &QMenu::aboutToShow, this, &SpecificationWindow::onFileMenuShown);
    printAction_ = AddItem(fileMenu_, "print", QStringLiteral("&Print"), &SpecificationWindow::onPrint);
    AddItem(fileMenu_, "export_vectors", QStringLiteral("&Export as PDF/SVG..."),
            &SpecificationWindow::onExportVectors);
    addToComparisonAction_ = AddItem(fileMenu_, "add_to_comparison", QStringLiteral("Add to &Comparison"),
                                     &SpecificationWindow::onAddToComparison);
    exportDatasheetAction_ = AddItem(fileMenu_, "export_datasheet", QStringLiteral("Export &Datasheet..."),
                                     &SpecificationWindow::onExportDatasheet);
    fileMenu_->addSeparator();
    AddItem(fileMenu_, "exit", QStringLiteral("E&xit"), &SpecificationWindow::onExit);

    passbandMenu_ = menu(nullptr, "passband", QStringLiteral("&Passband"));
    AddItem(passbandMenu_, "passband_frequency", QStringLiteral("&Frequency"),
            &SpecificationWindow::onPassbandFrequency);
    QMenu* definition = menu(passbandMenu_, "passband_definition", QStringLiteral("&Definition"));
    AddItem(definition, "passband_definition_0_5db", MenuTextOf(PassbandChoice::Db0_5),
            &SpecificationWindow::onPassbandDefinition05dB);
    AddItem(definition, "passband_definition_1_0db", MenuTextOf(PassbandChoice::Db1_0),
            &SpecificationWindow::onPassbandDefinition10dB);
    AddItem(definition, "passband_definition_3_0db", MenuTextOf(PassbandChoice::Db3_0),
            &SpecificationWindow::onPassbandDefinition30dB);
    AddItem(passbandMenu_, "passband_bandwidth", QStringLiteral("&Bandwidth"),
            &SpecificationWindow::onPassbandBandwidth);
    QMenu* sections = menu(passbandMenu_, "sections", QStringLiteral("&Number of Sections"));
    AddItem(sections, "sections_2", QStringLiteral("2"), &SpecificationWindow::onTwoSections);
    AddItem(sections, "sections_3", QStringLiteral("3"), &SpecificationWindow::onThreeSections);
    AddItem(sections, "sections_4", QStringLiteral("4"), &SpecificationWindow::onFourSections);
    AddItem(sections, "sections_5", QStringLiteral("5"), &SpecificationWindow::onFiveSections);
    AddItem(sections, "sections_6", QStringLiteral("6"), &SpecificationWindow::onSixSections);
    QMenu* profile = menu(passbandMenu_, "profile", QStringLiteral("&Profile"));
    const std::pair<ResonatorProfile, QAction*> profileItems[] = {
        {ResonatorProfile::Mm4, AddItem(profile, "profile_4mm", MenuTextOf(ResonatorProfile::Mm4),
                                        &SpecificationWindow::onProfile4mm)},
        {ResonatorProfile::Mm6, AddItem(profile, "profile_6mm", MenuTextOf(ResonatorProfile::Mm6),
                                        &SpecificationWindow::onProfile6mm)},
        {ResonatorProfile::Mm12, AddItem(profile, "profile_12mm", MenuTextOf(ResonatorProfile::Mm12),
                                         &SpecificationWindow::onProfile12mm)}};
    for (const auto& [choice, item] : profileItems) {
        // A withdrawn profile keeps its item, disabled and hidden.
        if (RowOf(choice).Offered) continue;
        item->setEnabled(false);
        item->setVisible(false);
    }
    QMenu* dielectric = menu(passbandMenu_, "dielectric", QStringLiteral("&K (Dielectric constant)"));
    AddItem(dielectric, "dielectric_dl", MenuTextOf(DielectricMaterial::DL),
            &SpecificationWindow::onDielectricDL);
    AddItem(dielectric, "dielectric_dr", MenuTextOf(DielectricMaterial::DR),
            &SpecificationWindow::onDielectricDR);
    AddItem(dielectric, "dielectric_dh", MenuTextOf(DielectricMaterial::DH),
            &SpecificationWindow::onDielectricDH);

    stopbandMenu_ = menu(nullptr, "stopband", QStringLiteral("Stop&band"));
    AddItem(stopbandMenu_, "stopband_f1", QStringLiteral("F&1"), &SpecificationWindow::onStopbandF1);
    AddItem(stopbandMenu_, "stopband_f2", QStringLiteral("F&2"), &SpecificationWindow::onStopbandF2);

    // Radio items whose mark the program never sets: plain items show exactly that.
    graphMenu_ = menu(nullptr, "graph", QStringLiteral("&Graph"));
    AddItem(graphMenu_, "graph_width_1", QStringLiteral("&1 bandwidth"), &SpecificationWindow::onGraphWidth1);
    AddItem(graphMenu_, "graph_width_2", QStringLiteral("&2 bandwidths"),
            &SpecificationWindow::onGraphWidth2);
    AddItem(graphMenu_, "graph_width_3", QStringLiteral("&3 bandwidths"),
            &SpecificationWindow::onGraphWidth3);
    AddItem(graphMenu_, "graph_width_4", QStringLiteral("&4 bandwidths"),
            &SpecificationWindow::onGraphWidth4);
    AddItem(graphMenu_, "graph_width_5", QStringLiteral("&5 bandwidths"),
            &SpecificationWindow::onGraphWidth5);
    AddItem(graphMenu_, "graph_width_6", QStringLiteral("&6 bandwidths"),
            &SpecificationWindow::onGraphWidth6);

    mountingMenu_ = menu(nullptr, "mounting", QStringLiteral("&Mounting"));
    AddItem(mountingMenu_, "mounting_orbis_leadless", MenuTextOf(MountingStyle::Orbis),
            &SpecificationWindow::onMountingOrbisLeadless);
    AddItem(mountingMenu_, "mounting_surface_tab", MenuTextOf(MountingStyle::SurfaceTab),
            &SpecificationWindow::onMountingSurfaceTab);
    AddItem(mountingMenu_, "mounting_drop_in", MenuTextOf(MountingStyle::DropIn),
            &SpecificationWindow::onMountingDropIn);

    viewMenu_ = menu(nullptr, "view", QStringLiteral("&View"));
    AddItem(viewMenu_, "outline_drawings", QStringLiteral("&Outline Drawings"),
            &SpecificationWindow::onOutlineDrawings);
    AddItem(viewMenu_, "tabular_data", QStringLiteral("&Tabular Data"), &SpecificationWindow::onTabularData);
}

QList<GroupedMenu> SpecificationWindow::GroupedMenus() {
    return {{0, fileMenu_},  {1, passbandMenu_}, {2, stopbandMenu_},
            {5, graphMenu_}, {5, mountingMenu_}, {5, viewMenu_}};
}

void SpecificationWindow::SetStartValues() {
    ShowChoicesInLists();
    graphWidthBox_->setCurrentIndex(static_cast<int>(program_.Spec.GraphHalfSpan * 2.0) - 1);
}

void SpecificationWindow::ShowChoicesInLists() {
    const FilterSpec& spec = program_.Spec;
    passbandDefinitionBox_->setCurrentIndex(PassbandIndex(spec.PBD));
    sectionsBox_->setCurrentIndex(spec.Sections - 2);
    const int profile = IndexOf(spec.Profile);
    profileBox_->setCurrentIndex(profile < profileBox_->count() ? profile : -1);
    dielectricBox_->setCurrentIndex(IndexOf(spec.Dielectric));
}

void SpecificationWindow::ColourComponents(bool printing) {
    const QColor& logoText = printing ? kPageBlack : kPageWhite;
    for (QLabel* label : {caption_, caption2_, versionLabel_, registeredLabel_})
        SetLabelColours(label, logoText);
    logo_->SetPrinting(printing);
    const QColor& resultBackground = printing ? kPageWhite : kPageBlack;
    const QColor& resultText = printing ? kPageBlack : kPageYellow;
    for (QLabel* label : {insertionLossLabel_, stopbandF1Label_, stopbandF2Label_})
        SetLabelColours(label, resultText, &resultBackground);
}

void SpecificationWindow::FollowDisplayFont() {
    const QFont resultFont = PointFont(kEntryFace, program_.Display.FontSizeSmall);
    for (QLabel* label : {insertionLossLabel_, stopbandF1Label_, stopbandF2Label_})
        label->setFont(resultFont);
}

bool SpecificationWindow::PlaceResultLabels() {
    const int dx = program_.Display.FieldOffsetX;
    const int dy = program_.Display.FieldOffsetY;
    const QRect il0(QPoint(16 - dx, 266 - dy), insertionLossLabel_->size());
    const QRect il1(136 - dx, 348 - dy, 57, stopbandF1Label_->height());
    const QRect il2(232 - dx, 348 - dy, 57, stopbandF2Label_->height());
    const bool moved = insertionLossLabel_->geometry() != il0 || stopbandF1Label_->geometry() != il1 ||
                       stopbandF2Label_->geometry() != il2;
    insertionLossLabel_->setGeometry(il0);
    stopbandF1Label_->setGeometry(il1);
    stopbandF2Label_->setGeometry(il2);
    return moved;
}

void SpecificationWindow::ShowEntryTexts(FocusTarget focus) {
    const FilterSpec& spec = program_.Spec;
    SetText(centreFrequencyEdit_, FormatC("%.1f", spec.F0));
    if (focus == FocusTarget::F0Edit) centreFrequencyEdit_->setFocus();
    SetText(bandwidthEdit_, FormatC("%.2f", spec.BW));
    if (focus == FocusTarget::BWEdit) bandwidthEdit_->setFocus();
    SetText(stopbandF1Edit_, FormatC("%.2f", spec.F1));
    SetText(stopbandF2Edit_, FormatC("%.2f", spec.F2));
}

void SpecificationWindow::ShowJudgement() {
    const JudgedSelection& judged = program_.Judgement.Latest();
    const SelectionResults& results = judged.Selection;
    const RuleOutcome& outcome = results.Outcome;
    const FilterSpec& spec = judged.Spec;
    const bool valid = judged.Standard();
    ShowEntryTexts(outcome.Focus);

    SetText(insertionLossLabel_, InsertionLossLabel(outcome));
    SetText(stopbandF1Label_,
            valid ? StopbandLabel(results.F1Computed, results.F1Attenuation) : std::string(" "));
    SetText(stopbandF2Label_,
            valid ? StopbandLabel(results.F2Computed, results.F2Attenuation) : std::string(" "));

    graphWidthBox_->setVisible(valid);
    const QString summary = QString::fromStdString(SelectionSummary(spec, results));
    if (accessibleDescription() != summary) setAccessibleDescription(summary);
    graphArea_->setVisible(valid);
    const QString graph = valid ? QStringLiteral(
                                      "Attenuation (dBc), return loss (dB) and group delay (ns) of %1 "
                                      "from %2 to %3 MHz")
                                      .arg(QString::fromStdString(outcome.PartNumber))
                                      .arg(spec.F0 - spec.GraphHalfSpan * spec.BW, 0, 'f', 1)
                                      .arg(spec.F0 + spec.GraphHalfSpan * spec.BW, 0, 'f', 1)
                                : QString();
    if (graphArea_->accessibleDescription() != graph) graphArea_->setAccessibleDescription(graph);

    update();
}

void SpecificationWindow::FormPaint(QPainter& canvas, QSize clientSize) {
    const DisplaySettings& display = program_.Display;

    drawnTexts_.clear();
    const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    PageCanvas page(page_.BeginPage(canvas, clientSize, clientSize, display.PaintCopyMode, kPageShift, ratio),
                    &drawnTexts_, {.lines = &page_.TextLines()});

    const SelectionJudgement& judgement = program_.Judgement;
    if (judgement.HasJudged()) {
        const JudgedSelection& judged = judgement.Latest();
        const SelectionResults& results = judged.Selection;
        const RuleOutcome& outcome = results.Outcome;
        const bool valid = judged.Standard();
        PaintMessageColumn(page, outcome.MessageLines, display);
        PaintPartNumber(page, valid, outcome.PartNumber, display);
        PaintInputFrames(page, display);
        if (valid) {
            DrawResponseGraph(page, judged.Response, display);
            PaintGuaranteeNotice(page, results.Guarantee, display);
        } else {
            PaintContactNotice(page, static_cast<int>(outcome.MessageLines.size()), display);
        }
    } else {
        PaintInputFrames(page, display);
    }

    page_.Present(canvas, clientSize, display.PaintCopyMode, kPageShift, ratio);
}

void SpecificationWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FormPaint(painter, size());
}

}  // namespace veltrix
