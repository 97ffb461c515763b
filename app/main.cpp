#include <sys/stat.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/frame.h"
#include "app/screenshot.h"
#include "datasheet/datasheet_command.h"
#include "platform/artwork.h"
#include "platform/fonts.h"
#include "platform/services.h"
#include "platform/shared_icons.h"
#include "platform/user_file_reporting.h"
#include "program/preferences_location.h"
#include "program/program.h"
#include "tabular_window/export_range_dialog.h"
#include "version/version.h"

using namespace veltrix;

namespace {

const QString kTitle = QStringLiteral("Veltrix " VELTRIX_VERSION);

QString FailureMessage(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return ExceptionMessage(e.what());
    } catch (...) {
        return ExceptionMessage(nullptr);
    }
}

// A picture, the help and the version need no display: the windows are drawn off screen. This must be
// settled before the application object picks its platform.
bool NeedsNoDisplay(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--screenshot") == 0 || std::strncmp(arg, "--screenshot=", 13) == 0) return true;
        if (std::strcmp(arg, "--datasheet") == 0 || std::strncmp(arg, "--datasheet=", 12) == 0) return true;
        for (const char* info : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(arg, info) == 0) return true;
    }
    return false;
}

// The program's icon, for the windows without one of their own; the document windows' title bars
// take it as they are made. The frame carries its own, so its window is made before: a window made
// while it is set first draws it at several sizes, only to replace it.
void UseProgramIcon() {
    if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ProgramIcon());
}

// Off screen there is no window stacking; the platform's notes about it would only bury the output.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Qt warns on every start where XDG_RUNTIME_DIR is missing (a cron job, su, a container) and falls
// back to /tmp/runtime-<user>; that folder is made and named here, private to the user, so it does
// not. One that is not the user's own and private is left for Qt to judge.
void UsePrivateRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') return;
    const std::string folder = "/tmp/runtime-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return;
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != getuid() ||
        (status.st_mode & 0777) != 0700)
        return;
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

// A help or version that did not reach its reader (a full disk, a closed pipe) is a failure.
int PrintedToStandardOutput(const std::string& text, const char* what) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    std::fprintf(stderr, "veltrix: cannot write %s: %s\n", what, std::strerror(errno));
    return 1;
}

bool AsksForHelp(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::string& arg) {
        return arg == "-h" || arg == "--help" || arg == "--help-all";
    });
}

// Off screen where no display is needed; false, after saying why, where one is needed and none is usable.
bool ChoosePlatform(int argc, char** argv) {
    if (NeedsNoDisplay(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietOffscreenNotes);
        return true;
    }
    const std::string unusable = UnusableDisplay();
    if (unusable.empty()) return true;
    std::fprintf(stderr,
                 "veltrix: no display (%s): start it in a desktop session or over ssh -X to see the "
                 "windows, or use --screenshot FILE to write a picture of them\n",
                 unusable.c_str());
    return false;
}

