#include "printing/print_command.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <optional>

#include "platform/user_file_reporting.h"
#include "printing/export_command.h"
#include "printing/print_job.h"
#include "printing/print_output.h"
#include "program/program.h"
#include "tests/printing/test_form.h"
#include "tests/support/answer_save_dialog.h"

namespace veltrix {
namespace {

using testing::FakeMessages;
using testing::FakePrintDialogs;
using testing::ShownMessage;
using testing::TestForm;

enum class Scenario { Printed, PrinterBusy, DialogCancelled, CancelPressedTwice, JobCannotStart };

struct CommandCase {
    const char* name;
    Scenario scenario;
    bool printed;
    std::vector<QString> messages;
    int dialogRuns;
    int bandPaints;  // -1: at least one
};

const QString kBusy = QStringLiteral("Printer is busy... Please try again when finished.");
const QString kFailed = QStringLiteral("User aborted or other error. Please try again later.");

class PrintCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(PrintCommandTest, RunsTheJobAndAlwaysRestoresTheCopyMode) {
    const CommandCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = c.scenario == Scenario::JobCannotStart ? dir.filePath("missing/sub/out.pdf")
                                                               : dir.filePath("out.pdf");

    FakeMessages messages;
    FakePrintDialogs dialog(c.scenario != Scenario::DialogCancelled);
    Program program;
    program.Messages = &messages;
    program.PrintDialogs = &dialog;
    TestForm form(program.Display);

    WindowPrinter windowPrinter;
    QPrinter& printer = windowPrinter.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(150);

    std::optional<QPainter> otherJob;
    if (c.scenario == Scenario::PrinterBusy) otherJob.emplace(&printer);
    if (c.scenario == Scenario::CancelPressedTwice) {
        form.OnPaint = [] {
            if (PrintProgressDialog* progress = testing::OpenProgressDialog()) {
                progress->CancelButton()->click();
                progress->CancelButton()->click();
            }
        };
    }

    const bool printed =
        RunPrintCommand(program, form, QStringLiteral("Veltrix Filter Specification"), windowPrinter);
    if (otherJob) otherJob->end();

    EXPECT_EQ(printed, c.printed);
    std::vector<QString> shown;
    for (const ShownMessage& m : messages.Shown()) shown.push_back(m.text);
    EXPECT_EQ(shown, c.messages);
    EXPECT_EQ(dialog.runs, c.dialogRuns);
    if (c.bandPaints < 0) {
        EXPECT_GT(form.PaintCount, 0);
    } else {
        EXPECT_EQ(form.PaintCount, c.bandPaints);
    }
    for (CopyMode mode : form.ModesSeen) EXPECT_EQ(mode, CopyMode::InvertedSource);
    EXPECT_EQ(program.Display.PaintCopyMode, CopyMode::Source);
    EXPECT_EQ(testing::OpenProgressDialog(), nullptr);
    EXPECT_NE(windowPrinter.Printer().printerState(), QPrinter::Active);

