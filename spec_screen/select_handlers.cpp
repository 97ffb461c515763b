// Input handling of the specification screen: every handler normalises a value, stores it in the
// record and asks for the judgement and repaints.
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "engine/filter_spec.h"
#include "printing/export_command.h"
#include "spec_screen/select_window.h"
#include "spec_screen/tolerances_dialog.h"

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

void TSelect::RequestRepaint() { update(); }

void TSelect::InvalidateSelf() {
    ++repaintRequests_;
    program_.Judgement.InputsChanged();
    RequestRepaint();
}

void TSelect::InvalidateBoth() {
    InvalidateSelf();
    if (program_.Hub) program_.Hub->Invalidate(DocumentWindow::Mechanical);
}

void TSelect::BringToFront(DocumentWindow window) {
    if (program_.Hub) program_.Hub->BringToFront(window);
}

bool TSelect::Minimised() const {
    for (const QWidget* w = this; w; w = w->parentWidget())
        if (w->isMinimized()) return true;
    return false;
}

// ---- Entry fields -------------------------------------------------------------------------------

void TSelect::F0EditClick() { F0Edit_->selectAll(); }
void TSelect::F0EditEnter() { F0Edit_->selectAll(); }
void TSelect::BWEditClick() { BWEdit_->selectAll(); }
void TSelect::BWEditEnter() { BWEdit_->selectAll(); }
void TSelect::F1EditClick() { F1Edit_->selectAll(); }
void TSelect::F2EditClick() { F2Edit_->selectAll(); }

void TSelect::F0EditExit() {
    FilterSpec& spec = program_.Spec;
    spec.F0 = ReadField(F0Edit_);
    if (spec.F0 == spec.LastF0) return;
    spec.F0 = NormaliseCentreFrequency(spec.F0);
    InvalidateBoth();
}

void TSelect::BWEditExit() {
    FilterSpec& spec = program_.Spec;
    const double old = spec.BWRequested == 0.0 ? 1.0 : spec.BWRequested;
    spec.BW = NormaliseBandwidth(ReadField(BWEdit_));
    if (spec.BW == old) return;
    spec.BWRequested = spec.BW;
    InvalidateBoth();
}

void TSelect::F1EditExit() {
    FilterSpec& spec = program_.Spec;
    const double old = spec.F1;
    spec.F1 = ReadField(F1Edit_);
    if (spec.F1 == old) return;
    spec.F1 = NormaliseStopband(spec.F1);
    InvalidateSelf();
}

void TSelect::F2EditExit() {
    FilterSpec& spec = program_.Spec;
    const double old = spec.F2;
    spec.F2 = ReadField(F2Edit_);
    if (spec.F2 == old) return;
    spec.F2 = NormaliseStopband(spec.F2);
    InvalidateSelf();
}

void TSelect::ShowChoice(const FilterSpec& choice) {
    FilterSpec& spec = program_.Spec;
    spec.F0 = choice.F0;
    spec.BW = choice.BW;
    spec.BWRequested = choice.BWRequested;
    spec.PBD = choice.PBD;
    spec.PBDCode = choice.PBDCode;
    spec.Sections = choice.Sections;
    spec.Profile = choice.Profile;
    spec.Dielectric = choice.Dielectric;
    spec.Mounting = choice.Mounting;
    spec.F1 = choice.F1;
    spec.F2 = choice.F2;
    PBDCBox_->setCurrentIndex(PassbandIndex(spec.PBD));
    NCBox_->setCurrentIndex(spec.Sections - 2);
    const auto profile = ProfileFromNumber(spec.Profile);
    RPBox_->setCurrentIndex(profile && IndexOf(*profile) < RPBox_->count() ? IndexOf(*profile) : -1);
    DBox_->setCurrentIndex(DielectricIndex(spec.Dielectric));
    InvalidateBoth();
    // The frame brings this screen forward next, already showing the verdict on the choice.
    program_.Judgement.JudgeNow();
}

// ---- Keys ---------------------------------------------------------------------------------------

QWidget* TSelect::NextInEnterChain(QWidget* field) const {
    const QWidget* chain[] = {F0Edit_, NCBox_, BWEdit_, PBDCBox_, RPBox_, DBox_, F1Edit_, F2Edit_};
    constexpr int n = static_cast<int>(std::size(chain));
    for (int i = 0; i < n; ++i)
        if (chain[i] == field) return const_cast<QWidget*>(chain[(i + 1) % n]);
    return nullptr;
}

