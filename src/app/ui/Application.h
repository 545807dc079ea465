// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process: options, the single-instance rule, the language, the keyboard (real or emulated)
// and the main window with its tray icon and hot-plug source.

namespace q905 {

class Application {
  public:
    // Runs the program; the process's exit code.
    int run(int argc, char** argv);
};

} // namespace q905
