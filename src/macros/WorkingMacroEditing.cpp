// SPDX-License-Identifier: GPL-3.0-or-later
// The event list's context menu and its in-place delay edit.

#include "macros/WorkingMacro.h"

#include <algorithm>

namespace q905 {

EditResult WorkingMacro::arm(int row) {
    // A key takes at least its press and its release.
    if (roomLeft() < 2 * kShortEventSize)
        return EditResult::NoRoom;
    m_insertRow = row;
    m_insertPresses.reset();
    if (!m_capturing)
        m_capturing = m_capture.startCapture(KeyCaptureMode::Macro);
    if (!m_capturing)
        return EditResult::CaptureUnavailable;
    m_insertMode = true;
    return EditResult::Armed;
}

EditResult WorkingMacro::recordBefore(int row) {
    if (!validRow(row))
        return EditResult::Ignored;
    // Before the delay that belongs to the selected key, not between the two.
    if (row > 0 && !isDelayRow(row) && isDelayRow(row - 1))
        return arm(row - 1);
    return arm(row);
}

EditResult WorkingMacro::recordAfter(int row) {
    if (!validRow(row))
        return EditResult::Ignored;
    // After the key that a selected delay belongs to.
    return arm(row + (isDelayRow(row) ? 2 : 1));
}

EditResult WorkingMacro::insertMouseKey(int row, MouseButton button, MouseAction action) {
    if (!m_selected || !validRow(row))
        return EditResult::Ignored;
    const int target = row + (isDelayRow(row) ? 2 : 1);
    const auto code = static_cast<std::uint8_t>(button);
    switch (action) {
    case MouseAction::Down:
    case MouseAction::Up:
        if (!insertEvent(eventAtRow(m_key, target), action == MouseAction::Up, kNoDelay, code))
            return EditResult::NoRoom;
        break;
    case MouseAction::Click:
        if (roomLeft() < 2 * kShortEventSize)
            return EditResult::NoRoom;
        insertEvent(eventAtRow(m_key, target), false, kNoDelay, code);
        insertEvent(eventAtRow(m_key, target + 1), true, kNoDelay, code);
        break;
    }
    finishEdit();
    return EditResult::Changed;
}

EditResult WorkingMacro::insertDelay(int row) {
    if (!m_selected || !validRow(row) || row == static_cast<int>(m_rows.size()) - 1)
        return EditResult::Ignored;
    if (isDelayRow(row))
        return EditResult::DelayRowSelected;
    // The wait goes before the event that follows the selected key; a delay it had is replaced.
    setEventDelay(eventAtRow(m_key, row + 1), kInsertedDelayMs);
    normaliseFirstEvent(m_device, m_key);
    rebuildRows();
    finishEdit();
    return EditResult::Changed;
}

EditResult WorkingMacro::deleteRow(int row) {
    if (!m_selected || !validRow(row))
        return EditResult::Ignored;
    const EventRow target = m_rows[static_cast<std::size_t>(row)];
    if (target.isDelay()) {
        // The event stays; only its wait goes.
        setEventDelay(target.offset, kNoDelay);
    } else {
        const std::size_t size = m_key.eventAt(target.offset)->size();
        m_device.erase(target.offset, size);
        m_key.erase(target.offset, size);
    }
    normaliseFirstEvent(m_device, m_key);
    rebuildRows();
    finishEdit();
    return EditResult::Changed;
}

EditResult WorkingMacro::editDelay(int row, int ms) {
    if (!isDelayRow(row))
        return EditResult::Ignored;
    ms = std::clamp(ms, kMinEditedDelayMs, kMaxDelayMs);
    if (!setEventDelay(m_rows[static_cast<std::size_t>(row)].offset, ms))
        return EditResult::NoRoom;
    normaliseFirstEvent(m_device, m_key);
    rebuildRows();
    finishEdit();
    return EditResult::Changed;
}

} // namespace q905
