// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the keyboard picture writes on each key: the keycaps are drawn blank, so the
// labels follow the user's layout (the keys that type characters) and the window's language (the
// named keys: "Strg", "Entf", "Pos1" in German).

#include "base/Language.h"

#include <string>

namespace q905 {

class KeyboardLayout;

// UTF-8; empty for the unplaced keys. Without a layout the character keys carry the US labels.
std::string pictureLabel(int keyIndex, Language language, const KeyboardLayout* layout);

// The key as a screen reader says it: the named keys in full words, told apart where the
// keyboard has two ("Left Shift", "Number pad 7"); the character keys as the layout types them.
// Unique among the placed keys. UTF-8; empty for the unplaced keys.
std::string spokenKeyName(int keyIndex, Language language, const KeyboardLayout* layout);

} // namespace q905
