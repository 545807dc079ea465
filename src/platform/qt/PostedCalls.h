// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Calls handed from any thread to the thread an object lives on.

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

namespace q905 {

// The calls cross threads under a std::mutex, so the thread checker sees each hand-over; Qt's
// event queue only carries the wake-up, which holds nothing of the caller's.
class PostedCalls final : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // Runs call on this object's thread, after the calls posted before it; never once the
    // object is gone.
    void post(std::function<void()> call);

  private:
    Q_INVOKABLE void runNext();

    std::mutex m_mutex;
    std::deque<std::function<void()>> m_calls;
};

} // namespace q905
