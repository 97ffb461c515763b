#include "selection_options/printable.h"

#include <algorithm>
#include <cstddef>

namespace veltrix {
namespace {

// The length of the valid UTF-8 sequence starting text[i], or 0 when it is not one.
size_t Utf8Length(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xbf;  // the allowed range of the second byte
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0) low = 0xa0;
        if (lead == 0xed) high = 0x9f;  // no surrogates
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0) low = 0x90;
        if (lead == 0xf4) high = 0x8f;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xbf) return 0;
    }
    return length;
}

// A character that moves or hides text on a terminal: a C1 control, a line or paragraph separator,
// or a bidirectional control.
bool Invisible(std::string_view character) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(character[k]); };
    if (character.size() == 2)
        return (byte(0) == 0xc2 && byte(1) < 0xa0) || (byte(0) == 0xd8 && byte(1) == 0x9c);  // C1, U+061C
    if (character.size() == 3 && byte(0) == 0xe2 && byte(1) == 0x80)
        return byte(2) == 0x8e || byte(2) == 0x8f ||
               (byte(2) >= 0xa8 && byte(2) <= 0xae);  // 200E/F, 2028..202E
    if (character.size() == 3 && byte(0) == 0xe2 && byte(1) == 0x81)
        return byte(2) >= 0xa6 && byte(2) <= 0xa9;  // U+2066..U+2069
    return false;
}

}  // namespace

std::string Printable(std::string_view text) {
    constexpr size_t kMaxEcho = 40;
    std::string shown;
    size_t i = 0;
    while (i < text.size() && shown.size() < kMaxEcho) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            shown += (byte < 0x20 || byte == 0x7f) ? '?' : text[i];
            ++i;
            continue;
        }
        const size_t length = Utf8Length(text, i);
        if (length == 0 || Invisible(text.substr(i, length))) {
            shown += '?';
            i += std::max<size_t>(length, 1);
        } else {
            if (shown.size() + length > kMaxEcho) break;
            shown.append(text.substr(i, length));
            i += length;
        }
    }
    if (i < text.size()) shown += "...";
    return shown;
}

}  // namespace veltrix
