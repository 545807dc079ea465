// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options of q905ctl and of the q905 window.

#include "emulator/Fault.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace q905 {

struct CliOptions {
    bool simulate = false;
    std::optional<std::filesystem::path> simulateFile; // --simulate=FILE
    std::uint8_t simulateMajor = 1, simulateMinor = 0; // --simulate-firmware MAJOR.MINOR
    std::chrono::microseconds simulateLatency{1000};   // --simulate-latency MICROSECONDS
    std::vector<Fault> simulateFaults;                 // --simulate-fault FAULT (repeatable)
    std::optional<std::filesystem::path> traceFile;    // --trace FILE
    std::optional<std::filesystem::path> dataDir;      // --data-dir DIR
    bool noApply = false;                              // --no-apply
    std::chrono::milliseconds lockWait{10000};         // --wait SECONDS (for the keyboard)
    bool json = false;                                 // --json
    bool acceptLaunchActions = false;                  // --accept-launch-actions (profile import)
    bool help = false;                                 // --help
    bool version = false;                              // --version
    std::optional<std::string> language;               // --language en|de (the window)
    std::optional<std::filesystem::path> screenshot;   // --screenshot FILE (the window)
    bool background = false;                           // --background (the window)
    std::vector<std::string> arguments;                // the command and its arguments
};

struct ParseResult {
    std::optional<CliOptions> options;
    std::string error; // set when options is empty; not escaped
};

// Options may stand before or after the command; "--" ends them.
ParseResult parseCliOptions(const std::vector<std::string>& args);

// The version of this build, "MAJOR.MINOR.PATCH".
const char* programVersion();

} // namespace q905
