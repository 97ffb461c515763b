#pragma once

#include <string>
#include <string_view>

namespace veltrix {

// A JSON string literal, quotes included.
std::string JsonString(std::string_view text);

// Round-trip precision; JSON has no NaN or infinity, so a non-finite value is null.
std::string JsonNumber(double value);

}  // namespace veltrix
