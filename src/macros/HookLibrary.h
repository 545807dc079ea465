// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outside library that watches the user's keys system-wide. While installed it reports
// every key transition (key code 0..255, press or release) to the window that installed it;
// the window forwards each report to its model. Only a holder that installed it removes it.

namespace q905 {

enum class HookMode {
    KeyAssignment, // presses only
    Macro,         // presses and releases
};

class HookLibrary {
  public:
    virtual ~HookLibrary() = default;
    // True when the hook is now installed.
    [[nodiscard]] virtual bool installHook(HookMode mode) = 0;
    virtual void removeHook() = 0;
};

} // namespace q905
