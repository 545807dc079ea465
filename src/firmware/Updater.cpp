// SPDX-License-Identifier: GPL-3.0-or-later
#include "firmware/Updater.h"

#include <system_error>

namespace q905 {

std::filesystem::path updaterPath(const std::filesystem::path& assetFolder) {
    return assetFolder / kUpdaterFileName;
}

bool startUpdater(Launcher& launcher, const std::filesystem::path& assetFolder) {
    return launcher.openDetached(updaterPath(assetFolder), {}) == LaunchOutcome::Started;
}

bool updaterInstalled(const std::filesystem::path& assetFolder) {
    std::error_code error;
    return std::filesystem::is_regular_file(updaterPath(assetFolder), error);
}

std::string versionText(FirmwareVersion version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor);
}

} // namespace q905
