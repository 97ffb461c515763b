#pragma once

#include <cmath>
#include <cstdint>

#include <nlohmann/json.hpp>

namespace veltrix {

using Json = nlohmann::ordered_json;  // keys stay in the order they are written

// JSON has no NaN or infinity: a non-finite value is null. A whole number is written without a
// fraction ("1000", not "1000.0"), as scripts have always read it.
inline Json JsonNumber(double value) {
    if (!std::isfinite(value)) return nullptr;
    constexpr double kExactIntegers = 9007199254740992.0;  // 2^53
    if (value == std::trunc(value) && std::fabs(value) < kExactIntegers &&
        !(value == 0.0 && std::signbit(value)))
        return static_cast<std::int64_t>(value);
    return value;
}

}  // namespace veltrix
