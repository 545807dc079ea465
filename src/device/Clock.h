// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every protocol wait goes through a clock, so tests record the waits instead of sleeping.

#include <chrono>

namespace q905 {

class Clock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
    // For waits finer than a millisecond (the emulated bus); a clock that keeps only whole
    // milliseconds takes them rounded up.
    virtual void sleepPrecisely(std::chrono::microseconds duration) {
        sleep(std::chrono::ceil<std::chrono::milliseconds>(duration));
    }
    // A zero-length sleep that only gives up the time slice.
    virtual void yield() = 0;
    virtual TimePoint now() = 0;
};

// Real time. Sleeps end close to their deadline rather than a scheduler tick late, so the
// protocol's many short waits do not add up to visible slowness.
class SystemClock final : public Clock {
  public:
    void sleep(std::chrono::milliseconds duration) override;
    void sleepPrecisely(std::chrono::microseconds duration) override;
    void yield() override;
    TimePoint now() override;
};

// Sleeps until the deadline: the scheduler for most of it, a short spin for the rest.
void preciseSleepUntil(std::chrono::steady_clock::time_point deadline);

} // namespace q905
