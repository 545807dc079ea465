// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the main window works with but does not own, handed in by the program or a test.

#include "app/Language.h"

#include <QString>

class QDBusConnection;

#include <filesystem>
#include <optional>

namespace q905 {

class Clock;
class ColourPicker;
class Delays;
class HidBackend;
class KeyboardLayout;
class Launcher;
class SkinCache;
class Trace;
class TrayIcon;
class UserDialogs;

struct WindowServices {
    HidBackend* backend = nullptr;
    Clock* clock = nullptr;
    Trace* trace = nullptr;
    UserDialogs* dialogs = nullptr;
    Launcher* launcher = nullptr;
    ColourPicker* colourPicker = nullptr;
    TrayIcon* tray = nullptr;
    Delays* delays = nullptr;
    std::filesystem::path dataFolder; // keymap.bin, MacroDefine.bin, Configure/
    std::filesystem::path assetRoot;  // png/, VER.bin, the updater
    Language language = Language::English;
    // What the keys type for the user: the keyboard picture and the dialogs label them so.
    // nullptr: the US names.
    const KeyboardLayout* keyboardLayout = nullptr;
    // Whether the platform can watch for the keyboard coming and going; without it the user is
    // told once, as plug and unplug then go unnoticed.
    bool hotPlugAvailable = true;
    // Started with the desktop: only the tray icon, or nothing at all, until asked for.
    bool background = false;
    // The user's autostart entry, which the tray's "Start with the desktop" writes and removes;
    // empty: the tray does not offer it.
    std::filesystem::path autostartEntry;
    // Pictures of the language's skin decoded ahead of the window, taken over by it.
    SkinCache* decodedSkin = nullptr;
    // The keyboard's advisory lock, held for each transfer sequence; none when nobody else can
    // reach the keyboard.
    std::optional<std::filesystem::path> keyboardLockFile;
    // The session bus the window serves q905ctl and other clients on; none: not served.
    QDBusConnection* bus = nullptr;
    // Where the composed background is kept between runs; empty: not kept.
    QString backgroundCacheFile;
};

} // namespace q905
