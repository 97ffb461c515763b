// Draws the program's logo and icon. Not part of the normal build: run it once after changing the artwork
// (cmake --build <dir> --target veltrix_generate_art, then run it with the resources folder as argument).
#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cstdio>

namespace {

// The passband curve that marks every piece of artwork: flat top, steep skirts.
QPainterPath PassbandCurve(const QRectF& box) {
    QPainterPath path;
    const double l = box.left(), r = box.right(), t = box.top(), b = box.bottom(), w = box.width();
    path.moveTo(l, b);
    path.cubicTo(l + w * 0.28, b, l + w * 0.26, t, l + w * 0.38, t);
    path.lineTo(l + w * 0.62, t);
    path.cubicTo(l + w * 0.74, t, l + w * 0.72, b, r, b);
    return path;
}

// The screens lay their caption labels over the bottom eleven rows and the version marks past x 210,
// so the artwork stays clear of both.
QImage DrawLogo() {
    QImage image(225, 61, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.setPen(QPen(QColor(0, 200, 255), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(PassbandCurve(QRectF(4, 6, 44, 36)));

    QFont font("Liberation Sans");
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(42);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(52, 0, 158, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Veltrix"));

    p.fillRect(QRect(54, 44, 150, 3), QColor(0, 200, 255));
    return image;
}

QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;

    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, QColor(40, 40, 48));
    fill.setColorAt(1, QColor(0, 0, 0));
    p.setPen(QPen(QColor(0, 200, 255), s / 32.0));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.16, s * 0.16);

    p.setPen(QPen(QColor(0, 200, 255), s / 14.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(PassbandCurve(QRectF(s * 0.14, s * 0.22, s * 0.72, s * 0.44)));

    QFont font("Liberation Sans");
    font.setBold(true);
    font.setPixelSize(int(s * 0.28));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, s * 0.62, s, s * 0.3), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("V"));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = DrawLogo().save(dir + "/logo.png", "PNG");
    ok = DrawIcon(64).save(dir + "/icon.png", "PNG") && ok;
    if (!ok) {
        std::fprintf(stderr, "could not write the artwork into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
