// Renders the vector artwork to PNG: render_art <source.svg> <output.png> <width> [<height>].
// The build uses it for the icon theme's sizes; the compiled-in PNGs are made with it by hand.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <source.svg> <output.png> <width> [<height>]\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[3]);
    const int height = argc > 4 ? std::atoi(argv[4]) : width;
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid() || width <= 0 || height <= 0) {
        std::fprintf(stderr, "cannot render %s at %d x %d\n", argv[1], width, height);
        return 1;
    }
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
