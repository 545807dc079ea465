// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys and key codes as the command line names them.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace q905 {

struct ArgumentError {
    std::string message;
};

// Names a digit key ("Digit7", case ignored): a bare digit is a key index or a code.
inline constexpr std::string_view kDigitKeyPrefix = "digit";

// A key index 0..112, a label of the key table, the name of the key's code, or
// "Digit0".."Digit9" for the digit keys above the letters (case ignored).
// A label several keys carry ("Shift", "Enter") is refused with the candidates listed.
std::variant<int, ArgumentError> parseKey(std::string_view text);

// A key code (0x41 or 65), "Digit0".."Digit9", or a key name of the key name table, compared
// without its trailing blank and ignoring case. A name several codes carry is refused with the
// candidates listed.
std::variant<std::uint8_t, ArgumentError> parseKeyCode(std::string_view text);

// The key's label, or "key N" for the unplaced ones.
std::string keyLabel(int keyIndex);

} // namespace q905
