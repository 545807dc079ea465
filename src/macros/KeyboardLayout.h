// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the keys type under the user's keyboard layout. Key codes name a physical key by what it
// types under the US layout; that is what is stored and what q905ctl prints. This is only for
// showing a key to the user the way their keyboard is labelled.

#include <cstdint>
#include <string>

namespace q905 {

class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;
    // UTF-8: the character the key types without modifiers, as a capital ("Y" for the key code
    // 'Z' under a German layout, "É" for '2' under a French one); empty when it types none.
    virtual std::string typedText(std::uint8_t keyCode) const = 0;
};

} // namespace q905
