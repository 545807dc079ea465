// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard layout the user types in now.

#include "platform/XkbKeyboardLayout.h"

#include <memory>
#include <string_view>

namespace q905 {

// The Wayland compositor's keymap, else the X server's; without either the layout the
// environment names (XKB_DEFAULT_LAYOUT), else /etc/default/keyboard's. nullptr for none of them
// (or one that cannot be compiled): the keys keep their US names.
std::unique_ptr<KeyboardLayout> systemKeyboardLayout();
// The same, asking the X server through the program's own connection (none: no X server is
// asked). A second connection would be opened while the toolkit opens its own, and opening one
// is not thread-safe (libXau keeps its file name in a static buffer).
std::unique_ptr<KeyboardLayout> systemKeyboardLayout(xcb_connection_t* x11);

// XKBLAYOUT and XKBVARIANT of a /etc/default/keyboard text (shell assignments, quoted or not);
// of several layouts ("de,us") the first, which is the one a session starts in.
XkbLayoutNames configuredLayoutNames(std::string_view keyboardFile);

} // namespace q905
