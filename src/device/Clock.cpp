// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Clock.h"

#include <thread>

namespace q905 {

void preciseSleepUntil(std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono_literals;
    // The kernel wakes a sleeper some 50-100 us late; sleep short of that and spin the rest.
    constexpr auto kSpinMargin = 200us;
    const auto now = std::chrono::steady_clock::now();
    if (deadline - now > kSpinMargin)
        std::this_thread::sleep_until(deadline - kSpinMargin);
    while (std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
}

void SystemClock::sleep(std::chrono::milliseconds duration) {
    preciseSleepUntil(std::chrono::steady_clock::now() + duration);
}

void SystemClock::sleepPrecisely(std::chrono::microseconds duration) {
    preciseSleepUntil(std::chrono::steady_clock::now() + duration);
}

void SystemClock::yield() {
    std::this_thread::yield();
}

Clock::TimePoint SystemClock::now() {
    return std::chrono::steady_clock::now();
}

} // namespace q905
