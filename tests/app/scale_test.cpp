// Windows at a scale of 2 on a 1600 x 1000 screen (800 x 500 in the program's units): they open
// inside the area they live in.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <memory>

#include "app/frame.h"
#include "finder_window/finder_window.h"
#include "info/quote_request_window.h"
#include "platform/fonts.h"
#include "program/program.h"
#include "tests/app/shown_frame.h"

namespace veltrix {
namespace {

// The frame maximised on the screen, as the program starts.
class ScaleTest : public testing::ShownFrameTest {
  protected:
    void SetUp() override {
        testing::ShownFrameTest::SetUp();
        frame_->showMaximized();
        QCoreApplication::processEvents();
    }
};

TEST_F(ScaleTest, TheScreenIsSmall) {
    EXPECT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(800, 500));
    EXPECT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
}

TEST_F(ScaleTest, FindPartsOpensInsideTheFrameAndScrolls) {
    frame_->Actions().Action("find_parts")->trigger();
    QCoreApplication::processEvents();
    FindPartsWindow* finder = frame_->FindParts();
    ASSERT_NE(finder, nullptr);
    QMdiSubWindow* window = frame_->MdiArea()->currentSubWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isAncestorOf(finder));
    const QRect area = frame_->MdiArea()->viewport()->rect();
    EXPECT_TRUE(area.contains(window->geometry()))
        << "window " << window->geometry().x() << ',' << window->geometry().y() << ' ' << window->width()
        << 'x' << window->height() << " in " << area.width() << 'x' << area.height();
    // Its controls need more room than there is: they are reached by scrolling, not cut off.
    EXPECT_GT(finder->minimumSizeHint().width() + finder->minimumSizeHint().height(), 0);
    EXPECT_GE(finder->width(), finder->minimumSizeHint().width());
    EXPECT_GE(finder->height(), finder->minimumSizeHint().height());
}

TEST_F(ScaleTest, RequestForQuoteOpensOnTheScreenAtItsDesignSize) {
    QuoteRequestWindow* quote = frame_->RequestForQuote();
    quote->show();
    QCoreApplication::processEvents();
    const QRect screen = quote->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(quote->frameGeometry()))
        << quote->frameGeometry().x() << ',' << quote->frameGeometry().y() << ' '
        << quote->frameGeometry().width() << 'x' << quote->frameGeometry().height() << " on "
        << screen.width() << 'x' << screen.height();
    EXPECT_EQ(quote->Client()->size(), QSize(PageWindow::kClientWidth, PageWindow::kClientHeight));
}

}  // namespace
}  // namespace veltrix

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    // A 1600 x 1000 screen at a scale of 2, with window frames as a window manager adds them.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"windowFrameMargins": true, "screens": [{"name": "small", "x": 0, "y": 0,
                 "width": 1600, "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    veltrix::RegisterFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
