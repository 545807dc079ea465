// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/ShownKeyNames.h"

#include "macros/KeyNameTable.h"
#include "macros/KeyboardLayout.h"

namespace q905 {

bool followsLayout(std::uint8_t keyCode) {
    return (keyCode >= '0' && keyCode <= '9') || (keyCode >= 'A' && keyCode <= 'Z') ||
           (keyCode >= 0xBA && keyCode <= 0xC0) || (keyCode >= 0xDB && keyCode <= 0xDE) ||
           keyCode == 0xE2;
}

std::string shownKeyName(std::uint8_t keyCode, const KeyboardLayout* layout) {
    if (layout != nullptr && followsLayout(keyCode)) {
        std::string typed = layout->typedText(keyCode);
        if (!typed.empty())
            return typed;
    }
    return nameOf(keyCode);
}

} // namespace q905
