#pragma once

#include <string>
#include <string_view>

namespace veltrix {

// At most a few dozen characters of what the user typed, safe to echo in one line: control
// bytes and broken UTF-8 become '?', and a multi-byte character is never cut in half.
std::string Printable(std::string_view text);

}  // namespace veltrix
