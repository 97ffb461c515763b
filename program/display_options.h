#pragma once

#include <cstdint>
#include <string_view>

#include "program/display_settings.h"

namespace veltrix {

// The three rows of Configure > Font.
enum class FontChoice { MSSansSerif, Arial, SmallArial };

// Face and the four painting sizes of one font choice.
void ApplyFontChoice(DisplaySettings& display, FontChoice choice);

inline constexpr int32_t kFieldOffsetLimitX = 300;
inline constexpr int32_t kFieldOffsetLimitY = 150;

struct FieldOffsets {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const FieldOffsets&) const = default;
};

// The two texts of the offsets dialog as stored values: each read as a whole number (unreadable text
// is 0), then limited: X above 300, Y above 150, X below -300, Y below -150.
FieldOffsets ParseFieldOffsets(std::string_view xText, std::string_view yText);

}  // namespace veltrix
