#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "program/display_settings.h"
#include "program/preferences.h"
#include "program/selection_judgement.h"

namespace veltrix {

class PaintedForm;
class MessageBoxes;
class DesktopShell;
class PrintDialogRunner;
class SaveFileDialog;
class OpenFileDialog;
class ExportRangeDialog;
struct StopbandRequirement;
struct FinderRequirement;

enum class DocumentWindow { Specification, Outline, TabularData, Finder, Compare };

// What a window may ask of the frame without knowing it. The frame implements it; tests fake it.
class WindowHub {
  public:
    virtual ~WindowHub() = default;
    virtual void ExitProgram() = 0;
    virtual void BringToFront(DocumentWindow window) = 0;
    virtual void Invalidate(DocumentWindow window) = 0;
    virtual void RepaintNow(DocumentWindow window) = 0;
    // The common print command: prints the window's own paint scaled to the page.
    virtual void PrintForm(PaintedForm& form, const QString& jobTitle) = 0;
    // The modal "Abort Print" dialog, for printouts drawn directly on the printer.
    virtual void ShowPrintException() = 0;
    // Puts a chosen part's inputs into the specification screen, as if typed, and shows it.
    virtual void ShowChoice(const FilterSpec& choice) { (void)choice; }
    // Asks where to save the part's datasheet, proposing its part number, and writes it.
    // With a requirement (none: nullptr), the datasheet judges the part against it.
    virtual void ExportDatasheet(const FilterSpec& part, const FinderRequirement* requirement = nullptr) {
        (void)part;
        (void)requirement;
    }
    // Opens "Compare Parts" with the parts added and the requirement it keeps: its points as limits.
    virtual void CompareParts(const std::vector<FilterSpec>& parts, const FinderRequirement& requirement) {
        (void)parts;
        (void)requirement;
    }
    // Adds the part to "Compare Parts" and shows it; a part that cannot be added is refused with the reason.
    virtual void AddToComparison(const FilterSpec& part) { (void)part; }
};

// The program's single records and services, owned by main and given to every window.
struct Program {
    FilterSpec Spec;
    // The latest judgement of Spec.
    SelectionJudgement Judgement{Spec};
    DisplaySettings Display;
    Preferences Prefs;
    // Where the preferences live; main sets it from LocatePreferences().
    std::string PreferencesPath = kPreferencesFile;
    WindowHub* Hub = nullptr;
    MessageBoxes* Messages = nullptr;
    DesktopShell* Shell = nullptr;
    PrintDialogRunner* PrintDialogs = nullptr;
    SaveFileDialog* SaveDialogs = nullptr;
    OpenFileDialog* OpenDialogs = nullptr;
    ExportRangeDialog* RangeDialogs = nullptr;
    // Set once the program has begun to end: windows hidden from then on are not hidden by the user.
    bool Ending = false;
};

}  // namespace veltrix
