// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed contents of the key name table, as constant expressions: the usage byte of every key
// code and the rows whose names are not generated from a range.

#include <array>
#include <cstdint>
#include <string_view>

namespace q905 {

struct KeyNameRow {
    std::uint8_t code;
    std::uint8_t usage;
    std::string_view name;
};

// 'A'..'Z' -> usages 0x04..0x1D, names "A".."Z".
inline constexpr std::uint8_t kFirstLetterCode = 0x41;
inline constexpr std::uint8_t kLastLetterCode = 0x5A;
inline constexpr std::uint8_t kFirstLetterUsage = 0x04;
// '1'..'9' -> usages 0x1E..0x26, names "1".."9"; '0' is a row of its own.
inline constexpr std::uint8_t kFirstDigitCode = 0x31;
inline constexpr std::uint8_t kLastDigitCode = 0x39;
inline constexpr std::uint8_t kFirstDigitUsage = 0x1E;
// F1..F12 -> usages 0x3A..0x45, names "F1".."F12".
inline constexpr std::uint8_t kFirstFunctionKeyCode = 0x70;
inline constexpr std::uint8_t kLastFunctionKeyCode = 0x7B;
inline constexpr std::uint8_t kFirstFunctionKeyUsage = 0x3A;

inline constexpr std::array<KeyNameRow, 71> kNamedKeyRows{{
    {0x08, 0x2A, "Back"},
    {0x09, 0x2B, "Tab"},
    {0x0D, 0x28, "Enter"},
    {0x13, 0x48, "Pause"},
    {0x14, 0x39, "Caps"},
    {0x1B, 0x29, "Esc"},
    {0x20, 0x2C, "Space"},
    {0x21, 0x4B, "PgUp"},
    {0x22, 0x4E, "PgDn"},
    {0x23, 0x4D, "End"},
    {0x24, 0x4A, "Home"},
    {0x25, 0x50, "Left"},
    {0x26, 0x52, "Up"},
    {0x27, 0x4F, "Right"},
    {0x28, 0x51, "Down"},
    {0x2C, 0x46, "Prscr"},
    {0x2D, 0x49, "Inst"},
    {0x2E, 0x4C, "Del"},
    {0x30, 0x27, "0"},
    {0x5B, 0xE3, "LWin"},
    {0x5C, 0xE7, "RWin"},
    {0x5D, 0x65, "Apps"},
    {0x60, 0x62, "0-num"},
    {0x61, 0x59, "1-num"},
    {0x62, 0x5A, "2-num"},
    {0x63, 0x5B, "3-num"},
    {0x64, 0x5C, "4-num"},
    {0x65, 0x5D, "5-num"},
    {0x66, 0x5E, "6-num"},
    {0x67, 0x5F, "7-num"},
    {0x68, 0x60, "8-num"},
    {0x69, 0x61, "9-num"},
    {0x6A, 0x55, "*"},
    {0x6B, 0x57, "+"},
    {0x6C, 0x58, "Enter"},
    {0x6D, 0x56, "-"},
    {0x6E, 0x63, "."},
    {0x6F, 0x54, "/"},
    {0x90, 0x53, "Num"},
    {0x91, 0x47, "Scrol"},
    {0xA0, 0xE1, "LShift"},
    {0xA1, 0xE5, "RShift"},
    {0xA2, 0xE0, "LCtrl"},
    {0xA3, 0xE4, "RCtrl"},
    {0xA4, 0xE2, "LAlt"},
    {0xA5, 0xE6, "RAlt"},
    {0xAE, 0xEA, "Volume DOWN"},
    {0xAF, 0xE9, "Volume UP"},
    {0xB3, 0xCD, "Play/Pause"},
    {0xB5, 0x83, "Media"},
    {0xBA, 0x33, ";"},
    {0xBB, 0x2E, "="},
    {0xBC, 0x36, ","},
    {0xBD, 0x2D, "-"},
    {0xBE, 0x37, "."},
    {0xBF, 0x38, "/"},
    {0xC0, 0x35, "`"},
    {0xDB, 0x2F, "["},
    {0xDC, 0x32, "\\"},
    {0xDD, 0x30, "]"},
    {0xDE, 0x34, "'"},
    {0xF0, 0xF0, "MsLB"},
    {0xF1, 0xF1, "MsRB"},
    {0xF2, 0xF2, "MsMB"},
    {0xF3, 0xF3, ""},
    {0xF4, 0xF4, ""},
    {0xF5, 0xF5, "Mouse Pointer Right"},
    {0xF6, 0xF6, "Mouse Pointer Up"},
    {0xF7, 0xF7, "Mouse pointer Down"},
    {0xF8, 0xF8, "Mouse Wheel Up"},
    {0xF9, 0xF9, "Mouse Wheel Down"},
}};

constexpr std::uint8_t keyUsageOf(std::uint8_t code) {
    if (code >= kFirstLetterCode && code <= kLastLetterCode)
        return static_cast<std::uint8_t>(code - kFirstLetterCode + kFirstLetterUsage);
    if (code >= kFirstDigitCode && code <= kLastDigitCode)
        return static_cast<std::uint8_t>(code - kFirstDigitCode + kFirstDigitUsage);
    if (code >= kFirstFunctionKeyCode && code <= kLastFunctionKeyCode)
        return static_cast<std::uint8_t>(code - kFirstFunctionKeyCode + kFirstFunctionKeyUsage);
    for (const KeyNameRow& row : kNamedKeyRows) {
        if (row.code == code)
            return row.usage;
    }
    return 0;
}

} // namespace q905
