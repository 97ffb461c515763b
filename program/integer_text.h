#pragma once

#include <cstdint>
#include <string_view>

namespace veltrix {

// Reads text the way the preferences file and the offsets dialog take whole numbers: leading white space
// skipped, an optional sign, then digits up to the first other character. Text without digits reads as 0.
// A value beyond the 32-bit range saturates at its end instead of wrapping.
int32_t ReadLeadingInteger(std::string_view text);

}  // namespace veltrix
