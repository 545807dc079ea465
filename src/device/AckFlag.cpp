// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/AckFlag.h"

namespace q905 {

void AckFlag::clear() {
    std::lock_guard lock(m_mutex);
    m_set = false;
}

void AckFlag::set() {
    store(m_set, true);
}

bool AckFlag::isSet() const {
    std::lock_guard lock(m_mutex);
    return m_set;
}

void AckFlag::setListening(bool listening) {
    store(m_listening, listening);
}

bool AckFlag::isListening() const {
    std::lock_guard lock(m_mutex);
    return m_listening;
}

void AckFlag::store(bool& field, bool value) {
    {
        std::lock_guard lock(m_mutex);
        field = value;
    }
    m_changed.notify_all();
}

bool AckFlag::wait(Milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    // Woken by the reader rather than polling every 10 ms: the same outcome, sooner.
    m_changed.wait_for(lock, timeout, [this] { return m_set || !m_listening; });
    return m_set;
}

} // namespace q905