    if (c.scenario == Scenario::Printed) {
        EXPECT_EQ(windowPrinter.Printer().docName(), QStringLiteral("Veltrix Filter Specification"));
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_GT(file.size(), 1000);
        EXPECT_TRUE(file.read(5) == "%PDF-");
    }
    if (c.scenario == Scenario::DialogCancelled || c.scenario == Scenario::CancelPressedTwice) {
        EXPECT_FALSE(QFileInfo::exists(pdf));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PrintCommandTest,
    ::testing::Values(CommandCase{"Printed", Scenario::Printed, true, {}, 1, -1},
                      CommandCase{"PrinterBusy", Scenario::PrinterBusy, false, {kBusy}, 0, 0},
                      CommandCase{"DialogCancelled", Scenario::DialogCancelled, false, {}, 1, 0},
                      CommandCase{"CancelPressedTwice", Scenario::CancelPressedTwice, false, {kFailed}, 1, 1},
                      CommandCase{"JobCannotStart", Scenario::JobCannotStart, false, {kFailed}, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintCommandScreenTest, WindowRepaintsInNormalColoursAfterTheJob) {
    QTemporaryDir dir;
    FakeMessages messages;
    FakePrintDialogs dialog(true);
    Program program;
    program.Messages = &messages;
    program.PrintDialogs = &dialog;
    TestForm form(program.Display);
    form.show();
    QCoreApplication::processEvents();

    WindowPrinter printer;
    printer.Printer().setOutputFormat(QPrinter::PdfFormat);
    printer.Printer().setOutputFileName(dir.filePath("screen.pdf"));
    printer.Printer().setResolution(100);
    ASSERT_TRUE(RunPrintCommand(program, form, QStringLiteral("Veltrix Notes"), printer));

    const QImage screen = form.grab().toImage();
    EXPECT_EQ(screen.pixel(50, 50), qRgb(0, 0, 0));
    EXPECT_EQ(screen.pixel(150, 150), qRgb(255, 255, 255));
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The command with a real printer whose output fails: a full device, then a directory that
// cannot take the file (the partial file a full disk would leave).
TEST(PrintCommandOutputTest, FailedOutputIsReportedLeavesNoFileAndTheNextJobPrints) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakeMessages messages;
    FakePrintDialogs dialog(true);
    Program program;
    program.Messages = &messages;
    program.PrintDialogs = &dialog;
    TestForm form(program.Display);

    WindowPrinter printer;
    printer.Printer().setOutputFormat(QPrinter::PdfFormat);
    printer.Printer().setResolution(300);
    printer.Printer().setOutputFileName(QStringLiteral("/dev/full"));
    EXPECT_FALSE(RunPrintCommand(program, form, QStringLiteral("Veltrix Filter Specification"), printer));
    ASSERT_EQ(messages.Shown().size(), 2u);
    EXPECT_EQ(messages.Shown()[0].text,
              QStringLiteral("Cannot write /dev/full: ") + QString::fromLocal8Bit(strerror(ENOSPC)));
    EXPECT_EQ(messages.Shown()[1].text, kFailed);
    EXPECT_EQ(program.Display.PaintCopyMode, CopyMode::Source);
    // The window keeps its settings in a fresh printer.
    EXPECT_EQ(printer.Printer().outputFileName(), QStringLiteral("/dev/full"));
    EXPECT_EQ(printer.Printer().resolution(), 300);

    const QString good = dir.filePath("good.pdf");
    for (int job = 0; job < 2; ++job) {
        QFile::remove(good);
        printer.Printer().setOutputFileName(good);
        EXPECT_TRUE(RunPrintCommand(program, form, QStringLiteral("Veltrix Filter Specification"), printer));
        EXPECT_EQ(messages.Shown().size(), 2u);
        EXPECT_TRUE(IsCompletePdf(FileBytes(good))) << "job " << job;
    }

    // In a folder that takes no new file, the printout is rewritten in place, whole.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(RunPrintCommand(program, form, QStringLiteral("Veltrix Filter Specification"), printer));
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(IsCompletePdf(FileBytes(good)));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("good.pdf")});
}

// Records, with every message, whether the window was still in its printout colours.
class ColourCheckingMessages : public FakeMessages {
  public:
    explicit ColourCheckingMessages(const DisplaySettings& display) : display_(display) {}
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption) override {
        modes.push_back(display_.PaintCopyMode);
        FakeMessages::ShowMessage(parent, text, caption);
    }
    std::vector<CopyMode> modes;

  private:
    const DisplaySettings& display_;
};

struct FailedOutputCase {
    const char* name;
    bool print;  // the print command to a PDF file, else Export as PDF/SVG
    QString file;
    QString firstMessage;
};

void PrintTo(const FailedOutputCase& c, std::ostream* out) { *out << c.name; }

class FailedOutput : public ::testing::TestWithParam<FailedOutputCase> {};

TEST_P(FailedOutput, TheWindowIsBackInItsOwnColoursBeforeAnyMessage) {
    const FailedOutputCase& c = GetParam();
    Program program;
    ColourCheckingMessages messages(program.Display);
    FakePrintDialogs dialog(true);
    testing::AnswerSaveDialog save;
    save.answer = c.file;
    program.Messages = &messages;
    program.PrintDialogs = &dialog;
    program.SaveDialogs = &save;
    TestForm form(program.Display);
    WindowPrinter printer;
    printer.Printer().setOutputFormat(QPrinter::PdfFormat);
    printer.Printer().setResolution(150);
    printer.Printer().setOutputFileName(c.file);

    const bool written = c.print ? RunPrintCommand(program, form, QStringLiteral("Veltrix Notes"), printer)
                                 : RunExportCommand(program, form, QStringLiteral("Veltrix Notes"));
    EXPECT_FALSE(written);
    ASSERT_FALSE(messages.texts.isEmpty());
    EXPECT_EQ(messages.texts.first(), c.firstMessage);
    EXPECT_EQ(messages.modes, std::vector<CopyMode>(messages.modes.size(), CopyMode::Source));
}

const FailedOutputCase kFailedOutputs[] = {
    {"PrintToAFullDevice", true, QStringLiteral("/dev/full"),
     QStringLiteral("Cannot write /dev/full: ") + QString::fromLocal8Bit(strerror(ENOSPC))},
    {"ExportPdfToAFullDevice", false, QStringLiteral("/dev/full"),
     QStringLiteral("Cannot write /dev/full: ") + QString::fromLocal8Bit(strerror(ENOSPC))},
    {"ExportSvgIntoAMissingFolder", false, QStringLiteral("/nonexistent-folder/notes.svg"),
     QStringLiteral("Cannot write /nonexistent-folder/notes.svg: ") +
         QString::fromLocal8Bit(strerror(ENOENT))},
};

INSTANTIATE_TEST_SUITE_P(Outputs, FailedOutput, ::testing::ValuesIn(kFailedOutputs),
                         [](const auto& info) { return std::string(info.param.name); });

// A descriptor the program opened itself (here a file it holds open; in the program the display
// connection) is not the user's: "/dev/fd/N" names nothing the user gave it.
TEST(ExportCommandOutputTest, TheProgramsOwnDescriptorIsRefusedAndUntouched) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile held(dir.filePath(QStringLiteral("held.dat")));
    ASSERT_TRUE(held.open(QIODevice::WriteOnly));
    const QString name = QStringLiteral("/dev/fd/%1").arg(held.handle());
    Program program;
    FakeMessages messages;
    testing::AnswerSaveDialog save;
    save.answer = name;
    program.Messages = &messages;
    program.SaveDialogs = &save;
    TestForm form(program.Display);
    EXPECT_FALSE(RunExportCommand(program, form, QStringLiteral("Veltrix Notes")));
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Cannot write ") + name + QStringLiteral(": ") +
                                          QString::fromLocal8Bit(strerror(EBADF))});
    held.close();
    EXPECT_EQ(QFileInfo(held.fileName()).size(), 0);
}

