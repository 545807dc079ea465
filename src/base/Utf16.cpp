// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf16.h"

#include <algorithm>

namespace q905 {

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD; // a lone surrogate
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
        }
        if (length > 1) {
            if (i + length > text.size()) {
                length = text.size() - i;
            } else {
                c = b & (0xFF >> (length + 1));
                for (std::size_t k = 1; k < length; ++k) {
                    const auto cont = static_cast<unsigned char>(text[i + k]);
                    if ((cont & 0xC0) != 0x80) {
                        c = 0xFFFD;
                        length = k;
                        break;
                    }
                    c = (c << 6) | (cont & 0x3F);
                }
            }
        }
        i += length;
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c > 0xFFFF ? 0xFFFD : c);
        }
    }
    return out;
}

std::u16string readUtf16Field(std::span<const std::uint8_t> field) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(field[i] | (field[i + 1] << 8));
        if (c == 0)
            break;
        text += c;
    }
    return text;
}

std::size_t writeUtf16Field(std::span<std::uint8_t> field, std::u16string_view text) {
    std::fill(field.begin(), field.end(), 0);
    const std::size_t capacity = field.size() / 2;
    if (capacity == 0)
        return 0;
    const std::size_t count = std::min(text.size(), capacity - 1);
    for (std::size_t i = 0; i < count; ++i) {
        field[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        field[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    return count;
}

} // namespace q905
