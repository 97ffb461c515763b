#include "report/fixed_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace veltrix {

namespace {

// With a 64-bit significand, value * 10^precision is exact for the report's precisions (53 + 7 bits),
// so rounding it to an integer in the default mode (ties to even) is what printf does with the
// exact binary value.
constexpr bool kExactScaling = std::numeric_limits<long double>::digits >= 60;
constexpr long double kScaledLimit = 9.0e15L;

bool AppendScaled(std::string& out, double value, int width, int precision) {
    if (!kExactScaling || precision < 0 || precision > 2 || !std::isfinite(value)) return false;
    const long double scale = precision == 0 ? 1.0L : precision == 1 ? 10.0L : 100.0L;
    const long double scaled = std::fabs(static_cast<long double>(value) * scale);
    if (scaled > kScaledLimit) return false;

    auto units = static_cast<unsigned long long>(std::llrint(scaled));
    char digits[32];
    char* p = digits + sizeof digits;
    for (int i = 0; i < precision; ++i) {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (precision > 0) *--p = '.';
    do {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
    if (std::signbit(value)) *--p = '-';  // printf keeps the sign of a value that rounds to zero

    const int length = static_cast<int>(digits + sizeof digits - p);
    if (length < width) out.append(width - length, ' ');
    out.append(p, length);
    return true;
}

}  // namespace

void AppendFixed(std::string& out, double value, int width, int precision) {
    if (AppendScaled(out, value, width, precision)) return;

    char digits[64];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
    if (error == std::errc()) {
        const int length = static_cast<int>(end - digits);
        if (length < width) out.append(width - length, ' ');
        out.append(digits, end);
        return;
    }
    // An absurd magnitude: let printf size it.
    const int length = std::snprintf(nullptr, 0, "%*.*f", width, precision, value);
    const size_t at = out.size();
    out.resize(at + length);
    std::snprintf(out.data() + at, length + 1, "%*.*f", width, precision, value);
}

}  // namespace veltrix