void TSelect::KeyPress(QWidget* field, QChar& key, bool editField) {
    if (key.unicode() == kEnter) {
        key = QChar();
        if (QWidget* next = NextInEnterChain(field)) next->setFocus(Qt::TabFocusReason);
        return;
    }
    if (key == u'o' || key == u'O') {
        key = QChar();
        BringToFront(DocumentWindow::Mechanical);
        return;
    }
    if (key == u't' || key == u'T') {
        key = QChar();
        BringToFront(DocumentWindow::Tabular);
        return;
    }
    if (editField && !(key.unicode() == kBackspace || key == u'.' || (key >= u'0' && key <= u'9')))
        key = QChar();
}

void TSelect::F0EditKeyPress(QChar& key) { KeyPress(F0Edit_, key, true); }
void TSelect::BWEditKeyPress(QChar& key) { KeyPress(BWEdit_, key, true); }
void TSelect::F1EditKeyPress(QChar& key) { KeyPress(F1Edit_, key, true); }
void TSelect::F2EditKeyPress(QChar& key) { KeyPress(F2Edit_, key, true); }
void TSelect::NCBoxKeyPress(QChar& key) { KeyPress(NCBox_, key, false); }
void TSelect::PBDCBoxKeyPress(QChar& key) { KeyPress(PBDCBox_, key, false); }
void TSelect::RPBoxKeyPress(QChar& key) { KeyPress(RPBox_, key, false); }
void TSelect::DBoxKeyPress(QChar& key) { KeyPress(DBox_, key, false); }

