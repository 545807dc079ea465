// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The waits of arrival and removal, taken without freezing the window: a step runs later on the
// window's thread. Tests record the waits and run the steps at once.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace q905 {

class Delays {
  public:
    virtual ~Delays() = default;
    // Runs step after the wait on context's thread; never once context is gone.
    virtual void after(std::chrono::milliseconds wait, QObject* context,
                       std::function<void()> step) = 0;
};

class TimerDelays final : public Delays {
  public:
    void after(std::chrono::milliseconds wait, QObject* context,
               std::function<void()> step) override {
        QTimer::singleShot(wait, context, std::move(step));
    }
};

} // namespace q905
