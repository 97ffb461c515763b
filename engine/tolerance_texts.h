#pragma once

#include <array>
#include <string_view>

// The Tolerances dialog's statements, plain text for the dialog and the datasheet alike.
namespace veltrix {

inline constexpr std::string_view kToleranceHeading = "Tolerance Information";
inline constexpr std::string_view kToleranceIntroduction =
    "Due to manufacturing variations, please observe these guidelines: ";
// The guidelines under the introduction.
inline constexpr std::array<std::string_view, 3> kToleranceGuidelines{
    "Actual attenuation at any given frequency point may vary by \u00B110%.",
    "Actual 3dB bandwidth may be wider than specified (typically 10-20%).",
    "Passband insertion loss may exceed given value (10% maximum).",
};
inline constexpr std::array<std::string_view, 2> kToleranceGuarantees{
    "For fo < 2 GHz, attenuation levels are guaranteed to -60dBc.",
    "For fo > 2 GHz, attenuation levels are guaranteed to -30dBc.",
};
inline constexpr std::string_view kToleranceContact =
    "For more stringent requirements, please contact the factory.";

}  // namespace veltrix
