// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TextSafety.h"

#include <algorithm>
#include <cstdint>

namespace q905 {

namespace {

// The length of the well-formed UTF-8 sequence at text[i], or 0 when there is none.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(i);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        if (lead == 0xF4)
            high = 0x8F; // beyond U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    }
    return length;
}

// Whether the well-formed sequence of length bytes at text[i] is a control character: C0, DEL,
// or C1 (U+0080..U+009F; CSI among them starts an escape sequence).
bool isControl(std::string_view text, std::size_t i, std::size_t length) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    if (length == 1)
        return lead < 0x20 || lead == 0x7F;
    return length == 2 && lead == 0xC2 && static_cast<std::uint8_t>(text[i + 1]) < 0xA0;
}

void appendHex(std::string& out, std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[value >> 4];
    out += kDigits[value & 0x0F];
}

} // namespace

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool hasControlCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = std::max<std::size_t>(sequenceLength(text, i), 1);
        if (isControl(text, i, length))
            return true;
        i += length;
    }
    return false;
}

std::string escapeForTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        const auto lead = static_cast<std::uint8_t>(text[i]);
        if (length == 0) {
            appendHex(out, lead);
            ++i;
            continue;
        }
        if (length == 1) {
            switch (lead) {
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (isControl(text, i, length))
                    appendHex(out, lead);
                else
                    out += static_cast<char>(lead);
            }
        } else if (isControl(text, i, length)) {
            appendHex(out, lead);
            appendHex(out, static_cast<std::uint8_t>(text[i + 1]));
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

} // namespace q905
