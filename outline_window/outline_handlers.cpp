// Input handling of the outline window: handlers store into the record and ask for repaints.
#include <QAction>
#include <QString>

#include "outline_window/outline_window.h"
#include "platform/services.h"
#include "printing/export_command.h"
#include "product_texts/contact_data.h"

namespace veltrix {

namespace {

constexpr const char* kBrowserFailed = "Unable to start web browser.";

}  // namespace

void OutlineWindow::RequestRepaint() { update(); }

void OutlineWindow::InvalidateSelf() {
    DescribeDrawing();
    ++repaintRequests_;
    RequestRepaint();
}

void OutlineWindow::BringToFront(DocumentWindow window) {
    if (program_.Hub) program_.Hub->BringToFront(window);
}

bool OutlineWindow::Minimised() const {
    for (const QWidget* w = this; w; w = w->parentWidget())
        if (w->isMinimized()) return true;
    return false;
}

void OutlineWindow::onFileMenuShown() { printAction_->setEnabled(!Minimised()); }

void OutlineWindow::onPrint() {
    if (program_.Hub) program_.Hub->PrintForm(*this, QStringLiteral("Veltrix Outline"));
}

void OutlineWindow::onExportVectors() {
    RunExportCommand(program_, *this, QStringLiteral("Veltrix Outline"));
}

void OutlineWindow::onExit() {
    if (program_.Hub) program_.Hub->ExitProgram();
}

// A new mounting may change the verdict, so it is judged before this window draws it.
void OutlineWindow::SetMounting(MountingStyle mounting) {
    FilterSpec& spec = program_.Spec;
    if (spec.Mounting == mounting) return;
    spec.Mounting = mounting;
    program_.Judgement.JudgeNow();
    if (program_.Hub) program_.Hub->RepaintNow(DocumentWindow::Specification);
    InvalidateSelf();
}

void OutlineWindow::onMountingDropIn() { SetMounting(MountingStyle::DropIn); }
void OutlineWindow::onMountingSurfaceTab() { SetMounting(MountingStyle::SurfaceTab); }
void OutlineWindow::onMountingOrbisLeadless() { SetMounting(MountingStyle::Orbis); }
void OutlineWindow::onMountingSurfacePin() { SetMounting(MountingStyle::SurfacePin); }
void OutlineWindow::onMountingTesselLeadless() { SetMounting(MountingStyle::Tessel); }

void OutlineWindow::onMountingInstructions() {
    FilterSpec& spec = program_.Spec;
    switch (spec.Mounting) {
        case MountingStyle::DropIn:
            spec.Mounting = MountingStyle::Orbis;
            break;
        case MountingStyle::Orbis:
            spec.Mounting = MountingStyle::SurfaceTab;
            break;
        case MountingStyle::SurfaceTab:
            spec.Mounting = MountingStyle::DropIn;
            break;
        default:
            break;
    }
    program_.Judgement.JudgeNow();
    if (program_.Hub) program_.Hub->RepaintNow(DocumentWindow::Specification);
    InvalidateSelf();
}

// Units change only this drawing; the specification screen shows none.
void OutlineWindow::SetUnits(DrawingUnits units) {
    FilterSpec& spec = program_.Spec;
    if (spec.Units == units) return;
    spec.Units = units;
    InvalidateSelf();
}

void OutlineWindow::onInches() { SetUnits(DrawingUnits::Inches); }
void OutlineWindow::onInchesButton() { SetUnits(DrawingUnits::Inches); }
void OutlineWindow::onMillimeters() { SetUnits(DrawingUnits::Millimetres); }
void OutlineWindow::onMillimetersButton() { SetUnits(DrawingUnits::Millimetres); }

void OutlineWindow::OpenWebPage(const char* path) {
    const QString address = QString::fromLatin1(contact::kWebSiteAddress) + QString::fromLatin1(path);
    OpenOrReport(program_.Shell, program_.Messages, this, address, QString::fromLatin1(kBrowserFailed));
}

void OutlineWindow::onPcbLayout() { OpenWebPage("/veltrixinfo.html#RM"); }
void OutlineWindow::onReflowProfile() { OpenWebPage("/veltrixinfo.html#RS"); }

void OutlineWindow::onSelectionScreen() { BringToFront(DocumentWindow::Specification); }
void OutlineWindow::onSelectionScreenButton() { BringToFront(DocumentWindow::Specification); }
void OutlineWindow::onTabularData() { BringToFront(DocumentWindow::TabularData); }
void OutlineWindow::onTabularDataButton() { BringToFront(DocumentWindow::TabularData); }

}  // namespace veltrix
