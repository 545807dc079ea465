// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/KeyArguments.h"

#include "keys/KeyTable.h"
#include "macros/KeyNameTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

namespace q905 {

namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    std::ranges::transform(result, result.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string_view trimTrailingBlank(std::string_view name) {
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    return name;
}

// Decimal or 0x-hexadecimal, within 0..limit.
std::optional<unsigned> parseNumber(std::string_view text, unsigned limit) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value > limit)
        return std::nullopt;
    return value;
}

// "Digit7": the key or code that types 7, where a bare "7" is read as a number.
std::optional<std::string> digitName(std::string_view lowered) {
    if (lowered.size() == kDigitKeyPrefix.size() + 1 && lowered.starts_with(kDigitKeyPrefix) &&
        std::isdigit(static_cast<unsigned char>(lowered.back())))
        return std::string(1, lowered.back());
    return std::nullopt;
}

std::string hexCode(unsigned code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[code >> 4] + kDigits[code & 0x0F];
}

} // namespace

std::string keyLabel(int keyIndex) {
    const std::string_view label = KeyTable[static_cast<std::size_t>(keyIndex)].label;
    return label.empty() ? "key " + std::to_string(keyIndex) : std::string(label);
}

std::variant<int, ArgumentError> parseKey(std::string_view text) {
    if (const auto number = parseNumber(text, kKeyCount - 1))
        return static_cast<int>(*number);
    const std::string lowered = lower(text);
    const std::optional<std::string> digit = digitName(lowered);
    const std::string wanted = digit.value_or(lowered);
    std::vector<int> matches;
    // The picture's labels are short ("Ent"); the key's name ("Enter") is taken as well. A digit
    // is looked up by name alone: the keypad's digit keys carry the same labels.
    for (int index = 0; index < kKeyCount; ++index) {
        const KeyEntry& key = KeyTable[static_cast<std::size_t>(index)];
        const std::string& name = nameOf(key.keyCode);
        if ((!digit && !key.label.empty() && lower(key.label) == wanted) ||
            (key.isPlaced() && !name.empty() && lower(name) == wanted))
            matches.push_back(index);
    }
    if (matches.size() == 1)
        return matches.front();
    if (matches.empty())
        return ArgumentError{"unknown key " + std::string(text) +
                             " (give a key index 0..112 or a key label)"};
    std::string message = "the label " + std::string(text) + " fits several keys:";
    for (int index : matches)
        message += " " + std::to_string(index) + " (" + keyLabel(index) + ")";
    return ArgumentError{message + " (give the key index)"};
}

std::variant<std::uint8_t, ArgumentError> parseKeyCode(std::string_view text) {
    if (const auto number = parseNumber(text, 255))
        return static_cast<std::uint8_t>(*number);
    const std::string lowered = lower(trimTrailingBlank(text));
    const std::string wanted = digitName(lowered).value_or(lowered);
    std::vector<unsigned> matches;
    for (unsigned code = 0; code < 256; ++code) {
        const std::string& name = nameOf(static_cast<std::uint8_t>(code));
        if (!name.empty() && lower(name) == wanted)
            matches.push_back(code);
    }
    if (matches.size() == 1)
        return static_cast<std::uint8_t>(matches.front());
    if (matches.empty())
        return ArgumentError{"unknown key code " + std::string(text) +
                             " (give a code such as 0x41 or 65, or a key name such as A)"};
    std::string message = "the key name " + std::string(text) + " fits several codes:";
    for (unsigned code : matches)
        message += " " + hexCode(code);
    return ArgumentError{message + " (give the code)"};
}

} // namespace q905
