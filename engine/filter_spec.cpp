#include "engine/filter_spec.h"

#include <cctype>
#include <charconv>
#include <limits>
#include <string>

namespace veltrix {

FilterSpec StartSpecification(DrawingUnits preferredUnits) {
    FilterSpec spec;
    spec.Units = preferredUnits;
    return spec;
}

double ReadDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Keep only the digits and the first point: no exponent, no "inf", "nan" or hexadecimal form.
    std::string number;
    bool seenPoint = false;
    bool seenDigit = false;
    bool nonZeroBeforePoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            seenDigit = true;
            if (!seenPoint && c != '0') nonZeroBeforePoint = true;
            number += c;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            number += c;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;

    double value = 0.0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        value = nonZeroBeforePoint ? std::numeric_limits<double>::max() : 0.0;
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

double NormaliseCentreFrequency(double f0) { return f0 < 100.0 ? 100.0 : f0; }

double NormaliseBandwidth(double bw) { return bw == 0.0 ? 1.0 : bw; }

double NormaliseStopband(double f) { return f < 0.0 ? 0.0 : f; }

PassbandDefinition PassbandFromIndex(int index) {
    const ChoiceRow<PassbandChoice>& row =
        RowOf(ChoiceAt<PassbandChoice>(index).value_or(PassbandChoice::Db1_0));
    return {row.Number, row.Value};
}

int PassbandIndex(double pbd) {
    const auto choice = ChoiceFromNumber<PassbandChoice>(pbd);
    return choice ? IndexOf(*choice) : -1;
}

int32_t SectionsFromIndex(int index) { return index + 2; }

ResonatorProfile ProfileFromIndex(int index) {
    return ChoiceAt<ResonatorProfile>(index).value_or(ResonatorProfile::Mm4);
}

DielectricMaterial DielectricFromIndex(int index) {
    return ChoiceAt<DielectricMaterial>(index).value_or(DielectricMaterial::DR);
}

double GraphHalfSpanFromIndex(int index) { return (index + 1) / 2.0; }

}  // namespace veltrix
