#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "platform/fonts.h"

namespace veltrix::testing {
namespace {

class ClassicFaceTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ClassicFaceTest, ResolvesToAnInstalledFamilyDirectly) {
    const QString face = QString::fromLatin1(GetParam());
    const QString family = ConcreteFamily(face);
    EXPECT_NE(family, face);
    EXPECT_TRUE(QFontDatabase::hasFamily(family)) << family.toStdString();
    // The font asks for the installed family by name, so it gets exactly that one.
    const QFont font = PixelFont(face, 11);
    EXPECT_EQ(font.family(), family);
    EXPECT_EQ(QFontInfo(font).family(), family);
    EXPECT_EQ(QFontInfo(font).pixelSize(), 11);
}

INSTANTIATE_TEST_SUITE_P(Faces, ClassicFaceTest,
                         ::testing::Values("MS Sans Serif", "Arial", "Small Fonts", "Terminal",
                                           "Courier New"));

TEST(Fonts, MonospacedFacesGetAMonospacedFamily) {
    for (const char* face : {"Terminal", "Courier New"})
        EXPECT_TRUE(QFontInfo(PixelFont(QString::fromLatin1(face), 12)).fixedPitch()) << face;
    EXPECT_FALSE(QFontInfo(PixelFont(QStringLiteral("MS Sans Serif"), 12)).fixedPitch());
}

TEST(Fonts, EachFaceAndSizeIsBuiltOnceAndShared) {
    const QFont first = PointFont(QStringLiteral("MS Sans Serif"), 8);
    const QFont again = PixelFont(QStringLiteral("MS Sans Serif"), 11);
    EXPECT_TRUE(again.isCopyOf(first)) << "8 pt is 11 px: the same font, not a new one";
    EXPECT_FALSE(PixelFont(QStringLiteral("MS Sans Serif"), 12).isCopyOf(first));
    EXPECT_EQ(PixelFont(QStringLiteral("Arial"), 0).pixelSize(), 1) << "never a size Qt refuses";
}

TEST(Fonts, OtherNamesAreKept) {
    EXPECT_EQ(ConcreteFamily(QStringLiteral("DejaVu Serif")), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(PointsToPixels(8), 11);
    EXPECT_EQ(PointsToPixels(12), 16);
}

}  // namespace
}  // namespace veltrix::testing
