// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// After the keyboard changed a lighting value itself, the window is redrawn four times on
// consecutive ticks of its 20 ms timer, then the burst ends and the timer may stop.

#include <chrono>

namespace q905 {

inline constexpr std::chrono::milliseconds kRedrawTick{20};
inline constexpr int kRedrawBurstLength = 4;

class RedrawBurst {
  public:
    // Starting again while a burst runs begins a fresh count.
    void start() {
        m_running = true;
        m_count = 0;
    }
    // One timer tick: true when the window is to be redrawn; after the last redraw the next
    // tick ends the burst.
    bool tick() {
        if (!m_running)
            return false;
        if (m_count < kRedrawBurstLength) {
            ++m_count;
            return true;
        }
        m_running = false;
        m_count = 0;
        return false;
    }
    bool running() const { return m_running; }

  private:
    bool m_running = false;
    int m_count = 0;
};

} // namespace q905
