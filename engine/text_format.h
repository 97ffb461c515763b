#pragma once

#include <cstdio>
#include <string>

namespace veltrix {

// printf-style formatting into a string sized to fit: a figure may have hundreds of digits.
template <typename... Args>
std::string FormatText(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

}  // namespace veltrix
