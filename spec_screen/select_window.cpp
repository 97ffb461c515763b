#include "spec_screen/select_window.h"

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
#include "program/choice_text.h"
#include "program/selection_judgement.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "spec_screen/response_graph.h"
#include "spec_screen/select_painter.h"
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

TSelect::TSelect(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setObjectName(QStringLiteral("Select"));
    setWindowTitle(QStringLiteral("Specify Filter"));
    setWindowIcon(WindowIcon());
    // The paint covers every pixel; no background is needed under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(PixelFont(kEntryFace, 13));
    resize(kClientWidth, kClientHeight);
    CreateControls();
    CreateMenus();
    FormCreate();
    PlaceResultLabels();
    // The verdict's focus move and field texts happen in the reaction; the paint only draws.
    connect(&program_.Judgement, &SelectionJudgement::Judged, this, &TSelect::ShowJudgement);
    // The first judgement writes the texts of the entry fields.
    program_.Judgement.InputsChanged();
}

TSelect::~TSelect() = default;

void TSelect::CreateControls() {
    const QFont entryFont = PixelFont(kEntryFace, 11);
    auto edit = [&](const char* name, int left, int top) {
        auto* field = Place(new QLineEdit(this), name, left, top, 50, 21);
        field->setFont(entryFont);
        MakeOpaque(field);
        field->installEventFilter(this);
        return field;
    };
    auto list = [&](const char* name, int left, int top, int width, const QStringList& items) {
        auto* box = Place(new QComboBox(this), name, left, top, width, 21);
        box->setFont(entryFont);
        box->addItems(items);
        MakeOpaque(box);
        box->installEventFilter(this);
        return box;
    };
    auto button = [&](const char* name, const QString& text, int left, int width,
                      void (TSelect::*handler)()) {
        auto* b = Place(new QPushButton(text, this), name, left, 375, width, 25);
        b->setAutoDefault(false);
        MakeOpaque(b);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };

    SelMechBtn_ = button("SelMechBtn", QStringLiteral("&Outline Drawing"), 7, 110, &TSelect::SelMechBtnClick);
    SelRespBtn_ = button("SelRespBtn", QStringLiteral("&Tabular Data"), 125, 105, &TSelect::SelRespBtnClick);
    TolBtn_ = button("TolBtn", QStringLiteral("Tolerances"), 238, 106, &TSelect::TolBtnClick);

    graphArea_ = Place(new QWidget(this), "GraphArea", kGraphLeft + kPageShift, kGraphTop, kGraphWidth, kGraphHeight);
    graphArea_->setAttribute(Qt::WA_TransparentForMouseEvents);
    graphArea_->setFocusPolicy(Qt::NoFocus);
    graphArea_->setAccessibleName(QStringLiteral("Response graph"));
    setAccessibleName(QStringLiteral("Specify Filter"));

    F0Edit_ = edit("F0Edit", 86, 152);
    NCBox_ = list("NCBox", 86, 194, 77, {"2", "3", "4", "5", "6"});
    BWEdit_ = edit("BWEdit", 251, 152);
    PBDCBox_ = list("PBDCBox", 251, 194, 77, ListItemsOf<PassbandChoice>());
    RPBox_ = list("RPBox", 86, 236, 77, ListItemsOf<ResonatorProfile>());
    DBox_ = list("DBox", 251, 236, 77, ListItemsOf<DielectricMaterial>());
    F1Edit_ = edit("F1Edit", 148, 324);
    F2Edit_ = edit("F2Edit", 245, 324);
    comboGraphWidth_ = list("comboGraphWidth", 472, 380, 102,
                            {"1 * bandwidth", "2 * bandwidth", "3 * bandwidth", "4 * bandwidth",
                             "5 * bandwidth", "6 * bandwidth"});
    comboGraphWidth_->setMaxVisibleItems(6);
    // Its keys are the list's own: no Enter chain, no window keys.
    comboGraphWidth_->removeEventFilter(this);

    keyHandlers_ = {{F0Edit_, &TSelect::F0EditKeyPress}, {BWEdit_, &TSelect::BWEditKeyPress},
                    {F1Edit_, &TSelect::F1EditKeyPress}, {F2Edit_, &TSelect::F2EditKeyPress},
                    {NCBox_, &TSelect::NCBoxKeyPress},   {PBDCBox_, &TSelect::PBDCBoxKeyPress},
                    {RPBox_, &TSelect::RPBoxKeyPress},   {DBox_, &TSelect::DBoxKeyPress}};

    connect(NCBox_, &QComboBox::activated, this, &TSelect::NCBoxChange);
    connect(PBDCBox_, &QComboBox::activated, this, &TSelect::PBDCBoxChange);
    connect(RPBox_, &QComboBox::activated, this, &TSelect::RPBoxChange);
    connect(DBox_, &QComboBox::activated, this, &TSelect::DBoxChange);
    connect(comboGraphWidth_, &QComboBox::activated, this, &TSelect::comboGraphWidthChange);

    const QList<QWidget*> tabOrder{SelMechBtn_, SelRespBtn_, TolBtn_, F0Edit_, NCBox_,  BWEdit_,
                                   PBDCBox_,    RPBox_,      DBox_,   F1Edit_, F2Edit_, comboGraphWidth_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    auto resultLabel = [&](const char* name, int left, int top, int width, Qt::Alignment alignment) {
        auto* label = Place(new QLabel(QStringLiteral(" "), this), name, left, top, width, 16);
        label->setAlignment(alignment | Qt::AlignVCenter);
        label->setAutoFillBackground(true);
        return label;
    };
    IL0Label_ = resultLabel("IL0Label", 16, 266, 313, Qt::AlignHCenter);
    IL1Label_ = resultLabel("IL1Label", 136, 348, 57, Qt::AlignRight);
    IL2Label_ = resultLabel("IL2Label", 232, 348, 57, Qt::AlignRight);

    VXImage_ = Place(new LogoView(this), "VXImage", 43, 12, 225, 61);
    const QString small = QStringLiteral("Small Fonts");
    SymLbl_ = LogoLabel(this, "SymLbl", QString(QChar(0x00AE)), 256, 8, kEntryFace, 16);
    VerLbl_ = LogoLabel(this, "VerLbl", QStringLiteral("V" VELTRIX_VERSION), 256, 48, small, 8);
    Caption_ =
        LogoLabel(this, "Caption", QStringLiteral("Ceramic Filter Selection Program"), 40, 62, small, 8);
    Caption2_ = LogoLabel(this, "Caption2", QStringLiteral("from Norvane Microwave"), 192, 62, small, 8);
    for (QWidget* label : std::initializer_list<QWidget*>{VXImage_, SymLbl_, VerLbl_, Caption_, Caption2_})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QAction* TSelect::AddItem(QMenu* menu, const char* name, const QString& text, void (TSelect::*handler)()) {
    auto* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TSelect::CreateMenus() {
    auto menu = [&](QMenu* parentMenu, const char* name, const QString& title) {
        auto* m = parentMenu ? parentMenu->addMenu(title) : new QMenu(title, this);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    File1_ = menu(nullptr, "File1", QStringLiteral("&File"));
    connect(File1_, &QMenu::aboutToShow, this, &TSelect::File1Click);
    Print1_ = AddItem(File1_, "Print1", QStringLiteral("&Print"), &TSelect::Print1Click);
    AddItem(File1_, "ExportVectors1", QStringLiteral("&Export as PDF/SVG..."), &TSelect::ExportVectors1Click);
    File1_->addSeparator()->setObjectName(QStringLiteral("N1"));
    AddItem(File1_, "Exit1", QStringLiteral("E&xit"), &TSelect::Exit1Click);

    Passband1_ = menu(nullptr, "Passband1", QStringLiteral("&Passband"));
    AddItem(Passband1_, "Frequency1", QStringLiteral("&Frequency"), &TSelect::Frequency1Click);
    QMenu* definition = menu(Passband1_, "Definition1", QStringLiteral("&Definition"));
    AddItem(definition, "N05dB1", MenuTextOf(PassbandChoice::Db0_5), &TSelect::N05dB1Click);
    AddItem(definition, "N10dB1", MenuTextOf(PassbandChoice::Db1_0), &TSelect::N10dB1Click);
    AddItem(definition, "N30dB1", MenuTextOf(PassbandChoice::Db3_0), &TSelect::N30dB1Click);
    AddItem(Passband1_, "Bandwidth1", QStringLiteral("&Bandwidth"), &TSelect::Bandwidth1Click);
    QMenu* sections = menu(Passband1_, "NumberofSections1", QStringLiteral("&Number of Sections"));
    AddItem(sections, "N21", QStringLiteral("2"), &TSelect::N21Click);
    AddItem(sections, "N31", QStringLiteral("3"), &TSelect::N31Click);
    AddItem(sections, "N41", QStringLiteral("4"), &TSelect::N41Click);
    AddItem(sections, "N51", QStringLiteral("5"), &TSelect::N51Click);
    AddItem(sections, "N61", QStringLiteral("6"), &TSelect::N61Click);
    QMenu* profile = menu(Passband1_, "Profile1", QStringLiteral("&Profile"));
    const std::pair<ResonatorProfile, QAction*> profileItems[] = {
        {ResonatorProfile::Mm4, AddItem(profile, "N22", MenuTextOf(ResonatorProfile::Mm4), &TSelect::N22Click)},
        {ResonatorProfile::Mm6, AddItem(profile, "N32", MenuTextOf(ResonatorProfile::Mm6), &TSelect::N32Click)},
        {ResonatorProfile::Mm12, AddItem(profile, "N42", MenuTextOf(ResonatorProfile::Mm12), &TSelect::N42Click)}};
    for (const auto& [choice, item] : profileItems) {
        // A withdrawn profile keeps its item, disabled and hidden.
        if (RowOf(choice).Offered) continue;
        item->setEnabled(false);
        item->setVisible(false);
    }
    QMenu* dielectric = menu(Passband1_, "KDielectricconstant1", QStringLiteral("&K (Dielectric constant)"));
    AddItem(dielectric, "DL221", MenuTextOf(DielectricMaterial::DL), &TSelect::DL221Click);
    AddItem(dielectric, "DR381", MenuTextOf(DielectricMaterial::DR), &TSelect::DR381Click);
    AddItem(dielectric, "DH901", MenuTextOf(DielectricMaterial::DH), &TSelect::DH901Click);

    Stopband1_ = menu(nullptr, "Stopband1", QStringLiteral("Stop&band"));
    AddItem(Stopband1_, "F11", QStringLiteral("F&1"), &TSelect::F11Click);
    AddItem(Stopband1_, "F21", QStringLiteral("F&2"), &TSelect::F21Click);

    // Radio items whose mark the program never sets: plain items show exactly that.
    Graph1_ = menu(nullptr, "Graph1", QStringLiteral("&Graph"));
    AddItem(Graph1_, "N1bandwidth1", QStringLiteral("&1 bandwidth"), &TSelect::N1bandwidth1Click);
    AddItem(Graph1_, "N2bandwidths1", QStringLiteral("&2 bandwidths"), &TSelect::N2bandwidths1Click);
    AddItem(Graph1_, "N3bandwidths1", QStringLiteral("&3 bandwidths"), &TSelect::N3bandwidths1Click);
    AddItem(Graph1_, "N4bandwidths1", QStringLiteral("&4 bandwidths"), &TSelect::N4bandwidths1Click);
    AddItem(Graph1_, "N5bandwidths1", QStringLiteral("&5 bandwidths"), &TSelect::N5bandwidths1Click);
    AddItem(Graph1_, "N6bandwidths1", QStringLiteral("&6 bandwidths"), &TSelect::N6bandwidths1Click);

    Mounting1_ = menu(nullptr, "Mounting1", QStringLiteral("&Mounting"));
    AddItem(Mounting1_, "OrbisLeadless1", MenuTextOf(MountingStyle::Orbis), &TSelect::OrbisLeadless1Click);
    AddItem(Mounting1_, "SurfacemountTab1", MenuTextOf(MountingStyle::SurfaceTab), &TSelect::SurfacemountTab1Click);
    AddItem(Mounting1_, "Dropin1", MenuTextOf(MountingStyle::DropIn), &TSelect::Dropin1Click);

    View1_ = menu(nullptr, "View1", QStringLiteral("&View"));
    AddItem(View1_, "OutlineDrawings1", QStringLiteral("&Outline Drawings"), &TSelect::OutlineDrawings1Click);
    AddItem(View1_, "TabularData1", QStringLiteral("&Tabular Data"), &TSelect::TabularData1Click);
}

QList<GroupedMenu> TSelect::GroupedMenus() {
    return {{0, File1_}, {1, Passband1_}, {2, Stopband1_}, {5, Graph1_}, {5, Mounting1_}, {5, View1_}};
}

void TSelect::FormCreate() {
    FilterSpec& spec = program_.Spec;
    spec.F0 = spec.LastF0 = 1000.0;
    spec.Sections = spec.LastSections = 3;
    spec.BW = spec.BWRequested = 20.0;
    spec.F1 = spec.F2 = 0.0;
    spec.Profile = spec.LastProfile = ProfileNumber(ResonatorProfile::Mm4);
    spec.Dielectric = spec.LastDielectric = CodeOf(DielectricMaterial::DR);
    spec.GraphHalfSpan = 3.0;
    spec.PBD = spec.LastPBD = 1.0;
    spec.PBDCode = CodeOf(PassbandChoice::Db1_0);
    spec.Mounting = kMountOrbis;

    PBDCBox_->setCurrentIndex(1);
    NCBox_->setCurrentIndex(1);
    RPBox_->setCurrentIndex(0);
    DBox_->setCurrentIndex(1);
    comboGraphWidth_->setCurrentIndex(5);

    const char units = program_.Prefs.PrefUnits;
    spec.Units = units == 'M' ? 'M' : 'E';
}

void TSelect::ColourComponents(bool printing) {
    const QColor& logoText = printing ? kPageBlack : kPageWhite;
    for (QLabel* label : {Caption_, Caption2_, VerLbl_, SymLbl_}) SetLabelColours(label, logoText);
    VXImage_->SetPrinting(printing);
    const QColor& resultBackground = printing ? kPageWhite : kPageBlack;
    const QColor& resultText = printing ? kPageBlack : kPageYellow;
    const QFont resultFont = PointFont(kEntryFace, program_.Display.FontSizeSmall);
    for (QLabel* label : {IL0Label_, IL1Label_, IL2Label_}) {
        SetLabelColours(label, resultText, &resultBackground);
        label->setFont(resultFont);
    }
}

bool TSelect::PlaceResultLabels() {
    const int dx = program_.Display.FieldOffsetX;
    const int dy = program_.Display.FieldOffsetY;
    const QRect il0(QPoint(16 - dx, 266 - dy), IL0Label_->size());
    const QRect il1(136 - dx, 348 - dy, 57, IL1Label_->height());
    const QRect il2(232 - dx, 348 - dy, 57, IL2Label_->height());
    const bool moved =
        IL0Label_->geometry() != il0 || IL1Label_->geometry() != il1 || IL2Label_->geometry() != il2;
    IL0Label_->setGeometry(il0);
    IL1Label_->setGeometry(il1);
    IL2Label_->setGeometry(il2);
    return moved;
}

void TSelect::ShowEntryTexts(FocusTarget focus) {
    const FilterSpec& spec = program_.Spec;
    SetText(F0Edit_, FormatC("%.1f", spec.F0));
    if (focus == FocusTarget::F0Edit) F0Edit_->setFocus();
    SetText(BWEdit_, FormatC("%.2f", spec.BW));
    if (focus == FocusTarget::BWEdit) BWEdit_->setFocus();
    SetText(F1Edit_, FormatC("%.2f", spec.F1));
    SetText(F2Edit_, FormatC("%.2f", spec.F2));
}

void TSelect::ShowJudgement() {
    const SelectionJudgement& judgement = program_.Judgement;
    const SelectionResults& results = judgement.Latest();
    const RuleOutcome& outcome = results.Outcome;
    const FilterSpec& spec = judgement.JudgedSpec();
    const bool valid = spec.SelStatus == kSelectionValid;
    ShowEntryTexts(outcome.Focus);

    SetText(IL0Label_, InsertionLossLabel(outcome));
    SetText(IL1Label_, valid ? StopbandLabel(results.F1Computed, results.F1Attenuation) : std::string(" "));
    SetText(IL2Label_, valid ? StopbandLabel(results.F2Computed, results.F2Attenuation) : std::string(" "));

    comboGraphWidth_->setVisible(valid);
    const QString summary = QString::fromStdString(SelectionSummary(spec, results));
    if (accessibleDescription() != summary) setAccessibleDescription(summary);
    graphArea_->setVisible(valid);
    const QString graph = valid ? QStringLiteral("Attenuation (dBc), return loss (dB) and group delay (ns) of %1 "
                                                 "from %2 to %3 MHz")
                                      .arg(QString::fromStdString(outcome.PartNumber))
                                      .arg(spec.F0 - spec.GraphHalfSpan * spec.BW, 0, 'f', 1)
                                      .arg(spec.F0 + spec.GraphHalfSpan * spec.BW, 0, 'f', 1)
                                : QString();
    if (graphArea_->accessibleDescription() != graph) graphArea_->setAccessibleDescription(graph);

    update();
    if (program_.Hub) program_.Hub->Invalidate(DocumentWindow::Tabular);
}

void TSelect::FormPaint(QPainter& canvas, QSize clientSize) {
    const DisplaySettings& display = program_.Display;
    // Printing paints with the inverted mode; the components follow it for the job's duration.
    ColourComponents(display.PaintCopyMode == CopyMode::InvertedSource);

    drawnTexts_.clear();
    const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatioF() : 1.0;
    PageCanvas page(page_.BeginPage(canvas, clientSize, clientSize, display.PaintCopyMode, kPageShift, ratio),
                    &drawnTexts_);

    const SelectionJudgement& judgement = program_.Judgement;
    if (judgement.HasJudged()) {
        const SelectionResults& results = judgement.Latest();
        const RuleOutcome& outcome = results.Outcome;
        const bool valid = judgement.JudgedSpec().SelStatus == kSelectionValid;
        PaintMessageColumn(page, outcome.MessageLines, display);
        PaintPartNumber(page, valid, outcome.PartNumber, display);
        PaintInputFrames(page, display);
        if (valid) {
            DrawResponseGraph(page, program_.Response, display);
            PaintGuaranteeNotice(page, results.Guarantee, display);
        } else {
            PaintContactNotice(page, static_cast<int>(outcome.MessageLines.size()), display);
        }
    } else {
        PaintInputFrames(page, display);
    }

    page_.Present(canvas, clientSize, display.PaintCopyMode, kPageShift, ratio);
}

void TSelect::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FormPaint(painter, size());
}

}  // namespace veltrix
