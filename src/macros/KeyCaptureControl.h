// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starts and stops the capture of the keys typed into a dialog (on Linux a Qt event filter).
// While started it reports every key transition (key code 0..255, press or release) to the
// dialog, which forwards each report to its model. Only a holder that started it stops it.

namespace q905 {

enum class KeyCaptureMode {
    KeyAssignment, // presses only
    Macro,         // presses and releases
};

class KeyCaptureControl {
  public:
    virtual ~KeyCaptureControl() = default;
    // True when keys are now captured.
    [[nodiscard]] virtual bool startCapture(KeyCaptureMode mode) = 0;
    virtual void stopCapture() = 0;
};

} // namespace q905