// A FIFO nobody reads yet: the window's events go on while the writer waits, a dialog says what it
// waits for, and Cancel ends the export with no error message.
TEST(ExportCommandOutputTest, AFifoWithoutReaderWaitsInADialogTheUserCancels) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Program program;
    FakeMessages messages;
    testing::AnswerSaveDialog save;
    save.answer = fifo;
    program.Messages = &messages;
    program.SaveDialogs = &save;
    TestForm form(program.Display);
    form.show();

    QString waitingFor;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(window);
            if (dialog == nullptr || dialog->objectName() != QStringLiteral("reader_wait") ||
                !dialog->isVisible())
                continue;
            waitingFor = dialog->labelText();
            dialog->cancel();
        }
    });
    user.start(50);
    WindowReaderWait wait(QStringLiteral("Veltrix"));
    SetWaitForReader(&wait);
    const bool written = RunExportCommand(program, form, QStringLiteral("Veltrix Notes"));
    SetWaitForReader(nullptr);
    user.stop();

    EXPECT_FALSE(written);
    EXPECT_EQ(waitingFor, QStringLiteral("Waiting for a program to read ") + fifo + QStringLiteral(" ..."));
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(program.Display.PaintCopyMode, CopyMode::Source);
    struct stat after {};
    EXPECT_TRUE(stat(QFile::encodeName(fifo).constData(), &after) == 0 && S_ISFIFO(after.st_mode))
        << "the FIFO stays a FIFO";
}

TEST(PrintCommandOutputTest, TheDialogProposesAFileNamedAfterTheJob) {
    FakeMessages messages;
    FakePrintDialogs dialog(false);
    Program program;
    program.Messages = &messages;
    program.PrintDialogs = &dialog;
    TestForm form(program.Display);
    WindowPrinter printer;
    EXPECT_FALSE(RunPrintCommand(program, form, QStringLiteral("Veltrix Filter Specification"), printer));
    EXPECT_EQ(dialog.docNames, std::vector<QString>{QStringLiteral("Veltrix Filter Specification")});
}

TEST(PdfCheckTest, OnlyAWholePdfPasses) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("whole.pdf"));
    {
        QPainter canvas(&printer);
        canvas.drawText(100, 100, QStringLiteral("page"));
    }
    const QByteArray whole = FileBytes(dir.filePath("whole.pdf"));
    EXPECT_TRUE(IsCompletePdf(whole));
    EXPECT_FALSE(IsCompletePdf(QByteArray()));
    EXPECT_FALSE(IsCompletePdf(whole.left(whole.size() / 2)));
    EXPECT_FALSE(IsCompletePdf(whole.left(whole.size() - 8)));
    QByteArray shifted = whole;
    shifted.remove(20, 10);
    EXPECT_FALSE(IsCompletePdf(shifted));
}

}  // namespace
}  // namespace veltrix
