// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The running window on the session bus: its names, the errors its calls answer with, and
// q905ctl's side of a call (defined with Qt's D-Bus module, in platform/qt).

#include <string>
#include <vector>

namespace q905::bus {

inline constexpr const char* kServiceName = "io.github.q905.q905";
inline constexpr const char* kObjectPath = "/io/github/q905/q905";
inline constexpr const char* kKeyboardInterface = "io.github.q905.Keyboard1";
inline constexpr const char* kApplicationInterface = "org.freedesktop.Application";

// The message of each is what q905ctl prints after "q905ctl: ".
inline constexpr const char* kErrorBusy = "io.github.q905.Error.Busy";
inline constexpr const char* kErrorRefused = "io.github.q905.Error.Refused";
inline constexpr const char* kErrorNotConnected = "io.github.q905.Error.NotConnected";
inline constexpr const char* kErrorFailed = "io.github.q905.Error.Failed";
// The call names another keyboard or data folder than the window's: nothing was run.
inline constexpr const char* kErrorOtherKeyboard = "io.github.q905.Error.OtherKeyboard";

// A q905ctl command for the window, its paths already made absolute.
struct WindowCall {
    std::vector<std::string> arguments; // the command, its arguments and the options it keeps
    std::string dataFolder;
    std::string keyboard; // the keyboard's lock file: which keyboard the command means
};

struct WindowAnswer {
    enum class Outcome {
        NoWindow, // no window serves this keyboard: the command is q905ctl's to run
        Answered, // the window ran it (or refused it): exitCode, out and err say how it went
        Unknown,  // the window went away during the call; the command may or may not have run
    };
    Outcome outcome = Outcome::NoWindow;
    int exitCode = 1;
    std::string out, err;
};

// Hands call to the window when one owns the bus name; waits for its answer.
WindowAnswer callWindow(const WindowCall& call);

} // namespace q905::bus
