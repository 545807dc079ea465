// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting programs and opening documents through the desktop, without waiting for them. The
// real launcher lives with the platform code; tests record the calls instead.

#include <filesystem>

namespace q905 {

enum class LaunchOutcome {
    Started,
    Missing,       // the program, file or folder is not there
    NotExecutable, // the program is there but cannot be run
    Failed,        // the desktop could not start or open it
    NothingToDo,   // no launch action (for callers that look one up)
};

class Launcher {
  public:
    virtual ~Launcher() = default;
    // Starts a program with no arguments, or the command of a desktop entry (a .desktop file) in
    // the entry's own folder; an empty working folder leaves the choice to the platform.
    virtual LaunchOutcome openDetached(const std::filesystem::path& program,
                                       const std::filesystem::path& workingFolder) = 0;
    // Opens a file or folder with the desktop's default application.
    virtual LaunchOutcome openPath(const std::filesystem::path& path) = 0;
};

} // namespace q905
