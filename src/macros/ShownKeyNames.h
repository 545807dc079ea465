// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key names as the user's layout labels the keys, for the dialogs; the key name table keeps the
// layout-independent names that files and q905ctl use.

#include <cstdint>
#include <string>

namespace q905 {

class KeyboardLayout;

// The letter, digit and punctuation keys of the main block: what they type depends on the layout.
// The keypad, function, editing and modifier keys keep their names under every layout.
bool followsLayout(std::uint8_t keyCode);

// The key's name, taken from the layout for a key that follows it and types something there; the
// key name table's name otherwise and without a layout.
std::string shownKeyName(std::uint8_t keyCode, const KeyboardLayout* layout);

} // namespace q905
