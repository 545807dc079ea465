// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/XkbKeyboardLayout.h"

#include "platform/EvdevKeyCodes.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstring>
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

// Asks a Wayland compositor for the keymap of a seat's keyboard: bind the first seat, take its
// keyboard once it says it has one, and keep the keymap the compositor sends it.
class WaylandKeymapQuery {
  public:
    explicit WaylandKeymapQuery(wl_display& display, xkb_context& context)
        : m_display(display), m_context(context) {}
    ~WaylandKeymapQuery() {
        if (m_keyboard != nullptr)
            wl_keyboard_destroy(m_keyboard);
        if (m_seat != nullptr)
            wl_seat_destroy(m_seat);
        if (m_registry != nullptr)
            wl_registry_destroy(m_registry);
    }

    Keymap run() {
        m_registry = wl_display_get_registry(&m_display);
        if (m_registry == nullptr)
            return nullptr;
        wl_registry_add_listener(m_registry, &kRegistryListener, this);
        // Globals, then the seat's capabilities, then the keyboard's keymap: one round each.
        for (int round = 0; round < 3 && !m_keymap; ++round)
            if (wl_display_roundtrip(&m_display) < 0)
                return nullptr;
        return std::move(m_keymap);
    }

  private:
    static void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t) {
        auto* self = static_cast<WaylandKeymapQuery*>(data);
        if (self->m_seat != nullptr || std::strcmp(interface, wl_seat_interface.name) != 0)
            return;
        // Version 1 carries all this needs and no events it would have to answer.
        self->m_seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        wl_seat_add_listener(self->m_seat, &kSeatListener, self);
    }
    static void globalRemoved(void*, wl_registry*, std::uint32_t) {}

    static void capabilities(void* data, wl_seat* seat, std::uint32_t capabilities) {
        auto* self = static_cast<WaylandKeymapQuery*>(data);
        if (self->m_keyboard != nullptr || (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) == 0)
            return;
        self->m_keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(self->m_keyboard, &kKeyboardListener, self);
    }

    static void keymap(void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd,
                       std::uint32_t size) {
        auto* self = static_cast<WaylandKeymapQuery*>(data);
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
            void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (text != MAP_FAILED) {
                const char* keymapText = static_cast<const char*>(text);
                self->m_keymap.reset(xkb_keymap_new_from_buffer(
                    &self->m_context, keymapText, strnlen(keymapText, size),
                    XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
                munmap(text, size);
            }
        }
        close(fd);
    }
    static void enter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
    static void leave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
    static void key(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                    std::uint32_t) {}
    static void modifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                          std::uint32_t, std::uint32_t) {}
    static void repeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}

    static constexpr wl_registry_listener kRegistryListener{global, globalRemoved};
    static constexpr wl_seat_listener kSeatListener{capabilities, nullptr};
    static constexpr wl_keyboard_listener kKeyboardListener{keymap, enter,     leave,
                                                            key,    modifiers, repeatInfo};

    wl_display& m_display;
    xkb_context& m_context;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    wl_keyboard* m_keyboard = nullptr;
    Keymap m_keymap;
};

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
    const Connection connection(xcb_connect(display, nullptr));
    if (!connection || xcb_connection_has_error(connection.get()))
        return nullptr;
    return fromX11(*connection);
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::fromX11(xcb_connection_t& connection) {
    using State = std::unique_ptr<xkb_state, Unref<xkb_state, xkb_state_unref>>;
    if (xcb_connection_has_error(&connection) ||
        !xkb_x11_setup_xkb_extension(
            &connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return nullptr;
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(&connection);
    const Context context = newContext(false);
    if (device < 0 || !context)
        return nullptr;
    const Keymap keymap(xkb_x11_keymap_new_from_device(context.get(), &connection, device,
                                                       XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return nullptr;
    // With several layouts configured ("us,de"), the keys type in the one switched to.
    const State state(xkb_x11_state_new_from_device(keymap.get(), &connection, device));
    const unsigned layout =
        state ? xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_EFFECTIVE) : 0;
    return std::make_unique<XkbKeyboardLayout>(*keymap, layout);
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::fromWayland(const char* display) {
    using Display = std::unique_ptr<wl_display, Unref<wl_display, wl_display_disconnect>>;
    const Display connection(wl_display_connect(display));
    const Context context = newContext(false);
    if (!connection || !context)
        return nullptr;
    WaylandKeymapQuery query(*connection, *context);
    const Keymap keymap = query.run();
    if (!keymap)
        return nullptr;
    return std::make_unique<XkbKeyboardLayout>(*keymap, 0);
}

std::string XkbKeyboardLayout::typedText(std::uint8_t keyCode) const {
    return m_texts[keyCode];
}

} // namespace q905
