// Input handling of the outline window: handlers store into the record and ask for repaints.
#include <QAction>
#include <QString>

#include "outline/mechanical_window.h"
#include "platform/services.h"
#include "printing/export_command.h"
#include "program/contact_data.h"

namespace veltrix {

namespace {

constexpr const char* kBrowserFailed = "Unable to start web browser.";

}  // namespace

void TMechanical::RequestRepaint() { update(); }

void TMechanical::InvalidateSelf() {
    ++repaintRequests_;
    RequestRepaint();
}

void TMechanical::BringToFront(DocumentWindow window) {
    if (program_.Hub) program_.Hub->BringToFront(window);
}

bool TMechanical::Minimised() const {
    for (const QWidget* w = this; w; w = w->parentWidget())
        if (w->isMinimized()) return true;
    return false;
}

void TMechanical::File1Click() { PrintMech_->setEnabled(!Minimised()); }

void TMechanical::PrintMechClick() {
    if (program_.Hub) program_.Hub->PrintForm(*this, QStringLiteral("Veltrix Outline"));
}

void TMechanical::ExportVectorsClick() { RunExportCommand(program_, *this, QStringLiteral("Veltrix Outline")); }

void TMechanical::Exit2Click() {
    if (program_.Hub) program_.Hub->ExitProgram();
}

// A new mounting may change the verdict, so it is judged before this window draws it.
void TMechanical::SetMounting(MountingStyle mounting) {
    FilterSpec& spec = program_.Spec;
    if (spec.Mounting == CodeOf(mounting)) return;
    spec.Mounting = CodeOf(mounting);
    spec.SelStatus = kSelectionValid;
    program_.Judgement.JudgeNow();
    if (program_.Hub) program_.Hub->RepaintNow(DocumentWindow::Select);
    InvalidateSelf();
}

void TMechanical::Dropin1Click() { SetMounting(MountingStyle::DropIn); }
void TMechanical::SurfacemountTab1Click() { SetMounting(MountingStyle::SurfaceTab); }
void TMechanical::OrbisLeadless1Click() { SetMounting(MountingStyle::Orbis); }
void TMechanical::SurfacemountPin1Click() { SetMounting(MountingStyle::SurfacePin); }
void TMechanical::TesselLeadless1Click() { SetMounting(MountingStyle::Tessel); }

void TMechanical::MountBtnClick() {
    FilterSpec& spec = program_.Spec;
    switch (spec.Mounting) {
        case kMountDropIn:
            spec.Mounting = kMountOrbis;
            break;
        case kMountOrbis:
            spec.Mounting = kMountSurfaceTab;
            break;
        case kMountSurfaceTab:
            spec.Mounting = kMountDropIn;
            break;
        default:
            break;
    }
    spec.SelStatus = kSelectionValid;
    program_.Judgement.JudgeNow();
    if (program_.Hub) program_.Hub->RepaintNow(DocumentWindow::Select);
    InvalidateSelf();
}

// Units change only this drawing; the specification screen shows none.
void TMechanical::SetUnits(DrawingUnits units) {
    FilterSpec& spec = program_.Spec;
    if (spec.Units == CodeOf(units)) return;
    spec.Units = CodeOf(units);
    InvalidateSelf();
}

void TMechanical::Inches1Click() { SetUnits(DrawingUnits::Inches); }
void TMechanical::InchBtnClick() { SetUnits(DrawingUnits::Inches); }
void TMechanical::Millimeters1Click() { SetUnits(DrawingUnits::Millimetres); }
void TMechanical::mmBtnClick() { SetUnits(DrawingUnits::Millimetres); }

void TMechanical::OpenWebPage(const char* path) {
    const QString address = QString::fromLatin1(contact::kWebSiteAddress) + QString::fromLatin1(path);
    const bool opened = program_.Shell != nullptr && program_.Shell->Open(address);
    if (!opened && program_.Messages)
        program_.Messages->ShowMessage(this, QString::fromLatin1(kBrowserFailed), QString());
}

void TMechanical::PCBBtnClick() { OpenWebPage("/veltrixinfo.html#RM"); }
void TMechanical::ReflBtnClick() { OpenWebPage("/veltrixinfo.html#RS"); }

void TMechanical::SelectionScreen1Click() { BringToFront(DocumentWindow::Select); }
void TMechanical::MechSelBtnClick() { BringToFront(DocumentWindow::Select); }
void TMechanical::TabularData1Click() { BringToFront(DocumentWindow::Tabular); }
void TMechanical::MechRespBtnClick() { BringToFront(DocumentWindow::Tabular); }

}  // namespace veltrix
