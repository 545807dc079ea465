// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemKeyboardLayout.h"

#include "base/Trimmed.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

namespace q905 {

namespace {

constexpr const char* kKeyboardFile = "/etc/default/keyboard";

std::string firstOfList(std::string_view value) {
    return std::string(trimmed(value.substr(0, value.find(','))));
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

XkbLayoutNames configuredLayoutNames(std::string_view keyboardFile) {
    XkbLayoutNames names;
    std::string variants;
    while (!keyboardFile.empty()) {
        const auto end = keyboardFile.find('\n');
        std::string_view line = trimmed(keyboardFile.substr(0, end));
        keyboardFile =
            end == std::string_view::npos ? std::string_view{} : keyboardFile.substr(end + 1);
        const auto equals = line.find('=');
        if (line.starts_with('#') || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        std::string_view value = trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (key == "XKBLAYOUT")
            names.layout = firstOfList(value);
        else if (key == "XKBVARIANT")
            variants = std::string(value);
    }
    // The variants pair up with the layouts by position.
    if (!names.layout.empty())
        names.variant = firstOfList(variants);
    return names;
}

namespace {

std::unique_ptr<KeyboardLayout>
layoutFromSystem(const std::function<std::unique_ptr<KeyboardLayout>()>& fromX11) {
    if (isSet("WAYLAND_DISPLAY")) {
        if (auto compositor = XkbKeyboardLayout::fromWayland())
            return compositor;
    }
    if (auto server = fromX11())
        return server;
    if (isSet("XKB_DEFAULT_LAYOUT"))
        return XkbKeyboardLayout::fromNames({});
    std::ifstream file(kKeyboardFile);
    std::ostringstream text;
    text << file.rdbuf();
    const XkbLayoutNames names = configuredLayoutNames(text.str());
    // Nothing configured is the US layout, whose names the key tables carry already.
    if (names.layout.empty())
        return nullptr;
    return XkbKeyboardLayout::fromNames(names);
}

} // namespace

std::unique_ptr<KeyboardLayout> systemKeyboardLayout() {
    return layoutFromSystem([]() -> std::unique_ptr<KeyboardLayout> {
        if (!isSet("DISPLAY"))
            return nullptr;
        return XkbKeyboardLayout::fromX11();
    });
}

std::unique_ptr<KeyboardLayout> systemKeyboardLayout(xcb_connection_t* x11) {
    return layoutFromSystem([x11]() -> std::unique_ptr<KeyboardLayout> {
        if (!x11)
            return nullptr;
        return XkbKeyboardLayout::fromX11(*x11);
    });
}

} // namespace q905
