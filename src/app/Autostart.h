// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting with the desktop: an XDG autostart entry that runs q905 --background at login. Its
// state is the file's, read anew each time, so an entry removed or switched off by hand (or by
// the desktop's own session settings) counts as off.

#include "base/Result.h"

#include <filesystem>
#include <string>

namespace q905 {

// $XDG_CONFIG_HOME/autostart/io.github.q905.q905.desktop (or under ~/.config); empty when
// there is no configuration folder.
std::filesystem::path autostartEntryPath();

// What the entry holds when autostart is turned on.
std::string autostartEntryText();

// Whether the entry at path starts q905: there, a regular file, and neither Hidden=true nor
// X-GNOME-Autostart-enabled=false in its desktop entry group.
bool autostartEnabled(const std::filesystem::path& path);

// Writes the entry (with its folder) or removes it; removing one that is not there succeeds.
Status setAutostart(const std::filesystem::path& path, bool enabled);

} // namespace q905
