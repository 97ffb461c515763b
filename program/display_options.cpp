#include "program/display_options.h"

#include "program/integer_text.h"

namespace veltrix {

void ApplyFontChoice(DisplaySettings& display, FontChoice choice) {
    display.FontName =
        choice == FontChoice::MSSansSerif ? QStringLiteral("MS Sans Serif") : QStringLiteral("Arial");
    const bool small = choice == FontChoice::SmallArial;
    display.FontSizeLarge = small ? 12 : 14;
    display.FontSizeMedium = small ? 10 : 12;
    display.FontSizeSmall = small ? 8 : 10;
    display.FontSizeTiny = small ? 6 : 8;
}

FieldOffsets ParseFieldOffsets(std::string_view xText, std::string_view yText) {
    FieldOffsets offsets{ReadLeadingInteger(xText), ReadLeadingInteger(yText)};
    if (offsets.X > kFieldOffsetLimitX) offsets.X = kFieldOffsetLimitX;
    if (offsets.Y > kFieldOffsetLimitY) offsets.Y = kFieldOffsetLimitY;
    if (offsets.X < -kFieldOffsetLimitX) offsets.X = -kFieldOffsetLimitX;
    if (offsets.Y < -kFieldOffsetLimitY) offsets.Y = -kFieldOffsetLimitY;
    return offsets;
}

}  // namespace veltrix
