#include "engine/choices.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace veltrix {
namespace {

template <typename E>
class ChoiceTableTest : public ::testing::Test {};

using ChoiceTypes =
    ::testing::Types<PassbandChoice, ResonatorProfile, DielectricMaterial, MountingStyle, DrawingUnits>;
TYPED_TEST_SUITE(ChoiceTableTest, ChoiceTypes);

// Every encoding names exactly one choice, so reading back what was written gives the same choice.
TYPED_TEST(ChoiceTableTest, EachEncodingRoundTrips) {
    using E = TypeParam;
    std::set<char> codes;
    std::set<std::string_view> options, labels;
    for (const auto& row : ChoicesOf(E{})) {
        EXPECT_TRUE(codes.insert(row.Code).second) << "code " << row.Code << " twice";
        EXPECT_TRUE(options.insert(row.Option).second) << "option " << row.Option << " twice";
        EXPECT_TRUE(labels.insert(row.Label).second) << "label " << row.Label << " twice";
        EXPECT_EQ(ChoiceFromCode<E>(CodeOf(row.Value)), row.Value) << row.Label;
        EXPECT_EQ(ChoiceFromOption<E>(row.Option), row.Value) << row.Label;
        EXPECT_EQ(ChoiceAt<E>(IndexOf(row.Value)), row.Value) << row.Label;
        EXPECT_EQ(&RowOf(row.Value), &row) << row.Label;
    }
    EXPECT_EQ(ChoiceFromCode<E>('\0'), std::nullopt);
    EXPECT_EQ(ChoiceFromOption<E>(""), std::nullopt);
    EXPECT_EQ(ChoiceAt<E>(-1), std::nullopt);
    EXPECT_EQ(ChoiceAt<E>(static_cast<int>(ChoicesOf(E{}).size())), std::nullopt);
}

// The drop-down lists show the offered choices only, as the first rows, so a row's position is
// its list index.
TYPED_TEST(ChoiceTableTest, ListedChoicesAreOfferedAndComeFirst) {
    bool listing = true;
    for (const auto& row : ChoicesOf(TypeParam{})) {
        if (row.ListText.empty()) {
            listing = false;
            continue;
        }
        EXPECT_TRUE(listing) << row.Label << " is listed after a choice that is not";
        EXPECT_TRUE(row.Offered) << row.Label;
    }
}

struct Encoding {
    char Code;
    std::string_view Option;
    std::string_view Label;
    bool Offered;
};

template <typename E>
std::vector<Encoding> EncodingsOf() {
    std::vector<Encoding> encodings;
    for (const auto& row : ChoicesOf(E{}))
        encodings.push_back({row.Code, row.Option, row.Label, row.Offered});
    return encodings;
}

bool operator==(const Encoding& a, const Encoding& b) {
    return a.Code == b.Code && a.Option == b.Option && a.Label == b.Label && a.Offered == b.Offered;
}

void PrintTo(const Encoding& e, std::ostream* os) {
    *os << "{'" << e.Code << "', " << e.Option << ", " << e.Label
        << (e.Offered ? ", offered}" : ", withdrawn}");
}

// What the part number, the preferences file and the companion's output hold must never move:
// files and scripts written today are read back tomorrow.
TEST(ChoiceEncodingsTest, StoredAndPrintedValuesStayPut) {
    EXPECT_EQ(EncodingsOf<PassbandChoice>(), (std::vector<Encoding>{
                                                 {'H', "0.5", "0.5 dB", true},
                                                 {'U', "1.0", "1.0 dB", true},
                                                 {'T', "3.0", "3.0 dB", true},
                                             }));
    EXPECT_EQ(EncodingsOf<ResonatorProfile>(), (std::vector<Encoding>{
                                                   {'2', "4mm", "4 mm", true},
                                                   {'3', "6mm", "6 mm", true},
                                                   {'4', "12mm", "12 mm", false},
                                               }));
    EXPECT_EQ(EncodingsOf<DielectricMaterial>(), (std::vector<Encoding>{
                                                     {'L', "DL", "DL 21.5", true},
                                                     {'R', "DR", "DR 37", true},
                                                     {'H', "DH", "DH 90", true},
                                                 }));
    EXPECT_EQ(EncodingsOf<MountingStyle>(), (std::vector<Encoding>{
                                                {'1', "drop-in", "Drop-in", true},
                                                {'2', "pin", "Surface mount - Pin", false},
                                                {'3', "tab", "Surface mount - Tab", true},
                                                {'4', "tessel", "Tessel Leadless", false},
                                                {'5', "orbis", "Orbis Leadless", true},
                                            }));
    EXPECT_EQ(EncodingsOf<DrawingUnits>(), (std::vector<Encoding>{
                                               {'E', "in", "Inches", true},
                                               {'M', "mm", "Millimeters", true},
                                           }));
    EXPECT_EQ(EncodingsOf<StartupPagesState>(), (std::vector<Encoding>{
                                                    {'N', "", "", true},
                                                    {'I', "", "", true},
                                                    {'Y', "", "", true},
                                                }));
    EXPECT_EQ(RowOf(PassbandChoice::Db0_5).Number, 0.5);
    EXPECT_EQ(RowOf(PassbandChoice::Db3_0).Number, 3.0);
}

// The record holds profiles as 1 to 3; the part number prints the digit one above.
TEST(ChoiceEncodingsTest, ProfileNumbersAndDigits) {
    for (const auto& row : kProfileChoices) {
        const int32_t number = ProfileNumber(row.Value);
        EXPECT_EQ(ProfileFromNumber(number), row.Value);
        EXPECT_EQ(ProfileDigit(number), static_cast<char>('0' + number + 1));
        EXPECT_EQ(ProfileLabel(number), row.Label);
        EXPECT_EQ(ProfileOption(number), row.Option);
    }
    EXPECT_EQ(ProfileNumber(ResonatorProfile::Mm4), 1);
    EXPECT_EQ(ProfileNumber(ResonatorProfile::Mm12), 3);
    EXPECT_EQ(ProfileFromNumber(0), std::nullopt);
    EXPECT_EQ(ProfileDigit(4), '?');
    EXPECT_EQ(ProfileLabel(4), "?");
}

TEST(ChoiceEncodingsTest, NamesOfStoredCodes) {
    EXPECT_EQ(MountingLabel('3'), "Surface mount - Tab");
    EXPECT_EQ(MountingOption('4'), "tessel");
    EXPECT_EQ(DielectricLabel('H'), "DH 90");
    EXPECT_EQ(DielectricOption('L'), "DL");
    // An unknown code is named as unknown, never as some other choice.
    EXPECT_EQ(MountingLabel('6'), "?");
    EXPECT_EQ(DielectricLabel('X'), "?");
    EXPECT_EQ(MountingOption('\0'), "?");
}

TEST(ChoiceEncodingsTest, OfferedChoicesInTableOrder) {
    EXPECT_EQ(OfferedProfileNumbers(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(OfferedCodes<MountingStyle>(), (std::vector<char>{'1', '3', '5'}));
    EXPECT_EQ(OfferedCodes<DielectricMaterial>(), (std::vector<char>{'L', 'R', 'H'}));
    EXPECT_EQ(OfferedCodes<DrawingUnits>(), (std::vector<char>{'E', 'M'}));
    EXPECT_EQ(OfferedChoices<ResonatorProfile>(),
              (std::vector<ResonatorProfile>{ResonatorProfile::Mm4, ResonatorProfile::Mm6}));
    EXPECT_EQ(
        OfferedChoices<MountingStyle>(),
        (std::vector<MountingStyle>{MountingStyle::DropIn, MountingStyle::SurfaceTab, MountingStyle::Orbis}));
}

}  // namespace
}  // namespace veltrix
