#pragma once

// The one set of fakes for the services a window is given: each records every call, in order, and
// gives the answer a test sets.

#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "finder/finder.h"
#include "platform/services.h"
#include "program/program.h"

namespace veltrix::testing {

// What a window asks of the frame. Calls that name no window are recorded against Select.
class FakeHub : public WindowHub {
  public:
    struct Call {
        std::string what;
        DocumentWindow window;
        bool operator==(const Call&) const = default;
    };

    void ExitProgram() override { calls.push_back({"Exit", DocumentWindow::Specification}); }
    void BringToFront(DocumentWindow w) override { calls.push_back({"Front", w}); }
    void Invalidate(DocumentWindow w) override { calls.push_back({"Invalidate", w}); }
    void RepaintNow(DocumentWindow w) override { calls.push_back({"RepaintNow", w}); }
    void PrintForm(PaintedForm& form, const QString& title) override {
        printedForms.push_back(&form);
        printTitles << title;
        calls.push_back({"Print", DocumentWindow::Specification});
    }
    void ShowPrintException() override { calls.push_back({"PrintException", DocumentWindow::Specification}); }
    void ShowChoice(const FilterSpec& choice) override {
        chosen = choice;
        calls.push_back({"Choice", DocumentWindow::Specification});
    }

    void CompareParts(const std::vector<FilterSpec>& parts, const FinderRequirement& requirement) override {
        compared = parts;
        comparedLimits = requirement.Stopbands;
        comparedRequirement = requirement;
        calls.push_back({"Compare", DocumentWindow::Compare});
    }
    void AddToComparison(const FilterSpec& part) override {
        addedToComparison.push_back(part);
        calls.push_back({"AddToComparison", DocumentWindow::Compare});
    }
    void ExportDatasheet(const FilterSpec& part, const FinderRequirement* requirement = nullptr) override {
        datasheets.push_back(part);
        datasheetRequirements.push_back(requirement != nullptr ? std::optional(*requirement) : std::nullopt);
        calls.push_back({"Datasheet", DocumentWindow::Compare});
    }

    int Count(const std::string& what) const {
        int n = 0;
        for (const Call& c : calls) n += c.what == what;
        return n;
    }
    int Count(const std::string& what, DocumentWindow w) const {
        int n = 0;
        for (const Call& c : calls) n += c.what == what && c.window == w;
        return n;
    }
    void Clear() { calls.clear(); }

    // The calls as "Front Tabular", "Exit", ...: the window is named only where the call has one.
    std::vector<std::string> Log() const {
        std::vector<std::string> log;
        for (const Call& c : calls) {
            const bool named = c.what == "Front" || c.what == "Invalidate" || c.what == "RepaintNow";
            log.push_back(named ? c.what + " " + Name(c.window) : c.what);
        }
        return log;
    }
    static std::string Name(DocumentWindow w) {
        switch (w) {
            case DocumentWindow::Specification:
                return "Select";
            case DocumentWindow::Outline:
                return "Mechanical";
            case DocumentWindow::TabularData:
                return "Tabular";
            case DocumentWindow::Finder:
                return "Finder";
            case DocumentWindow::Compare:
                return "Compare";
        }
        return "?";
    }

    std::vector<Call> calls;
    std::vector<PaintedForm*> printedForms;
    QStringList printTitles;
    std::optional<FilterSpec> chosen;
    std::vector<FilterSpec> compared;
    std::vector<StopbandRequirement> comparedLimits;
    std::optional<FinderRequirement> comparedRequirement;
    std::vector<FilterSpec> addedToComparison;
    std::vector<FilterSpec> datasheets;
    std::vector<std::optional<FinderRequirement>> datasheetRequirements;  // one per datasheet
};

struct ShownMessage {
    QString text;
    QString caption;
    bool operator==(const ShownMessage&) const = default;
};

// Message boxes: the texts (and captions) instead of a blocking box.
class FakeMessages : public MessageBoxes {
  public:
    void ShowMessage(QWidget*, const QString& text, const QString& caption) override {
        texts << text;
        captions << caption;
    }
    std::vector<ShownMessage> Shown() const {
        std::vector<ShownMessage> shown;
        for (qsizetype i = 0; i < texts.size(); ++i) shown.push_back({texts[i], captions[i]});
        return shown;
    }

    QStringList texts;
    QStringList captions;
};

// The desktop's "open": records the targets and succeeds or fails as set.
class FakeShell : public DesktopShell {
  public:
    explicit FakeShell(bool succeeds = true) : succeeds(succeeds) {}
    void Open(const QString& target, std::function<void(bool)> answer) override {
        opened << target;
        answer(succeeds);
    }

    QStringList opened;
    bool succeeds;
};

// The print dialog: notes the printer and what it showed, makes the user's choices in it, and
// answers as set (true: the user pressed Print).
class FakePrintDialogs : public PrintDialogRunner {
  public:
    explicit FakePrintDialogs(bool answer = true) : answer(answer) {}
    bool Run(QPrinter& printer, QWidget*) override {
        ++runs;
        printers.push_back(&printer);
        // Qt's dialog proposes a file named after the document.
        docNames.push_back(printer.docName());
        orientations.push_back(printer.pageLayout().orientation());
        if (choose) choose(printer);
        return answer;
    }
    QString LastDocName() const { return docNames.empty() ? QString() : docNames.back(); }
    QPageLayout::Orientation LastOrientation() const {
        return orientations.empty() ? QPageLayout::Portrait : orientations.back();
    }

    bool answer;
    std::function<void(QPrinter&)> choose;
    int runs = 0;
    std::vector<const QPrinter*> printers;
    std::vector<QString> docNames;
    std::vector<QPageLayout::Orientation> orientations;
};

// The open-file dialog: records each caption and filter, and answers with the path set (empty: cancel).
class FakeOpenDialog : public OpenFileDialog {
  public:
    QString AskOpenFile(QWidget*, const QString& caption, const QString& filters) override {
        captions << caption;
        filterLists << filters;
        return answer;
    }

    QString answer;
    QStringList captions;
    QStringList filterLists;
};

}  // namespace veltrix::testing
