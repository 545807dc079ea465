#include "controls/BitWndState.h"

namespace q905 {

bool BitWndState::startTracking() {
    if (m_tracking)
        return false;
    m_tracking = true;
    return true;
}

void BitWndState::hover() {
    m_state = m_frameCount > 1 ? bitwnd::kHover : bitwnd::kNormal;
    if (m_latched)
        m_state = bitwnd::kPressed;
}

void BitWndState::leave() {
    m_state = m_latched ? bitwnd::kPressed : bitwnd::kNormal;
    if (m_frameCount == 1)
        m_state = bitwnd::kNormal;
    m_tracking = false;
}

bool BitWndState::buttonDown() {
    // The pressed frame follows the latch as it was before this click flips it.
    m_state = !m_latched && m_frameCount > 2 ? bitwnd::kPressed : bitwnd::kNormal;
    if (m_toggleMode)
        m_latched = !m_latched;
    return m_notifyOnDown;
}

bool BitWndState::buttonUp() {
    if (!m_latched)
        m_state = m_frameCount > 1 ? bitwnd::kHover : bitwnd::kNormal;
    return !m_notifyOnDown;
}

} // namespace q905
