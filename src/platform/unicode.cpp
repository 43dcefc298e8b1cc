#include "platform/unicode.h"

namespace tavi {

char32_t NextCodePoint(std::string_view utf8, size_t& offset) {
    constexpr char32_t kReplacement = 0xFFFD;
    const auto lead = static_cast<unsigned char>(utf8[offset]);
    size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++offset;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07u, minimum = 0x10000;
    } else {
        ++offset;
        return kReplacement;
    }
    if (offset + length > utf8.size()) {
        ++offset;
        return kReplacement;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(utf8[offset + i]);
        if ((next & 0xC0) != 0x80) {
            ++offset;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++offset;
        return kReplacement;
    }
    offset += length;
    return value;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace tavi

namespace tavi {

bool IsValidUtf8(std::string_view text) {
    for (size_t offset = 0; offset < text.size();) {
        const size_t start = offset;
        // A bad byte also reads as U+FFFD, but costs one byte, not three.
        if (NextCodePoint(text, offset) == 0xFFFD && offset - start != 3) return false;
    }
    return true;
}

}  // namespace tavi
