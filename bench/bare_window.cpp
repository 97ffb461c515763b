// The baseline of launch_to_map.sh: what any Qt program with a multiple-document frame pays to show
// its main window, started the way the program starts (maximised).

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare main window"));
    window.setCentralWidget(new QMdiArea(&window));
    window.showMaximized();
    return app.exec();
}
