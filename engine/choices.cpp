#include "engine/choices.h"

namespace veltrix {
namespace {

constexpr std::string_view kNoRow = "?";

template <typename E, typename Field>
std::string_view NameOf(std::optional<E> choice, Field field) {
    return choice ? RowOf(*choice).*field : kNoRow;
}

}  // namespace

std::vector<int32_t> OfferedProfileNumbers() {
    std::vector<int32_t> numbers;
    for (const auto& row : kProfileChoices) {
        if (row.Offered) numbers.push_back(ProfileNumber(row.Value));
    }
    return numbers;
}

std::string_view ProfileLabel(int32_t profileNumber) {
    return NameOf(ProfileFromNumber(profileNumber), &ChoiceRow<ResonatorProfile>::Label);
}
std::string_view DielectricLabel(char code) {
    return NameOf(ChoiceFromCode<DielectricMaterial>(code), &ChoiceRow<DielectricMaterial>::Label);
}
std::string_view MountingLabel(char code) {
    return NameOf(ChoiceFromCode<MountingStyle>(code), &ChoiceRow<MountingStyle>::Label);
}

std::string_view ProfileOption(int32_t profileNumber) {
    return NameOf(ProfileFromNumber(profileNumber), &ChoiceRow<ResonatorProfile>::Option);
}
std::string_view DielectricOption(char code) {
    return NameOf(ChoiceFromCode<DielectricMaterial>(code), &ChoiceRow<DielectricMaterial>::Option);
}
std::string_view MountingOption(char code) {
    return NameOf(ChoiceFromCode<MountingStyle>(code), &ChoiceRow<MountingStyle>::Option);
}

}  // namespace veltrix
