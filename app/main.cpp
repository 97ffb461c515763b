#include <QIcon>
#include <QLocale>
#include <clocale>
#include <exception>
#include <memory>

#include "app/application.h"
#include "app/frame.h"
#include "program/program.h"
#include "platform/fonts.h"
#include "platform/services.h"

using namespace veltrix;

namespace {

QString FailureMessage(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return ExceptionMessage(e.what());
    } catch (...) {
        return ExceptionMessage(nullptr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    TVeltrixApplication app(argc, argv);
    // Numbers are read and written with a decimal point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    QApplication::setApplicationName(QStringLiteral("Veltrix 1.8"));
    QApplication::setApplicationVersion(QStringLiteral("1.8"));
    QApplication::setDesktopFileName(QStringLiteral("veltrix"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/veltrix/icon.png")));
    RegisterFontSubstitutions();

    QtMessageBoxes messages;
    QtDesktopShell shell;
    QtPrintDialogRunner printDialogs;
    QtSaveFileDialog saveDialogs;
    app.Reporter().SetMessages(&messages);

    Program program;
    program.Messages = &messages;
    program.Shell = &shell;
    program.PrintDialogs = &printDialogs;
    program.SaveDialogs = &saveDialogs;

    // A failure while the windows are created ends the program after its message.
    std::unique_ptr<TVXFrame> frame;
    std::exception_ptr failure;
    app.Reporter().SetStarting(true);
    try {
        frame = std::make_unique<TVXFrame>(program);
        frame->CreateWindows();
        frame->ShowMaximisedAtStart();
        // Where no window manager keeps them on top, the start-up pages come back over the frame,
        // the licence last.
        for (FrameWindow page :
             {FrameWindow::NoteWin, FrameWindow::InfoWin, FrameWindow::IntroWin, FrameWindow::OwnWin}) {
            QWidget* window = frame->GetFrameWindow(page);
            if (window != nullptr && window->isVisible()) window->raise();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    app.Reporter().SetStarting(false);
    if (!failure) failure = app.Reporter().TakeStartupFailure();
    if (failure) {
        frame.reset();
        messages.ShowMessage(nullptr, FailureMessage(failure), QString());
        return 0;
    }

    QObject::connect(frame.get(), &TVXFrame::Closed, &app, &QApplication::quit);
    return app.exec();
}
