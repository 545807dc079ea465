#include "firmware/Updater.h"

namespace q905 {

std::filesystem::path updaterPath(const std::filesystem::path& assetFolder) {
    return assetFolder / kUpdaterFileName;
}

bool startUpdater(Launcher& launcher, const std::filesystem::path& assetFolder) {
    return launcher.openDetached(updaterPath(assetFolder), {});
}

} // namespace q905
