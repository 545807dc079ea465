// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The external firmware updater: shipped beside the program's assets, only ever started.

#include "firmware/FirmwareVersion.h"
#include "firmware/Launcher.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace q905 {

inline constexpr const char* kUpdaterFileName = "Korvane Mirex Keyboard Q905 UK_Update.exe";

std::filesystem::path updaterPath(const std::filesystem::path& assetFolder);

// Starts the updater without a working folder and does not wait for it. The program keeps its
// handles and threads: a re-plug during the update is handled like any other. False when it
// could not be started.
bool startUpdater(Launcher& launcher, const std::filesystem::path& assetFolder);

// Whether an updater lies beside the assets. Linux installations ship none: then neither the
// version check nor the help menu may offer an OK that does nothing.
bool updaterInstalled(const std::filesystem::path& assetFolder);

// "MAJOR.MINOR".
std::string versionText(FirmwareVersion version);

// What the user is told instead of the update question when no updater is installed; %1 is
// the keyboard's version, %2 the newest this installation knows.
inline constexpr std::string_view kNoUpdaterText =
    "The keyboard has firmware %1; the newest known is %2. No firmware updater is available on "
    "this system.";
inline constexpr std::string_view kNoUpdaterTextGerman =
    "Die Tastatur hat die Firmware %1, die neueste bekannte ist %2. Auf diesem System ist kein "
    "Programm zur Firmware-Aktualisierung verf\u00FCgbar.";
inline constexpr std::string_view kUpdaterFailedText = "The firmware updater could not be started.";
inline constexpr std::string_view kUpdaterFailedTextGerman =
    "Das Programm zur Firmware-Aktualisierung konnte nicht gestartet werden.";

} // namespace q905
