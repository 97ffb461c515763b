// Input handling of the specification screen: every handler normalises a value, stores it in the
// record and asks for the judgement and repaints.
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "engine/filter_spec.h"
#include "platform/services.h"
#include "printing/export_command.h"
#include "specification_window/specification_window.h"
#include "specification_window/tolerances_dialog.h"

namespace veltrix {

namespace {

constexpr char16_t kEnter = 13;
constexpr char16_t kBackspace = 8;

double ReadField(const QLineEdit* field) { return ReadDecimal(field->text().toStdString()); }

// The character a key press types, as the classic key-press handler sees it; null for keys that
// type nothing (navigation, Tab, shortcuts with Ctrl or Alt), which pass untouched.
QChar TypedCharacter(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return QChar(kEnter);
    if (event.key() == Qt::Key_Backspace) return QChar(kBackspace);
    const QString text = event.text();
    if (text.size() != 1 || text[0].unicode() < 0x20 || text[0].unicode() == 0x7f) return {};
    return text[0];
}

}  // namespace

void SpecificationWindow::RequestRepaint() { update(); }

// The judgement that follows repaints every window that shows it, the outline and Tabular Data too.
void SpecificationWindow::InvalidateSelf() {
    ++repaintRequests_;
    program_.Judgement.InputsChanged();
    RequestRepaint();
}

void SpecificationWindow::BringToFront(DocumentWindow window) {
    if (program_.Hub) program_.Hub->BringToFront(window);
}

bool SpecificationWindow::Minimised() const {
    for (const QWidget* w = this; w; w = w->parentWidget())
        if (w->isMinimized()) return true;
    return false;
}

// ---- Entry fields -------------------------------------------------------------------------------

void SpecificationWindow::onCentreFrequencyClick() { centreFrequencyEdit_->selectAll(); }
void SpecificationWindow::onCentreFrequencyEnter() { centreFrequencyEdit_->selectAll(); }
void SpecificationWindow::onBandwidthClick() { bandwidthEdit_->selectAll(); }
void SpecificationWindow::onBandwidthEnter() { bandwidthEdit_->selectAll(); }
void SpecificationWindow::onStopbandF1Click() { stopbandF1Edit_->selectAll(); }
void SpecificationWindow::onStopbandF2Click() { stopbandF2Edit_->selectAll(); }

void SpecificationWindow::onCentreFrequencyExit() {
    FilterSpec& spec = program_.Spec;
    spec.F0 = ReadField(centreFrequencyEdit_);
    if (spec.F0 == spec.LastF0) return;
    spec.F0 = NormaliseCentreFrequency(spec.F0);
    InvalidateSelf();
}

void SpecificationWindow::onBandwidthExit() {
    FilterSpec& spec = program_.Spec;
    const double old = spec.BWRequested == 0.0 ? 1.0 : spec.BWRequested;
    spec.BW = NormaliseBandwidth(ReadField(bandwidthEdit_));
    if (spec.BW == old) return;
    spec.BWRequested = spec.BW;
    InvalidateSelf();
}

void SpecificationWindow::onStopbandF1Exit() {
    FilterSpec& spec = program_.Spec;
    const double old = spec.F1;
    spec.F1 = ReadField(stopbandF1Edit_);
    if (spec.F1 == old) return;
    spec.F1 = NormaliseStopband(spec.F1);
    InvalidateSelf();
}

void SpecificationWindow::onStopbandF2Exit() {
    FilterSpec& spec = program_.Spec;
    const double old = spec.F2;
    spec.F2 = ReadField(stopbandF2Edit_);
    if (spec.F2 == old) return;
    spec.F2 = NormaliseStopband(spec.F2);
    InvalidateSelf();
}

void SpecificationWindow::ShowChoice(const FilterSpec& choice) {
    FilterSpec& spec = program_.Spec;
    spec.F0 = choice.F0;
    spec.BW = choice.BW;
    spec.BWRequested = choice.BWRequested;
    spec.PBD = choice.PBD;
    spec.Passband = choice.Passband;
    spec.Sections = choice.Sections;
    spec.Profile = choice.Profile;
    spec.Dielectric = choice.Dielectric;
    spec.Mounting = choice.Mounting;
    spec.F1 = choice.F1;
    spec.F2 = choice.F2;
    ShowChoicesInLists();
    InvalidateSelf();
    // The frame brings this screen forward next, already showing the verdict on the choice.
    program_.Judgement.JudgeNow();
}

// ---- Keys ---------------------------------------------------------------------------------------

QWidget* SpecificationWindow::NextInEnterChain(QWidget* field) const {
    const QWidget* chain[] = {centreFrequencyEdit_, sectionsBox_,   bandwidthEdit_,  passbandDefinitionBox_,
                              profileBox_,          dielectricBox_, stopbandF1Edit_, stopbandF2Edit_};
    constexpr int n = static_cast<int>(std::size(chain));
    for (int i = 0; i < n; ++i)
        if (chain[i] == field) return const_cast<QWidget*>(chain[(i + 1) % n]);
    return nullptr;
}

void SpecificationWindow::KeyPress(QWidget* field, QChar& key, bool editField) {
    if (key.unicode() == kEnter) {
        key = QChar();
        if (QWidget* next = NextInEnterChain(field)) next->setFocus(Qt::TabFocusReason);
        return;
    }
    if (key == u'o' || key == u'O') {
        key = QChar();
        BringToFront(DocumentWindow::Outline);
        return;
    }
    if (key == u't' || key == u'T') {
        key = QChar();
        BringToFront(DocumentWindow::TabularData);
        return;
    }
    if (editField && !(key.unicode() == kBackspace || key == u'.' || (key >= u'0' && key <= u'9')))
        key = QChar();
}

void SpecificationWindow::onCentreFrequencyKey(QChar& key) { KeyPress(centreFrequencyEdit_, key, true); }
void SpecificationWindow::onBandwidthKey(QChar& key) { KeyPress(bandwidthEdit_, key, true); }
void SpecificationWindow::onStopbandF1Key(QChar& key) { KeyPress(stopbandF1Edit_, key, true); }
void SpecificationWindow::onStopbandF2Key(QChar& key) { KeyPress(stopbandF2Edit_, key, true); }
void SpecificationWindow::onSectionsKey(QChar& key) { KeyPress(sectionsBox_, key, false); }
void SpecificationWindow::onPassbandDefinitionKey(QChar& key) {
    KeyPress(passbandDefinitionBox_, key, false);
}
void SpecificationWindow::onProfileKey(QChar& key) { KeyPress(profileBox_, key, false); }
void SpecificationWindow::onDielectricKey(QChar& key) { KeyPress(dielectricBox_, key, false); }

bool SpecificationWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto handler = keyHandlers_.constFind(watched);
            if (handler == keyHandlers_.constEnd()) break;
            QChar key = TypedCharacter(*static_cast<QKeyEvent*>(event));
            if (key.isNull()) break;
            (this->*handler.value())(key);
            if (key.isNull()) return true;
            break;
        }
        case QEvent::FocusOut:
            // Every way of leaving a field, a menu or another window included, keeps what was typed.
            if (watched == centreFrequencyEdit_)
                onCentreFrequencyExit();
            else if (watched == bandwidthEdit_)
                onBandwidthExit();
            else if (watched == stopbandF1Edit_)
                onStopbandF1Exit();
            else if (watched == stopbandF2Edit_)
                onStopbandF2Exit();
            break;
        case QEvent::FocusIn:
            if (watched == centreFrequencyEdit_ || watched == bandwidthEdit_) {
                // The field's own focus handling places the cursor; select the text after it.
                watched->event(event);
                if (watched == centreFrequencyEdit_)
                    onCentreFrequencyEnter();
                else
                    onBandwidthEnter();
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
            if (watched == centreFrequencyEdit_)
                onCentreFrequencyClick();
            else if (watched == bandwidthEdit_)
                onBandwidthClick();
            else if (watched == stopbandF1Edit_)
                onStopbandF1Click();
            else if (watched == stopbandF2Edit_)
                onStopbandF2Click();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Lists --------------------------------------------------------------------------------------

void SpecificationWindow::onSectionsChange() {
    FilterSpec& spec = program_.Spec;
    spec.Sections = SectionsFromIndex(sectionsBox_->currentIndex());
    if (spec.Sections != spec.LastSections) InvalidateSelf();
}

void SpecificationWindow::onPassbandDefinitionChange() {
    FilterSpec& spec = program_.Spec;
    const PassbandDefinition definition = PassbandFromIndex(passbandDefinitionBox_->currentIndex());
    spec.PBD = definition.PBD;
    spec.Passband = definition.Passband;
    if (spec.PBD != spec.LastPBD) InvalidateSelf();
}

void SpecificationWindow::onProfileChange() {
    FilterSpec& spec = program_.Spec;
    spec.Profile = ProfileFromIndex(profileBox_->currentIndex());
    if (spec.Profile != spec.LastProfile) InvalidateSelf();
}

void SpecificationWindow::onDielectricChange() {
    FilterSpec& spec = program_.Spec;
    spec.Dielectric = DielectricFromIndex(dielectricBox_->currentIndex());
    if (spec.Dielectric != spec.LastDielectric) InvalidateSelf();
}

void SpecificationWindow::onGraphWidthChange() {
    FilterSpec& spec = program_.Spec;
    const double halfSpan = GraphHalfSpanFromIndex(graphWidthBox_->currentIndex());
    if (spec.GraphHalfSpan == halfSpan) return;
    spec.GraphHalfSpan = halfSpan;
    InvalidateSelf();
}

// ---- Menus and buttons --------------------------------------------------------------------------

void SpecificationWindow::onFileMenuShown() {
    printAction_->setEnabled(!Minimised());
    program_.Judgement.JudgePending();
    const bool standard = program_.Judgement.Standard();
    addToComparisonAction_->setEnabled(standard);
    exportDatasheetAction_->setEnabled(standard);
}

const FilterSpec* SpecificationWindow::StandardPartOnScreen(const QString& refusal) {
    program_.Judgement.JudgePending();
    if (program_.Judgement.Standard()) return &program_.Judgement.Latest().Spec;
    if (program_.Messages) program_.Messages->ShowMessage(this, refusal, QString());
    return nullptr;
}

void SpecificationWindow::onAddToComparison() {
    const FilterSpec* part =
        StandardPartOnScreen(QStringLiteral("Only a standard part can be added to the comparison."));
    if (part != nullptr && program_.Hub) program_.Hub->AddToComparison(*part);
}

void SpecificationWindow::onExportDatasheet() {
    const FilterSpec* part = StandardPartOnScreen(QStringLiteral(
        "Only a standard part has a datasheet: there is no standard part for the last inputs."));
    if (part != nullptr && program_.Hub) program_.Hub->ExportDatasheet(*part);
}

void SpecificationWindow::onPrint() {
    if (program_.Hub) program_.Hub->PrintForm(*this, QStringLiteral("Veltrix Filter Specification"));
}

void SpecificationWindow::onExportVectors() {
    RunExportCommand(program_, *this, QStringLiteral("Veltrix Filter Specification"));
}

void SpecificationWindow::onExit() {
    if (program_.Hub) program_.Hub->ExitProgram();
}

void SpecificationWindow::onPassbandFrequency() { centreFrequencyEdit_->setFocus(Qt::ShortcutFocusReason); }
void SpecificationWindow::onPassbandBandwidth() { bandwidthEdit_->setFocus(Qt::ShortcutFocusReason); }
void SpecificationWindow::onStopbandF1() { stopbandF1Edit_->setFocus(Qt::ShortcutFocusReason); }
void SpecificationWindow::onStopbandF2() { stopbandF2Edit_->setFocus(Qt::ShortcutFocusReason); }

void SpecificationWindow::SetPassband(PassbandChoice choice) {
    FilterSpec& spec = program_.Spec;
    const ChoiceRow<PassbandChoice>& row = RowOf(choice);
    if (spec.PBD == row.Number) return;
    spec.PBD = row.Number;
    spec.Passband = row.Value;
    passbandDefinitionBox_->setCurrentIndex(IndexOf(choice));
    InvalidateSelf();
}

void SpecificationWindow::onPassbandDefinition05dB() { SetPassband(PassbandChoice::Db0_5); }
void SpecificationWindow::onPassbandDefinition10dB() { SetPassband(PassbandChoice::Db1_0); }
void SpecificationWindow::onPassbandDefinition30dB() { SetPassband(PassbandChoice::Db3_0); }

void SpecificationWindow::SetSections(int32_t sections) {
    FilterSpec& spec = program_.Spec;
    if (spec.Sections == sections) return;
    spec.Sections = sections;
    sectionsBox_->setCurrentIndex(sections - 2);
    InvalidateSelf();
}

void SpecificationWindow::onTwoSections() { SetSections(2); }
void SpecificationWindow::onThreeSections() { SetSections(3); }
void SpecificationWindow::onFourSections() { SetSections(4); }
void SpecificationWindow::onFiveSections() { SetSections(5); }
void SpecificationWindow::onSixSections() { SetSections(6); }

void SpecificationWindow::SetProfile(ResonatorProfile profile) {
    FilterSpec& spec = program_.Spec;
    if (spec.Profile == profile) return;
    // The 12 mm profile has no row in the list, which then shows no choice.
    profileBox_->setCurrentIndex(IndexOf(profile) < profileBox_->count() ? IndexOf(profile) : -1);
    spec.Profile = profile;
    InvalidateSelf();
}

void SpecificationWindow::onProfile4mm() { SetProfile(ResonatorProfile::Mm4); }
void SpecificationWindow::onProfile6mm() { SetProfile(ResonatorProfile::Mm6); }
void SpecificationWindow::onProfile12mm() { SetProfile(ResonatorProfile::Mm12); }

void SpecificationWindow::SetDielectric(DielectricMaterial dielectric) {
    FilterSpec& spec = program_.Spec;
    if (spec.Dielectric == dielectric) return;
    dielectricBox_->setCurrentIndex(IndexOf(dielectric));
    spec.Dielectric = dielectric;
    InvalidateSelf();
}

void SpecificationWindow::onDielectricDL() { SetDielectric(DielectricMaterial::DL); }
void SpecificationWindow::onDielectricDR() { SetDielectric(DielectricMaterial::DR); }
void SpecificationWindow::onDielectricDH() { SetDielectric(DielectricMaterial::DH); }

void SpecificationWindow::SetGraphWidth(int bandwidths) {
    FilterSpec& spec = program_.Spec;
    const double halfSpan = bandwidths / 2.0;
    if (spec.GraphHalfSpan == halfSpan) return;
    graphWidthBox_->setCurrentIndex(bandwidths - 1);
    spec.GraphHalfSpan = halfSpan;
    InvalidateSelf();
}

void SpecificationWindow::onGraphWidth1() { SetGraphWidth(1); }
void SpecificationWindow::onGraphWidth2() { SetGraphWidth(2); }
void SpecificationWindow::onGraphWidth3() { SetGraphWidth(3); }
void SpecificationWindow::onGraphWidth4() { SetGraphWidth(4); }
void SpecificationWindow::onGraphWidth5() { SetGraphWidth(5); }
void SpecificationWindow::onGraphWidth6() { SetGraphWidth(6); }

void SpecificationWindow::SetMounting(MountingStyle mounting) {
    FilterSpec& spec = program_.Spec;
    if (spec.Mounting == mounting) return;
    spec.Mounting = mounting;
    // The outline is drawn at once, from the verdict on the new mounting; the judgement repaints this screen.
    ++repaintRequests_;
    program_.Judgement.JudgeNow();
    if (program_.Hub) program_.Hub->RepaintNow(DocumentWindow::Outline);
}

void SpecificationWindow::onMountingOrbisLeadless() { SetMounting(MountingStyle::Orbis); }
void SpecificationWindow::onMountingTesselLeadless() { SetMounting(MountingStyle::Tessel); }
void SpecificationWindow::onMountingSurfaceTab() { SetMounting(MountingStyle::SurfaceTab); }
void SpecificationWindow::onMountingSurfacePin() { SetMounting(MountingStyle::SurfacePin); }
void SpecificationWindow::onMountingDropIn() { SetMounting(MountingStyle::DropIn); }

void SpecificationWindow::onOutlineDrawings() { BringToFront(DocumentWindow::Outline); }
void SpecificationWindow::onOutlineDrawingButton() { BringToFront(DocumentWindow::Outline); }
void SpecificationWindow::onTabularData() { BringToFront(DocumentWindow::TabularData); }
void SpecificationWindow::onTabularDataButton() { BringToFront(DocumentWindow::TabularData); }

void SpecificationWindow::onTolerances() {
    if (TolerancesDialog* dialog = tolerances_ ? tolerances_() : nullptr) dialog->exec();
}

}  // namespace veltrix
