#include "quote_form/quote_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace veltrix {
namespace {

using Kind = QuoteFormItem::Kind;

const QuoteTextHeights kHeights{120, 105, 100};

const QuoteFormItem* FindText(const std::vector<QuoteFormItem>& items, const std::string& prefix) {
    for (const QuoteFormItem& item : items)
        if (item.What == Kind::Text && item.Text.rfind(prefix, 0) == 0) return &item;
    return nullptr;
}

std::set<int> RowsOf(const std::vector<QuoteFormItem>& items, const std::string& text, int rowHeight) {
    std::set<int> rows;
    for (const QuoteFormItem& item : items)
        if (item.What == Kind::Text && item.Text == text) rows.insert(item.Y / rowHeight);
    return rows;
}

TEST(QuoteForm, PlacesTheItemsOfAnA4PageAt600Dpi) {
    const auto items = LayoutQuoteForm(4960, kHeights);
    EXPECT_EQ(QuoteColumnUnit(4960), 62);

    const QuoteFormItem* title = FindText(items, "Veltrix\u00ae Ceramic Filter Selection Program");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->X, 496);
    EXPECT_EQ(title->Y, 260) << "row 2 at 12 points: 2 x (120 + 10)";
    EXPECT_EQ(title->Points, 12);

    const QuoteFormItem* heading = FindText(items, "REQUEST FOR QUOTE");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->X, 2046);
    EXPECT_EQ(heading->Y, 4 * 115);
    EXPECT_EQ(heading->Points, 10);

    const QuoteFormItem* delivery = FindText(items, "REQUIRED DELIVERY:");
    ASSERT_NE(delivery, nullptr);
    EXPECT_EQ(delivery->Y, 3520);
    EXPECT_EQ(delivery->X, 310);

    const auto box =
        std::find_if(items.begin(), items.end(), [](const auto& i) { return i.What == Kind::Rectangle; });
    ASSERT_NE(box, items.end());
    EXPECT_EQ(box->X, 744);
    EXPECT_EQ(box->X2, 4216);
    EXPECT_EQ(box->Y, 18 * 110);
    EXPECT_EQ(box->Y2, 30 * 110);

    std::vector<QuoteFormItem> lines;
    std::copy_if(items.begin(), items.end(), std::back_inserter(lines),
                 [](const auto& i) { return i.What == Kind::Line; });
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].X, 3100);
    EXPECT_EQ(lines[0].X2, 3100);
    EXPECT_EQ(lines[0].Y, 1980);
    EXPECT_EQ(lines[0].Y2, 3300);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const int row = 18 + 2 * static_cast<int>(i);
        EXPECT_EQ(lines[i].Y, row * 110);
        EXPECT_EQ(lines[i].Y2, row * 110);
        EXPECT_EQ(lines[i].X, 744);
        EXPECT_EQ(lines[i].X2, 4216);
    }

    int tails = 0;
    int lastRow = 0;
    for (const QuoteFormItem& item : items) {
        if (item.Text != "_____") continue;
        ++tails;
        EXPECT_EQ(item.X, 4541);
        lastRow = item.Y / 110;
    }
    EXPECT_EQ(tails, 14);
    EXPECT_EQ(lastRow, 60);
    EXPECT_EQ(FindText(items, "_____________________________")->Y, 56 * 110);
}

TEST(QuoteForm, WritingLinesAndTailsGoOnTheirRows) {
    const auto items = LayoutQuoteForm(4960, kHeights);
    const std::string writingLine(72, '_');
    EXPECT_EQ(RowsOf(items, writingLine, 110),
              (std::set<int>{32, 34, 36, 38, 40, 42, 44, 48, 52, 56, 58, 60}));
    EXPECT_EQ(RowsOf(items, "_____", 110),
              (std::set<int>{32, 34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 56, 58, 60}));
    for (const QuoteFormItem& item : items)
        if (item.Text == writingLine) {
            EXPECT_EQ(item.X, 20 * 62);
        }
}

TEST(QuoteForm, OfficeColumnsStartAtCharactersNineAndSixtyOne) {
    const auto items = LayoutQuoteForm(4960, kHeights);
    const QuoteFormItem* offices = FindText(items, "         USA");
    ASSERT_NE(offices, nullptr);
    EXPECT_EQ(offices->Text, "         USA                                                 EUROPE");
    const QuoteFormItem* questions = FindText(items, "         QUESTIONS?");
    ASSERT_NE(questions, nullptr);
    EXPECT_EQ(questions->Text,
              "         QUESTIONS?                                          QUESTIONS?       ");
    for (const char* label : {"FAX: ", "TEL: "}) {
        const QuoteFormItem* line = FindText(items, std::string(9, ' ') + label);
        ASSERT_NE(line, nullptr) << label;
        EXPECT_EQ(line->Text.substr(61, 5), label) << line->Text;
        EXPECT_EQ(line->Text[60], ' ') << line->Text;
    }
}

TEST(QuoteForm, ReachesDownToTheFootOfRowSixty) {
    EXPECT_EQ(QuoteFormHeight(kHeights), 60 * 110 + 100);
    EXPECT_EQ(QuoteFormHeight(QuoteTextHeights{71, 58, 53}), 60 * 63 + 53);
}

// The grid follows the page and the text height of the size in use, whatever the printer.
class QuoteFormPage : public ::testing::TestWithParam<int> {};

TEST_P(QuoteFormPage, EveryItemSitsOnTheColumnAndRowGrid) {
    const int width = GetParam();
    const QuoteTextHeights heights{71, 58, 53};
    const int u = width / 80;
    const auto items = LayoutQuoteForm(width, heights);
    ASSERT_EQ(items.size(), 61u);
    for (const QuoteFormItem& item : items) {
        const int row = heights.At(item.Points) + 10;
        EXPECT_EQ(item.Y % row, 0) << item.Text;
        if (item.Text != "_____") {
            EXPECT_EQ(item.X % u, 0) << item.Text;
        } else {
            EXPECT_EQ(item.X, static_cast<int>(u * 73.25));
        }
        if (item.What != Kind::Text) {
            EXPECT_EQ(item.Y2 % row, 0);
        }
        EXPECT_LE(item.Y / row, 60);
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, QuoteFormPage, ::testing::Values(2480, 2550, 4960, 9921, 79 + 80));

}  // namespace
}  // namespace veltrix
