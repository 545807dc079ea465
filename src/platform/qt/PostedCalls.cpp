// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/PostedCalls.h"

namespace q905 {

void PostedCalls::post(std::function<void()> call) {
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    // A wake-up a call keeps each call where it would stand in the event queue.
    QMetaObject::invokeMethod(this, "runNext", Qt::QueuedConnection);
}

void PostedCalls::runNext() {
    std::function<void()> call;
    {
        std::lock_guard lock(m_mutex);
        if (m_calls.empty())
            return;
        call = std::move(m_calls.front());
        m_calls.pop_front();
    }
    call();
}

} // namespace q905