void NameApplication() {
    // Numbers are read and written with a decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    // The name gives the configuration folder ($XDG_CONFIG_HOME/veltrix) and matches the desktop entry;
    // the title shows on the frame and in message boxes.
    QApplication::setApplicationName(QStringLiteral("veltrix"));
    QApplication::setApplicationVersion(QStringLiteral(VELTRIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("veltrix"));
}

// The options the help lists; returns --screenshot, which the start asks about later.
QCommandLineOption DeclareOptions(QCommandLineParser& options) {
    options.setApplicationDescription(QStringLiteral("Ceramic filter selection program."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Draw the frame with its windows off screen, write it as a PNG to <file> and exit."),
        QStringLiteral("file"));
    options.addOption(screenshot);
    options.addOption(QCommandLineOption(
        QStringLiteral("datasheet"),
        QStringLiteral(
            "Write the datasheet of a standard part as a PDF (on the locale's paper, LC_PAPER) to "
            "<file> and exit. The part is given by veltrix-cli's selection options (see veltrix-cli "
            "--help): --f0, --bw, --f1, --f2, --pbd, --sections, --profile, --dielectric, "
            "--mounting, --graph-width. --reject MHZ:DBC (repeatable) and --max-il DB add a "
            "requirement the part is judged against by its worst case. A refused entry writes "
            "nothing and exits with status 1."),
        QStringLiteral("file")));
    return screenshot;
}

// The help, the version and a line Qt refuses end the program here: the status to end with, or
// nothing when the windows are to be made.
std::optional<int> AnswerWithoutWindows(QCommandLineParser& options, bool asksForHelp) {
    // The help is printed whatever else is on the line, the datasheet's selection options too.
    const bool parsed = options.parse(QApplication::arguments());
    if (asksForHelp) return PrintedToStandardOutput(options.helpText().toStdString(), "the help");
    if (!parsed) {
        std::fprintf(stderr, "veltrix: %s\n", qPrintable(options.errorText()));
        return 2;
    }
    if (options.isSet(QStringLiteral("version")))
        return PrintedToStandardOutput(kTitle.toStdString() + "\n", "the version");
    if (!options.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "veltrix: unexpected argument '%s'\n",
                     qPrintable(options.positionalArguments().first()));
        return 2;
    }
    return std::nullopt;
}

// The desktop's messages and dialogs, which the program reaches only through its own interfaces.
struct DesktopServices {
    explicit DesktopServices(VeltrixApplication& app) : messages(kTitle) {
        app.Reporter().SetMessages(&messages);
        SetWaitForReader(&readerWait);
    }
    void ServeProgram(Program& program) {
        program.Messages = &messages;
        program.Shell = &shell;
        program.PrintDialogs = &printDialogs;
        program.SaveDialogs = &saveDialogs;
        program.OpenDialogs = &openDialogs;
        program.RangeDialogs = &rangeDialogs;
    }

    QtMessageBoxes messages;
    QtDesktopShell shell;
    QtPrintDialogRunner printDialogs;
    QtSaveFileDialog saveDialogs;
    QtOpenFileDialog openDialogs;
    QtExportRangeDialog rangeDialogs;
    WindowReaderWait readerWait{kTitle};
};

// A failure while the windows are created ends the program after its message. A step of the start
// returns its failure, thrown or met by an event handler.
std::exception_ptr StartingStep(VeltrixApplication& app, const std::function<void()>& step) {
    std::exception_ptr failure;
    app.Reporter().SetStarting(true);
    try {
        step();
    } catch (...) {
        failure = std::current_exception();
    }
    app.Reporter().SetStarting(false);
    return failure ? failure : app.Reporter().TakeStartupFailure();
}

std::unique_ptr<MainFrame> OpenFrame(Program& program, bool screenshot) {
    auto frame = std::make_unique<MainFrame>(program);
    frame->winId();  // its window, before the program's icon
    UseProgramIcon();
    frame->CreateWindows();
    frame->ShowMaximisedAtStart();
    if (screenshot) frame->ShowStartupPages();
    return frame;
}

int ReportStartFailure(const std::exception_ptr& failure, bool screenshot, QtMessageBoxes& messages) {
    if (screenshot) {
        std::fprintf(stderr, "veltrix: %s\n", qPrintable(FailureMessage(failure)));
        return 1;
    }
    UseProgramIcon();
    messages.ShowMessage(nullptr, FailureMessage(failure), QString());
    return 0;
}

int WriteScreenshot(MainFrame& frame, const std::vector<std::string>& arguments) {
    const QByteArray file = ScreenshotFileArgument(arguments);
    QString error;
    if (!WriteFrameScreenshot(frame, file, &error)) {
        std::fprintf(stderr, "veltrix: cannot write %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

// Until the frame closes. The start-up pages are windows of their own: the frame maps without waiting
// for them.
int RunEventLoop(VeltrixApplication& app, std::unique_ptr<MainFrame>& frame, QtMessageBoxes& messages) {
    QObject::connect(frame.get(), &MainFrame::Closed, &app, &QApplication::quit);
    QMetaObject::invokeMethod(
        &app,
        [&] {
            const std::exception_ptr pageFailure = StartingStep(app, [&] { frame->ShowStartupPages(); });
            if (!pageFailure) return;
            frame.reset();
            messages.ShowMessage(nullptr, FailureMessage(pageFailure), QString());
            QApplication::exit(0);
        },
        Qt::QueuedConnection);
    return app.exec();
}

int RunWindows(VeltrixApplication& app, const std::vector<std::string>& arguments, bool screenshot) {
    RegisterFontSubstitutions();
    ShareStandardIcons();
    DesktopServices services(app);
    Program program;
    services.ServeProgram(program);
    program.PreferencesPath = LocatePreferences();
    std::unique_ptr<MainFrame> frame;
    const std::exception_ptr failure = StartingStep(app, [&] { frame = OpenFrame(program, screenshot); });
    if (failure) {
        frame.reset();
        return ReportStartFailure(failure, screenshot, services.messages);
    }
    if (screenshot) return WriteScreenshot(*frame, arguments);
    return RunEventLoop(app, frame, services.messages);
}

}  // namespace

int main(int argc, char** argv) {
    // A mistyped line is a usage error wherever the program is started, with a display or without.
    if (const auto problem = CommandLineProblem(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fprintf(stderr, "veltrix: %s\n", problem->c_str());
        return 2;
    }
    UsePrivateRuntimeFolder();
    if (!ChoosePlatform(argc, argv)) return 1;
    VeltrixApplication app(argc, argv);
    NameApplication();
    // What is left once Qt has taken its own options out of the line.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // The selection options after --datasheet are the companion's, read by its own option code.
    if (AsksForDatasheet(arguments) && !AsksForHelp(arguments)) {
        RegisterFontSubstitutions();
        return RunDatasheetCommand(arguments, std::cerr);
    }
    QCommandLineParser options;
    const QCommandLineOption screenshot = DeclareOptions(options);
    if (const std::optional<int> status = AnswerWithoutWindows(options, AsksForHelp(arguments)))
        return *status;
    return RunWindows(app, arguments, options.isSet(screenshot));
}
