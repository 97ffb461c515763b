#include "quote_form/quote_form.h"

#include <algorithm>

#include "product_texts/contact_data.h"

namespace veltrix {

namespace {

constexpr const char* kRegistered = "\u00ae";
constexpr const char* kUnderline36 = "____________________________________";

}  // namespace

std::string QuoteOfficeColumns(const std::string& usa, const std::string& europe) {
    std::string line(9, ' ');
    line += usa;
    if (line.size() < 61) line.resize(61, ' ');
    line += europe;
    return line;
}

std::vector<QuoteFormItem> LayoutQuoteForm(int pageWidth, const QuoteTextHeights& heights) {
    const int u = QuoteColumnUnit(pageWidth);
    std::vector<QuoteFormItem> items;
    const auto text = [&](int row, int column, int points, std::string value) {
        QuoteFormItem item;
        item.What = QuoteFormItem::Kind::Text;
        item.Points = points;
        item.X = column * u;
        item.Y = QuoteRowY(row, heights.At(points));
        item.Text = std::move(value);
        items.push_back(std::move(item));
    };
    const auto shape = [&](QuoteFormItem::Kind kind, int c1, int r1, int c2, int r2) {
        const int h = heights.At(9);
        QuoteFormItem item;
        item.What = kind;
        item.Points = 9;
        item.X = c1 * u;
        item.Y = QuoteRowY(r1, h);
        item.X2 = c2 * u;
        item.Y2 = QuoteRowY(r2, h);
        items.push_back(std::move(item));
    };

    text(2, 8, 12,
         std::string("Veltrix") + kRegistered +
             " Ceramic Filter Selection Program from Norvane Microwave, Inc.");
    text(4, 33, 10, "REQUEST FOR QUOTE");
    text(8, 18, 9, std::string("For quickest response submit form online @ ") + contact::kWebSiteHost);
    text(9, 18, 9, "or complete the form and fax to Norvane Microwave, Inc.");
    text(12, 5, 9, QuoteOfficeColumns("USA", "EUROPE"));
    text(13, 5, 9,
         QuoteOfficeColumns(std::string("FAX: ") + contact::kSalesFax,
                            std::string("FAX: ") + contact::kEuropeFax));
    text(14, 5, 9, QuoteOfficeColumns("QUESTIONS?", "QUESTIONS?       "));
    text(15, 5, 9,
         QuoteOfficeColumns(std::string("TEL: ") + contact::kSalesPhone,
                            std::string("TEL: ") + contact::kEuropePhone));

    shape(QuoteFormItem::Kind::Rectangle, 12, 18, 68, 30);
    text(19, 14, 9, std::string("Veltrix") + kRegistered + " part number");
    text(19, 52, 9, "Quantity");
    shape(QuoteFormItem::Kind::Line, 50, 18, 50, 30);
    for (int row : {20, 22, 24, 26, 28}) shape(QuoteFormItem::Kind::Line, 12, row, 68, row);

    const struct {
        int row;
        int column;
        const char* label;
    } labels[] = {
        {32, 5, "REQUIRED DELIVERY: __________________________________"},
        {34, 5, "NAME _____________________"},
        {36, 5, "TITLE ____________________"},
        {38, 5, "COMPANY __________________"},
        {40, 5, "DIVISION/DEPT.____________"},
        {42, 5, "M/S ______________________"},
        {44, 5, "MAILING ADDRESS __________"},
        {46, 5, "CITY ________________________"},
        {46, 28, "STATE/PROVINCE __________________"},
        {46, 54, "ZIP/COUNTRY CODE _____________"},
        {48, 5, "COUNTRY __________________________________"},
        {50, 5, "PHONE ________________________________________"},
        {50, 41, "FAX _________________________________________"},
        {52, 5, "E-MAIL ___________________________________________________"},
        {54, 5, "REMARKS/COMMENTS:"},
        {56, 5, "_____________________________"},
        {58, 5, "_____________________________"},
        {60, 5, "_____________________________"},
    };
    for (const auto& label : labels) text(label.row, label.column, 9, label.label);

    // Each label runs on into one long writing line to the right margin.
    const std::string writingLine = std::string(kUnderline36) + kUnderline36;
    for (int row : {32, 34, 36, 38, 40, 42, 44, 48, 52, 56, 58, 60}) text(row, 20, 9, writingLine);
    const int tailX = static_cast<int>(u * 73.25);
    for (int row : {32, 34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 56, 58, 60}) {
        text(row, 0, 9, "_____");
        items.back().X = tailX;
    }
    return items;
}

int QuoteFormHeight(const QuoteTextHeights& heights) {
    int bottom = 0;
    for (const QuoteFormItem& item : LayoutQuoteForm(80, heights)) {
        const int foot = item.What == QuoteFormItem::Kind::Text ? item.Y + heights.At(item.Points)
                                                                : std::max(item.Y, item.Y2);
        bottom = std::max(bottom, foot);
    }
    return bottom;
}

}  // namespace veltrix
