// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Set by the notification reader when the keyboard acknowledges a group of writes; cleared and
// awaited by applying. The wait is bounded: a keyboard that never answers, or a notification
// interface that never opened, must not hang the program.

#include "device/Commands.h"

#include <condition_variable>
#include <mutex>

namespace q905 {

class AckFlag {
  public:
    void clear();
    void set();
    bool isSet() const;
    // Whether a notification reader is running to set the flag at all.
    void setListening(bool listening);
    bool isListening() const;
    // True once the flag is set; false after the timeout, or at once when nobody listens.
    [[nodiscard]] bool wait(Milliseconds timeout);

  private:
    // Changes a field under the lock and wakes the waiter.
    void store(bool& field, bool value);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
    bool m_listening = false;
};

} // namespace q905