bool TSelect::eventFilter(QObject* watched, QEvent* event) {
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
            if (watched == F0Edit_)
                F0EditExit();
            else if (watched == BWEdit_)
                BWEditExit();
            else if (watched == F1Edit_)
                F1EditExit();
            else if (watched == F2Edit_)
                F2EditExit();
            break;
        case QEvent::FocusIn:
            if (watched == F0Edit_ || watched == BWEdit_) {
                // The field's own focus handling places the cursor; select the text after it.
                watched->event(event);
                if (watched == F0Edit_)
                    F0EditEnter();
                else
                    BWEditEnter();
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
            if (watched == F0Edit_)
                F0EditClick();
            else if (watched == BWEdit_)
                BWEditClick();
            else if (watched == F1Edit_)
                F1EditClick();
            else if (watched == F2Edit_)
                F2EditClick();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Lists --------------------------------------------------------------------------------------

void TSelect::NCBoxChange() {
    FilterSpec& spec = program_.Spec;
    spec.Sections = SectionsFromIndex(NCBox_->currentIndex());
    if (spec.Sections != spec.LastSections) InvalidateBoth();
}

void TSelect::PBDCBoxChange() {
    FilterSpec& spec = program_.Spec;
    const PassbandDefinition definition = PassbandFromIndex(PBDCBox_->currentIndex());
    spec.PBD = definition.PBD;
    spec.PBDCode = definition.PBDCode;
    if (spec.PBD != spec.LastPBD) InvalidateBoth();
}

void TSelect::RPBoxChange() {
    FilterSpec& spec = program_.Spec;
    spec.Profile = ProfileFromIndex(RPBox_->currentIndex());
    if (spec.Profile != spec.LastProfile) InvalidateBoth();
}

void TSelect::DBoxChange() {
    FilterSpec& spec = program_.Spec;
    spec.Dielectric = DielectricFromIndex(DBox_->currentIndex());
    if (spec.Dielectric != spec.LastDielectric) InvalidateBoth();
}

void TSelect::comboGraphWidthChange() {
    FilterSpec& spec = program_.Spec;
    const double halfSpan = GraphHalfSpanFromIndex(comboGraphWidth_->currentIndex());
    if (spec.GraphHalfSpan == halfSpan) return;
    spec.GraphHalfSpan = halfSpan;
    InvalidateSelf();
}

// ---- Menus and buttons --------------------------------------------------------------------------

void TSelect::File1Click() { Print1_->setEnabled(!Minimised()); }

void TSelect::Print1Click() {
    if (program_.Hub) program_.Hub->PrintForm(*this, QStringLiteral("Veltrix Filter Specification"));
}

void TSelect::ExportVectors1Click() {
    RunExportCommand(program_, *this, QStringLiteral("Veltrix Filter Specification"));
}

void TSelect::Exit1Click() {
    if (program_.Hub) program_.Hub->ExitProgram();
}

void TSelect::Frequency1Click() { F0Edit_->setFocus(Qt::ShortcutFocusReason); }
void TSelect::Bandwidth1Click() { BWEdit_->setFocus(Qt::ShortcutFocusReason); }
void TSelect::F11Click() { F1Edit_->setFocus(Qt::ShortcutFocusReason); }
void TSelect::F21Click() { F2Edit_->setFocus(Qt::ShortcutFocusReason); }

void TSelect::SetPassband(PassbandChoice choice) {
    FilterSpec& spec = program_.Spec;
    const ChoiceRow<PassbandChoice>& row = RowOf(choice);
    if (spec.PBD == row.Number) return;
    spec.PBD = row.Number;
    spec.PBDCode = row.Code;
    PBDCBox_->setCurrentIndex(IndexOf(choice));
    InvalidateBoth();
}

void TSelect::N05dB1Click() { SetPassband(PassbandChoice::Db0_5); }
void TSelect::N10dB1Click() { SetPassband(PassbandChoice::Db1_0); }
void TSelect::N30dB1Click() { SetPassband(PassbandChoice::Db3_0); }

void TSelect::SetSections(int32_t sections) {
    FilterSpec& spec = program_.Spec;
    if (spec.Sections == sections) return;
    spec.Sections = sections;
    NCBox_->setCurrentIndex(sections - 2);
    InvalidateBoth();
}

void TSelect::N21Click() { SetSections(2); }
void TSelect::N31Click() { SetSections(3); }
void TSelect::N41Click() { SetSections(4); }
void TSelect::N51Click() { SetSections(5); }
void TSelect::N61Click() { SetSections(6); }

void TSelect::SetProfile(ResonatorProfile profile) {
    FilterSpec& spec = program_.Spec;
    if (spec.Profile == ProfileNumber(profile)) return;
    // The 12 mm profile has no row in the list, which then shows no choice.
    RPBox_->setCurrentIndex(IndexOf(profile) < RPBox_->count() ? IndexOf(profile) : -1);
    spec.Profile = ProfileNumber(profile);
    InvalidateBoth();
}

void TSelect::N22Click() { SetProfile(ResonatorProfile::Mm4); }
void TSelect::N32Click() { SetProfile(ResonatorProfile::Mm6); }
void TSelect::N42Click() { SetProfile(ResonatorProfile::Mm12); }

void TSelect::SetDielectric(DielectricMaterial dielectric) {
    FilterSpec& spec = program_.Spec;
    if (spec.Dielectric == CodeOf(dielectric)) return;
    DBox_->setCurrentIndex(IndexOf(dielectric));
    spec.Dielectric = CodeOf(dielectric);
    InvalidateBoth();
}

void TSelect::DL221Click() { SetDielectric(DielectricMaterial::DL); }
void TSelect::DR381Click() { SetDielectric(DielectricMaterial::DR); }
void TSelect::DH901Click() { SetDielectric(DielectricMaterial::DH); }

void TSelect::SetGraphWidth(int bandwidths) {
    FilterSpec& spec = program_.Spec;
    const double halfSpan = bandwidths / 2.0;
    if (spec.GraphHalfSpan == halfSpan) return;
    comboGraphWidth_->setCurrentIndex(bandwidths - 1);
    spec.GraphHalfSpan = halfSpan;
    InvalidateSelf();
}

void TSelect::N1bandwidth1Click() { SetGraphWidth(1); }
void TSelect::N2bandwidths1Click() { SetGraphWidth(2); }
void TSelect::N3bandwidths1Click() { SetGraphWidth(3); }
void TSelect::N4bandwidths1Click() { SetGraphWidth(4); }
void TSelect::N5bandwidths1Click() { SetGraphWidth(5); }
void TSelect::N6bandwidths1Click() { SetGraphWidth(6); }

void TSelect::SetMounting(MountingStyle mounting) {
    FilterSpec& spec = program_.Spec;
    if (spec.Mounting == CodeOf(mounting)) return;
    spec.Mounting = CodeOf(mounting);
    spec.SelStatus = kSelectionValid;
    if (program_.Hub) program_.Hub->RepaintNow(DocumentWindow::Mechanical);
    InvalidateSelf();
}

void TSelect::OrbisLeadless1Click() { SetMounting(MountingStyle::Orbis); }
void TSelect::TesselLeadless1Click() { SetMounting(MountingStyle::Tessel); }
void TSelect::SurfacemountTab1Click() { SetMounting(MountingStyle::SurfaceTab); }
void TSelect::SurfacemountPin1Click() { SetMounting(MountingStyle::SurfacePin); }
void TSelect::Dropin1Click() { SetMounting(MountingStyle::DropIn); }

void TSelect::OutlineDrawings1Click() { BringToFront(DocumentWindow::Mechanical); }
void TSelect::SelMechBtnClick() { BringToFront(DocumentWindow::Mechanical); }
void TSelect::TabularData1Click() { BringToFront(DocumentWindow::Tabular); }
void TSelect::SelRespBtnClick() { BringToFront(DocumentWindow::Tabular); }

void TSelect::TolBtnClick() {
    if (TTolWin* dialog = tolWin_ ? tolWin_() : nullptr) dialog->exec();
}

}  // namespace veltrix
