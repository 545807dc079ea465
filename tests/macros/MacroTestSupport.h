// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the macro tests: a clock moved by hand, a key capture that counts, and
// short ways to write event bytes.

#include "device/Clock.h"
#include "macros/EventSequence.h"
#include "macros/KeyCaptureControl.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace q905::testing {

using Bytes = std::vector<std::uint8_t>;
using Rows = std::vector<std::string>;

class ManualClock final : public Clock {
  public:
    void sleep(std::chrono::milliseconds duration) override { m_now += duration; }
    void yield() override {}
    TimePoint now() override { return m_now; }
    void advance(std::chrono::microseconds duration) { m_now += duration; }

  private:
    TimePoint m_now{std::chrono::hours(1)};
};

class FakeKeyCapture final : public KeyCaptureControl {
  public:
    bool startCapture(KeyCaptureMode mode) override {
        ++installs;
        lastMode = mode;
        return installed = installSucceeds;
    }
    void stopCapture() override { installed = false; }
    bool installSucceeds = true;
    bool installed = false;
    int installs = 0;
    std::optional<KeyCaptureMode> lastMode;
};

inline EventSequence sequence(const Bytes& bytes) {
    return EventSequence(bytes);
}

// The bytes up to the last non-zero one, so a stray byte in the zero tail shows up too.
inline Bytes used(const EventSequence& events) {
    std::size_t last = events.bytes().size();
    while (last > 0 && events[last - 1] == 0)
        --last;
    return {events.bytes().begin(), events.bytes().begin() + static_cast<long>(last)};
}

} // namespace q905::testing
