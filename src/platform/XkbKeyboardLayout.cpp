#include "platform/XkbKeyboardLayout.h"

#include "platform/EvdevKeyCodes.h"

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <utility>

namespace q905 {

namespace {

// XKB numbers its keys as the X server does: the evdev code plus 8.
constexpr xkb_keycode_t kEvdevOffset = 8;

template <typename T, void (*Free)(T*)> struct Unref {
    void operator()(T* object) const { Free(object); }
};
using Context = std::unique_ptr<xkb_context, Unref<xkb_context, xkb_context_unref>>;
using Keymap = std::unique_ptr<xkb_keymap, Unref<xkb_keymap, xkb_keymap_unref>>;

// A dead key types nothing by itself; its keycap shows the accent it puts on the next letter.
std::string deadKeyAccent(xkb_keysym_t symbol) {
    switch (symbol) {
    case XKB_KEY_dead_grave:
        return "`";
    case XKB_KEY_dead_acute:
        return "´";
    case XKB_KEY_dead_circumflex:
        return "^";
    case XKB_KEY_dead_tilde:
        return "~";
    case XKB_KEY_dead_macron:
        return "¯";
    case XKB_KEY_dead_breve:
        return "˘";
    case XKB_KEY_dead_abovedot:
        return "˙";
    case XKB_KEY_dead_diaeresis:
        return "¨";
    case XKB_KEY_dead_abovering:
        return "°";
    case XKB_KEY_dead_doubleacute:
        return "˝";
    case XKB_KEY_dead_caron:
        return "ˇ";
    case XKB_KEY_dead_cedilla:
        return "¸";
    case XKB_KEY_dead_ogonek:
        return "˛";
    default:
        return {};
    }
}

bool isPrintable(std::uint32_t character) {
    return character > 0x20 && character != 0x7F && !(character >= 0x80 && character <= 0xA0);
}

std::string textOf(xkb_keysym_t symbol) {
    if (std::string accent = deadKeyAccent(symbol); !accent.empty())
        return accent;
    // A letter without a capital keeps its own form: xkbcommon gives "ß" a symbol that stands
    // for no character.
    xkb_keysym_t shown = xkb_keysym_to_upper(symbol);
    if (!isPrintable(xkb_keysym_to_utf32(shown)))
        shown = symbol;
    if (!isPrintable(xkb_keysym_to_utf32(shown)))
        return {};
    char text[8]{};
    if (xkb_keysym_to_utf8(shown, text, sizeof text) <= 0)
        return {};
    return text;
}

Context newContext(bool environmentNames) {
    Context context(xkb_context_new(environmentNames ? XKB_CONTEXT_NO_FLAGS
                                                     : XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    // A layout that cannot be compiled falls back to the US names; that needs no report.
    if (context)
        xkb_context_set_log_level(context.get(), XKB_LOG_LEVEL_CRITICAL);
    return context;
}

} // namespace

XkbKeyboardLayout::XkbKeyboardLayout(xkb_keymap& keymap, unsigned layoutIndex) {
    for (std::size_t code = 1; code < m_texts.size(); ++code) {
        const int evdev = evdevFromVirtualKey(static_cast<std::uint8_t>(code));
        if (evdev == 0)
            continue;
        const xkb_keysym_t* symbols = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(
            &keymap, static_cast<xkb_keycode_t>(evdev) + kEvdevOffset, layoutIndex, 0, &symbols);
        if (count == 1)
            m_texts[code] = textOf(symbols[0]);
    }
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::fromNames(const XkbLayoutNames& names) {
    // Names given are taken as they are; none given leaves the choice to the environment.
    const Context context = newContext(names.layout.empty());
    if (!context)
        return nullptr;
    xkb_rule_names rules{};
    if (!names.layout.empty()) {
        rules.layout = names.layout.c_str();
        rules.variant = names.variant.c_str();
    }
    const Keymap keymap(
        xkb_keymap_new_from_names(context.get(), &rules, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return nullptr;
    return std::make_unique<XkbKeyboardLayout>(*keymap, 0);
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::fromX11(const char* display) {
    using Connection = std::unique_ptr<xcb_connection_t, Unref<xcb_connection_t, xcb_disconnect>>;
    using State = std::unique_ptr<xkb_state, Unref<xkb_state, xkb_state_unref>>;
    const Connection connection(xcb_connect(display, nullptr));
    if (!connection || xcb_connection_has_error(connection.get()))
        return nullptr;
    if (!xkb_x11_setup_xkb_extension(
            connection.get(), XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return nullptr;
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection.get());
    const Context context = newContext(false);
    if (device < 0 || !context)
        return nullptr;
    const Keymap keymap(xkb_x11_keymap_new_from_device(context.get(), connection.get(), device,
                                                       XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return nullptr;
    // With several layouts configured ("us,de"), the keys type in the one switched to.
    const State state(xkb_x11_state_new_from_device(keymap.get(), connection.get(), device));
    const unsigned layout =
        state ? xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_EFFECTIVE) : 0;
    return std::make_unique<XkbKeyboardLayout>(*keymap, layout);
}

std::string XkbKeyboardLayout::typedText(std::uint8_t keyCode) const {
    return m_texts[keyCode];
}

} // namespace q905
