// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A launcher that records what the program asked the desktop to start or open.

#include "firmware/Launcher.h"

#include <string>
#include <vector>

namespace q905::testing {

class RecordingLauncher final : public Launcher {
  public:
    LaunchOutcome openDetached(const std::filesystem::path& program,
                               const std::filesystem::path& folder) override {
        calls.push_back("start " + program.string() + " in " + folder.string());
        return outcome;
    }
    LaunchOutcome openPath(const std::filesystem::path& path) override {
        calls.push_back("open " + path.string());
        return outcome;
    }
    std::vector<std::string> calls;
    LaunchOutcome outcome = LaunchOutcome::Started;
};

} // namespace q905::testing
