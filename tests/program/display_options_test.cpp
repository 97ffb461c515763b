#include "program/display_options.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "program/integer_text.h"

namespace veltrix {
namespace {

struct IntegerCase {
    const char* name;
    std::string text;
    int32_t expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const IntegerCase& c, std::ostream* os) { *os << c.name; }

class ReadLeadingIntegerCases : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ReadLeadingIntegerCases, Reads) {
    EXPECT_EQ(ReadLeadingInteger(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadLeadingIntegerCases,
    ::testing::Values(IntegerCase{"Plain", "120", 120}, IntegerCase{"TrailingText", "120abc", 120},
                      IntegerCase{"LeadingBlanks", "   -7", -7}, IntegerCase{"PlusSign", "+15", 15},
                      IntegerCase{"Empty", "", 0}, IntegerCase{"Letters", "abc", 0},
                      IntegerCase{"SignAlone", "-", 0}, IntegerCase{"BlankAfterSign", "- 5", 0},
                      IntegerCase{"DecimalStopsAtPoint", "12.9", 12},
                      IntegerCase{"Largest", "2147483647", INT32_MAX},
                      IntegerCase{"Smallest", "-2147483648", INT32_MIN},
                      IntegerCase{"OverflowSaturates", "2147483648", INT32_MAX},
                      IntegerCase{"ManyDigitsSaturate", std::string(400, '9'), INT32_MAX},
                      IntegerCase{"NegativeOverflowSaturates", "-" + std::string(400, '9'), INT32_MIN}),
    [](const ::testing::TestParamInfo<IntegerCase>& info) { return std::string(info.param.name); });

struct OffsetCase {
    const char* name;
    const char* x;
    const char* y;
    FieldOffsets expected;
};

void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.name; }

class ParseFieldOffsetsCases : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(ParseFieldOffsetsCases, ParsesAndLimits) {
    EXPECT_EQ(ParseFieldOffsets(GetParam().x, GetParam().y), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ParseFieldOffsetsCases,
    ::testing::Values(OffsetCase{"InRange", "20", "10", {20, 10}},
                      OffsetCase{"LimitedAbove", "1000", "1000", {300, 150}},
                      OffsetCase{"LimitedBelow", "-1000", "-1000", {-300, -150}},
                      OffsetCase{"MixedLimits", "1000", "-1000", {300, -150}},
                      OffsetCase{"ExactLimitsKept", "-300", "150", {-300, 150}},
                      OffsetCase{"LettersReadZero", "abc", "", {0, 0}},
                      OffsetCase{"BlanksSignAndTail", "  -12px", "+7 ", {-12, 7}},
                      OffsetCase{
                          "HugeTextIsLimited", "99999999999999999999", "-99999999999999999999", {300, -150}}),
    [](const ::testing::TestParamInfo<OffsetCase>& info) { return std::string(info.param.name); });

struct FontCase {
    const char* name;
    FontChoice choice;
    const char* face;
    int large, medium, small, tiny;
};

void PrintTo(const FontCase& c, std::ostream* os) { *os << c.name; }

class FontChoices : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontChoices, SetFaceAndSizes) {
    DisplaySettings display;
    // Start from a different choice so every field must be written.
    ApplyFontChoice(display, GetParam().choice == FontChoice::SmallArial ? FontChoice::MSSansSerif
                                                                         : FontChoice::SmallArial);
    ApplyFontChoice(display, GetParam().choice);
    EXPECT_EQ(display.FontName.toStdString(), GetParam().face);
    EXPECT_EQ(display.FontSizeLarge, GetParam().large);
    EXPECT_EQ(display.FontSizeMedium, GetParam().medium);
    EXPECT_EQ(display.FontSizeSmall, GetParam().small);
    EXPECT_EQ(display.FontSizeTiny, GetParam().tiny);
}

INSTANTIATE_TEST_SUITE_P(
    Menu, FontChoices,
    ::testing::Values(FontCase{"MSSansSerif", FontChoice::MSSansSerif, "MS Sans Serif", 14, 12, 10, 8},
                      FontCase{"Arial", FontChoice::Arial, "Arial", 14, 12, 10, 8},
                      FontCase{"SmallArial", FontChoice::SmallArial, "Arial", 12, 10, 8, 6}),
    [](const ::testing::TestParamInfo<FontCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltrix
