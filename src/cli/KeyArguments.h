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

// A key index 0..112, a label of the key table or the name of the key's code (case ignored).
// A label several keys carry ("Shift", "Enter") is refused with the candidates listed.
std::variant<int, ArgumentError> parseKey(std::string_view text);

// A key code (0x41 or 65) or a key name of the key name table, compared without its trailing
// blank and ignoring case. A name several codes carry is refused with the candidates listed.
std::variant<std::uint8_t, ArgumentError> parseKeyCode(std::string_view text);

// The key's label, or "key N" for the unplaced ones.
std::string keyLabel(int keyIndex);

} // namespace q905
