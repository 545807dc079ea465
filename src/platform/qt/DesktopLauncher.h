#pragma once
// Programs started detached, documents and folders opened with the desktop's default
// application (xdg-open or the portal).

#include "firmware/Launcher.h"

namespace q905 {

class DesktopLauncher final : public Launcher {
  public:
    LaunchOutcome openDetached(const std::filesystem::path& program,
                               const std::filesystem::path& workingFolder) override;
    LaunchOutcome openPath(const std::filesystem::path& path) override;
};

} // namespace q905
