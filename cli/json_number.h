#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include <nlohmann/json.hpp>

namespace veltrix {

using Json = nlohmann::ordered_json;  // keys stay in the order they are written

// JSON has no NaN or infinity: a non-finite value is null. A whole number is written without a
// fraction ("1000", not "1000.0"), as scripts have always read it.
inline bool JsonWholeNumber(double value) {
    constexpr double kExactIntegers = 9007199254740992.0;  // 2^53
    return value == std::trunc(value) && std::fabs(value) < kExactIntegers &&
           !(value == 0.0 && std::signbit(value));
}

inline Json JsonNumber(double value) {
    if (!std::isfinite(value)) return nullptr;
    if (JsonWholeNumber(value)) return static_cast<std::int64_t>(value);
    return value;
}

// JsonNumber(value).dump() without making a value, for a document written a piece at a time.
inline std::string_view JsonNumberText(double value, std::array<char, 64>& buffer) {
    if (!std::isfinite(value)) return "null";
    char* end = buffer.data();
    if (JsonWholeNumber(value)) {
        end =
            std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<std::int64_t>(value)).ptr;
    } else {
        end = nlohmann::detail::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    }
    return std::string_view(buffer.data(), static_cast<size_t>(end - buffer.data()));
}

}  // namespace veltrix
