#include "platform/shared_icons.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

namespace veltrix {
namespace {

// The shared icons must be made once, yet look exactly as the desktop's style makes them; sharing
// twice must not stack a second style on the first.
TEST(SharedIconsTest, TitleBarIconsAreMadeOnceAndLookAsTheStyleMakesThem) {
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(QApplication::style()->name()));
    ASSERT_NE(plain, nullptr);
    ShareStandardIcons();
    QStyle* shared = QApplication::style();
    ShareStandardIcons();
    EXPECT_EQ(QApplication::style(), shared);
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_TitleBarMenuButton, QStyle::SP_TitleBarMinButton, QStyle::SP_TitleBarMaxButton,
          QStyle::SP_TitleBarCloseButton, QStyle::SP_TitleBarNormalButton,
          QStyle::SP_ToolBarHorizontalExtensionButton}) {
        SCOPED_TRACE(static_cast<int>(which));
        const QIcon first = shared->standardIcon(which);
        EXPECT_EQ(shared->standardIcon(which).cacheKey(), first.cacheKey());
        for (const int size : {16, 32})
            EXPECT_EQ(first.pixmap(size).toImage(), plain->standardIcon(which).pixmap(size).toImage());
    }
}

}  // namespace
}  // namespace veltrix
