#pragma once
// The external firmware updater: shipped beside the program's assets, only ever started.

#include "firmware/Launcher.h"

#include <filesystem>

namespace q905 {

inline constexpr const char* kUpdaterFileName = "Korvane Mirex Keyboard Q905 UK_Update.exe";

std::filesystem::path updaterPath(const std::filesystem::path& assetFolder);

// Starts the updater without a working folder and does not wait for it. The program keeps its
// handles and threads: a re-plug during the update is handled like any other. False when it
// could not be started.
bool startUpdater(Launcher& launcher, const std::filesystem::path& assetFolder);

} // namespace q905
