// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/BitmapButtonState.h"

namespace q905 {

bool BitmapButtonState::startTracking() {
    if (m_tracking)
        return false;
    m_tracking = true;
    return true;
}

void BitmapButtonState::hover() {
    m_state = m_frameCount > 1 ? bitwnd::kHover : bitwnd::kNormal;
    if (m_latched)
        m_state = bitwnd::kPressed;
}

void BitmapButtonState::leave() {
    m_state = m_latched ? bitwnd::kPressed : bitwnd::kNormal;
    if (m_frameCount == 1)
        m_state = bitwnd::kNormal;
    m_tracking = false;
}

bool BitmapButtonState::buttonDown() {
    // The pressed frame follows the latch as it was before this click flips it.
    m_state = !m_latched && m_frameCount > 2 ? bitwnd::kPressed : bitwnd::kNormal;
    if (m_toggleMode)
        m_latched = !m_latched;
    return m_notifyOnDown;
}

bool BitmapButtonState::buttonUp() {
    if (!m_latched)
        m_state = m_frameCount > 1 ? bitwnd::kHover : bitwnd::kNormal;
    return !m_notifyOnDown;
}

} // namespace q905
