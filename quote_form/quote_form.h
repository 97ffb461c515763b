#pragma once

#include <string>
#include <vector>

namespace veltrix {

// One item of the printed quotation request form, in printer pixels.
struct QuoteFormItem {
    enum class Kind { Text, Rectangle, Line };
    Kind What = Kind::Text;
    int Points = 9;  // the font size current when the item is drawn
    int X = 0;       // text: left-top; rectangle and line: from (X, Y) to (X2, Y2)
    int Y = 0;
    int X2 = 0;
    int Y2 = 0;
    std::string Text;  // UTF-8
};

// The printer's text heights of "Hi there!" at the form's three sizes.
struct QuoteTextHeights {
    int At12 = 0;
    int At10 = 0;
    int At9 = 0;
    int At(int points) const { return points == 12 ? At12 : points == 10 ? At10 : At9; }
};

// The column unit: a page holds 80 of them.
inline int QuoteColumnUnit(int pageWidth) { return pageWidth / 80; }
// The top of row k: rows are 10 printer pixels further apart than the text height.
inline int QuoteRowY(int row, int textHeight) { return row * (textHeight + 10); }

// Every item of the form, in drawing order, for a page of the given width.
std::vector<QuoteFormItem> LayoutQuoteForm(int pageWidth, const QuoteTextHeights& heights);

// How far down the page the form reaches (the foot of its lowest row), in printer pixels. The rows
// follow the text heights alone, so a page shorter than this cannot hold the form at any width.
int QuoteFormHeight(const QuoteTextHeights& heights);

// A line with two texts starting at characters 9 and 61, as the office columns of the form.
std::string QuoteOfficeColumns(const std::string& usa, const std::string& europe);

}  // namespace veltrix
