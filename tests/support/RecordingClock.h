// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clock that records every wait instead of sleeping; time advances by the waits.

#include "device/Clock.h"

#include <mutex>
#include <vector>

namespace q905::testing {

class RecordingClock final : public Clock {
  public:
    void sleep(std::chrono::milliseconds duration) override {
        std::lock_guard lock(m_mutex);
        m_waits.push_back(duration.count());
        m_now += duration;
    }
    void yield() override {
        std::lock_guard lock(m_mutex);
        m_waits.push_back(0);
    }
    TimePoint now() override {
        std::lock_guard lock(m_mutex);
        return m_now;
    }
    std::vector<long> waits() const {
        std::lock_guard lock(m_mutex);
        return m_waits;
    }
    long totalMilliseconds() const {
        std::lock_guard lock(m_mutex);
        long total = 0;
        for (long w : m_waits)
            total += w;
        return total;
    }

  private:
    mutable std::mutex m_mutex;
    std::vector<long> m_waits;
    TimePoint m_now{};
};

} // namespace q905::testing
