// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the keys type under an XKB keymap: a Wayland compositor's, the X server's, or one compiled
// from layout names with the system's XKB data (xkb-data).

#include "macros/KeyboardLayout.h"

#include <array>
#include <memory>
#include <string>

struct xkb_keymap;
struct xcb_connection_t;

namespace q905 {

struct XkbLayoutNames {
    std::string layout; // "de", "fr", "us"; empty: the environment's XKB_DEFAULT_LAYOUT, else "us"
    std::string variant;
};

class XkbKeyboardLayout final : public KeyboardLayout {
  public:
    // layoutIndex: the keymap's layout (XKB group) the keys type in.
    XkbKeyboardLayout(xkb_keymap& keymap, unsigned layoutIndex);

    // nullptr when the names are unknown or the XKB data is missing.
    static std::unique_ptr<XkbKeyboardLayout> fromNames(const XkbLayoutNames& names);
    // The keymap of the X server on that display (nullptr: $DISPLAY), in the layout the server
    // has active; nullptr without a server or its XKB extension.
    static std::unique_ptr<XkbKeyboardLayout> fromX11(const char* display = nullptr);
    // The same through a connection the program holds already.
    static std::unique_ptr<XkbKeyboardLayout> fromX11(xcb_connection_t& connection);
    // The keymap the Wayland compositor on that display (nullptr: $WAYLAND_DISPLAY) gives its
    // clients' keyboards, in its first layout: the one switched to is told only to the client
    // that has the keyboard focus. nullptr without a compositor or a keyboard.
    static std::unique_ptr<XkbKeyboardLayout> fromWayland(const char* display = nullptr);

    std::string typedText(std::uint8_t keyCode) const override;

  private:
    std::array<std::string, 256> m_texts; // by key code, worked out once
};

} // namespace q905
