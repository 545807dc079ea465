// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where files live: the data folder the program writes (keymap.bin, MacroDefine.bin,
// Configure/) and the folder of the files an installation ships (skin, VER.bin, updater).

#include <filesystem>
#include <optional>

namespace q905 {

// --data-dir when given, else $XDG_DATA_HOME/q905, else ~/.local/share/q905.
std::filesystem::path dataFolder(const std::optional<std::filesystem::path>& override = {});

// What can be made again but is kept to save time: $XDG_CACHE_HOME/q905, else ~/.cache/q905;
// empty when neither is known.
std::filesystem::path cacheFolder();

// The user's configuration folder: $XDG_CONFIG_HOME (when absolute), else ~/.config; empty
// when neither is known.
std::filesystem::path configHome();

// The folder of the running executable.
std::filesystem::path programFolder();

// Shipped files: beside the executable in a build tree (when its "png" folder is there),
// else <prefix>/share/q905.
std::filesystem::path assetRoot();

// The udev rule that gives the keyboard to the user of the active local session: where an
// installation put it when it is there, else the source tree's copy when the program runs from
// its build tree, else where this installation should have put it.
struct UdevRuleLocation {
    enum class State { Installed, InSourceTree, Missing };
    std::filesystem::path path;
    State state = State::Missing;
};
UdevRuleLocation udevRuleLocation();

} // namespace q905
