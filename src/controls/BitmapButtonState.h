// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame a bitmap button shows (normal, hover, pressed or latched) as the pointer moves over
// it and clicks it, and when it tells its parent about the click.

namespace q905 {

namespace bitwnd {
inline constexpr int kNormal = 0;
inline constexpr int kHover = 1;
inline constexpr int kPressed = 2; // also latched
} // namespace bitwnd

class BitmapButtonState {
  public:
    void setFrameCount(int count) { m_frameCount = count; }
    void setToggleMode(bool on) { m_toggleMode = on; }
    void setNotifyOnDown(bool on) { m_notifyOnDown = on; }

    int state() const { return m_state; }
    bool latched() const { return m_latched; }
    bool tracking() const { return m_tracking; }

    // The first move over the window asks for hover and leave notice; true when it did so now.
    bool startTracking();
    void hover();
    void leave();
    // Each returns true when the click notification goes out at this event.
    bool buttonDown();
    bool buttonUp();

  private:
    int m_frameCount = 0;
    int m_state = bitwnd::kNormal;
    bool m_latched = false;
    bool m_toggleMode = false;
    bool m_notifyOnDown = false;
    bool m_tracking = false;
};

} // namespace q905
