#include "app/window_arrangement.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <memory>
#include <vector>

namespace veltrix {
namespace {

TEST(TileHorizontally, RowsShareTheHeightAtFullWidth) {
    const std::vector<QRect> rows = TileHorizontally(QRect(0, 0, 900, 601), 3);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], QRect(0, 0, 900, 200));
    EXPECT_EQ(rows[1], QRect(0, 200, 900, 200));
    EXPECT_EQ(rows[2], QRect(0, 400, 900, 201)) << "the last row takes the remainder";
}

TEST(TileHorizontally, NothingToTile) {
    EXPECT_TRUE(TileHorizontally(QRect(0, 0, 900, 600), 0).empty());
    EXPECT_TRUE(TileHorizontally(QRect(), 3).empty());
    // An area lower than the window count still gives every window a row of at least one pixel.
    for (const QRect& r : TileHorizontally(QRect(0, 0, 100, 2), 3)) EXPECT_GE(r.height(), 1);
}

TEST(FittedRect, KeepsWhatFitsAndBringsTheRestInside) {
    const QRect area(0, 0, 800, 500);
    const struct {
        QRect design;
        QRect fitted;
    } cases[] = {
        {{75, 40, 600, 400}, {75, 40, 600, 400}},      // fits as designed
        {{75, 40, 780, 640}, {20, 0, 780, 500}},       // too tall: as tall as the area, moved up and in
        {{75, 40, 1560, 1280}, {0, 0, 800, 500}},      // larger both ways: the whole area
        {{-30, -10, 200, 100}, {0, 0, 200, 100}},      // off the top left
        {{700, 450, 200, 100}, {600, 400, 200, 100}},  // off the bottom right
    };
    for (const auto& c : cases)
        EXPECT_EQ(FittedRect(c.design, area), c.fitted) << c.design.x() << ',' << c.design.y();
    EXPECT_EQ(FittedRect({75, 40, 780, 640}, QRect(10, 20, 400, 300)), QRect(10, 20, 400, 300));
}

TEST(ArrangeIconPositions, RowAlongTheBottomWrappingUpwards) {
    const QRect area(0, 0, 400, 300);
    const std::vector<QPoint> at = ArrangeIconPositions(area, {{160, 30}, {160, 30}, {160, 30}});
    ASSERT_EQ(at.size(), 3u);
    EXPECT_EQ(at[0], QPoint(0, 270));
    EXPECT_EQ(at[1], QPoint(160, 270));
    EXPECT_EQ(at[2], QPoint(0, 240)) << "a third icon does not fit in 400 pixels";
}

TEST(ArrangeIconPositions, IconWiderThanTheAreaStillPlaced) {
    const std::vector<QPoint> at = ArrangeIconPositions(QRect(0, 0, 100, 300), {{160, 30}, {160, 30}});
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[0], QPoint(0, 270));
    EXPECT_EQ(at[1], QPoint(0, 240));
}

// Menus named by their group so the merged order reads as the groups.
class MergeMenusTest : public ::testing::Test {
  protected:
    QMenu* Make(const QString& title) {
        menus_.push_back(std::make_unique<QMenu>(title));
        return menus_.back().get();
    }
    static QStringList Titles(const QList<QMenu*>& menus) {
        QStringList titles;
        for (QMenu* m : menus) titles << m->title();
        return titles;
    }
    QList<GroupedMenu> Frame() {
        return {{0, Make("frame File")},
                {6, Make("Window")},
                {7, Make("Sales")},
                {8, Make("Configure")},
                {9, Make("Help")}};
    }
    std::vector<std::unique_ptr<QMenu>> menus_;
};

TEST_F(MergeMenusTest, ChildGroupsFirstInOrderThenFrame) {
    const QList<GroupedMenu> child{{5, Make("Graph")},    {0, Make("File")},     {1, Make("Passband")},
                                   {5, Make("Mounting")}, {2, Make("Stopband")}, {5, Make("View")}};
    EXPECT_EQ(Titles(MergeMenus(child, Frame())),
              (QStringList{"File", "Passband", "Stopband", "Graph", "Mounting", "View", "Window", "Sales",
                           "Configure", "Help"}));
}

TEST_F(MergeMenusTest, FrameFileStaysWhenChildHasNone) {
    EXPECT_EQ(Titles(MergeMenus({{5, Make("View")}}, Frame())),
              (QStringList{"frame File", "View", "Window", "Sales", "Configure", "Help"}));
    EXPECT_EQ(Titles(MergeMenus({}, Frame())),
              (QStringList{"frame File", "Window", "Sales", "Configure", "Help"}));
}

TEST_F(MergeMenusTest, ChildMenusOutsideItsGroupsAreLeftOut) {
    const QList<GroupedMenu> child{{0, Make("File")}, {7, Make("child Sales")}, {-1, Make("stray")}};
    EXPECT_EQ(Titles(MergeMenus(child, Frame())),
              (QStringList{"File", "Window", "Sales", "Configure", "Help"}));
}

}  // namespace
}  // namespace veltrix
