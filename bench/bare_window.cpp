// The baselines of launch_to_map.sh: what any Qt program with a multiple-document frame pays to show
// its main window, started the way the program starts (maximised). With --menu-bar it also has a
// short menu bar, so it loads the fonts and draws the first glyphs, as any program with menus must.

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare main window"));
    window.setCentralWidget(new QMdiArea(&window));
    if (QApplication::arguments().contains(QStringLiteral("--menu-bar"))) {
        const struct {
            const char* menu;
            const char* item;
        } menus[] = {
            {"&File", "E&xit"}, {"&Window", "&Tile"}, {"&Configure", "&Offsets"}, {"&Help", "&About"}};
        for (const auto& m : menus)
            window.menuBar()->addMenu(QString::fromLatin1(m.menu))->addAction(QString::fromLatin1(m.item));
    }
    window.showMaximized();
    return app.exec();
}
