#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QWidget>

#include "platform/artwork.h"

namespace veltrix::testing {
namespace {

struct Share {
    double dark = 0;
    double light = 0;
};

Share Measure(const QImage& image) {
    Share share;
    const double total = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int v = qGray(image.pixel(x, y));
            share.dark += v < 96;
            share.light += v > 160;
        }
    share.dark /= total;
    share.light /= total;
    return share;
}

QImage RenderLogo(bool printing, const QColor& ground, qreal ratio = 1.0) {
    LogoView logo;
    logo.resize(225, 61);
    logo.SetPrinting(printing);
    QImage image(QSize(225, 61) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(ground);
    logo.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

TEST(Logo, IsVectorArtworkOnATransparentGround) {
    const QImage logo = RenderArtwork(kLogoArtwork, QSize(225, 61));
    ASSERT_FALSE(logo.isNull());
    EXPECT_TRUE(logo.hasAlphaChannel());
    // The corners and the caption strip along the bottom are clear.
    for (QPoint p : {QPoint(0, 0), QPoint(224, 0), QPoint(0, 60), QPoint(224, 60), QPoint(120, 56)})
        EXPECT_EQ(qAlpha(logo.pixel(p)), 0) << p.x() << "," << p.y();
}

TEST(Logo, LightOnTheScreensBlackAndDarkOnWhiteWhenPrinting) {
    const Share screen = Measure(RenderLogo(false, Qt::black));
    EXPECT_GT(screen.light, 0.05) << "the name shows light on black";
    EXPECT_GT(screen.dark, 0.5) << "the black page shows through";

    const Share printed = Measure(RenderLogo(true, Qt::white));
    EXPECT_GT(printed.dark, 0.05) << "the name prints dark";
    EXPECT_GT(printed.light, 0.5) << "no solid block: the paper shows through";
}

TEST(Logo, DrawnAtTheDevicePixelRatio) {
    const QImage sharp = RenderArtwork(kLogoArtwork, QSize(225, 61), 2.0);
    EXPECT_EQ(sharp.size(), QSize(450, 122));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    // Rendered at the ratio, the name's edges have twice the pixels: a widget painted at ratio 2 holds
    // more partly covered edge pixels than the 1:1 picture scaled up would.
    const QImage atTwo = RenderLogo(false, Qt::black, 2.0);
    const QImage scaled = RenderLogo(false, Qt::black).scaled(450, 122);
    EXPECT_NE(atTwo.convertToFormat(QImage::Format_RGB32).copy(),
              scaled.convertToFormat(QImage::Format_RGB32));
}

TEST(LogoLabel, TakesTheSizeTheLabelsOwnHintsGive) {
    QWidget parent;
    const struct {
        const char* text;
        const char* face;
        int pixels;
    } cases[] = {{"\u00ae", "MS Sans Serif", 16},
                 {"V1.8", "Small Fonts", 8},
                 {"Ceramic Filter Selection Program", "Small Fonts", 8},
                 {"from Norvane Microwave ", "Arial", 11},
                 {"Wide Wj Text", "MS Sans Serif", 24}};
    for (const auto& c : cases) {
        QLabel* label = LogoLabel(&parent, "Caption", QString::fromUtf8(c.text), 7, 9,
                                  QString::fromLatin1(c.face), c.pixels);
        const QSize made = label->size();
        label->adjustSize();
        EXPECT_EQ(made, label->size()) << c.text;
        EXPECT_EQ(label->pos(), QPoint(7, 9));
    }
}

TEST(Icon, OffersTheThemeSizes) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48, 256})
        EXPECT_EQ(icon.actualSize(QSize(size, size)), QSize(size, size)) << size;
}

}  // namespace
}  // namespace veltrix::testing
