// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyboardView.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace q905 {

namespace {

struct WindowRect {
    int left, top, right, bottom;
};
constexpr WindowRect windowRect(const KeyEntry& key) {
    return {kPictureOriginX + key.left, kPictureOriginY + key.top, kPictureOriginX + key.right,
            kPictureOriginY + key.bottom};
}

} // namespace

int keyAtPoint(int x, int y, bool perKeyColourMode) {
    for (int index = 0; index < kKeyCount; ++index) {
        const WindowRect r = windowRect(KeyTable[static_cast<std::size_t>(index)]);
        if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) {
            if (!perKeyColourMode && isFixedKey(index))
                return kNoKeyAtPoint;
            return index;
        }
    }
    return kNoKeyAtPoint;
}

int neighbourKey(int key, KeyStep step) {
    const WindowRect from = windowRect(KeyTable[static_cast<std::size_t>(key)]);
    const int fromX = (from.left + from.right) / 2;
    const int fromY = (from.top + from.bottom) / 2;
    const bool across = step == KeyStep::Left || step == KeyStep::Right;
    const bool backwards = step == KeyStep::Left || step == KeyStep::Up;
    // A row's keys lie within this of the nearest one's centre.
    constexpr int kRowTolerance = 8;

    // Up and Down: how far the nearest row lies.
    int rowDistance = INT_MAX;
    if (!across)
        for (int other = 0; other < kKeyCount; ++other) {
            if (!isActionableKey(other))
                continue;
            const WindowRect r = windowRect(KeyTable[static_cast<std::size_t>(other)]);
            const int distance = backwards ? fromY - (r.top + r.bottom) / 2
                                           : (r.top + r.bottom) / 2 - fromY;
            if ((backwards ? r.bottom < from.top : r.top > from.bottom) && distance < rowDistance)
                rowDistance = distance;
        }

    int best = key;
    long bestScore = LONG_MAX;
    for (int other = 0; other < kKeyCount; ++other) {
        if (other == key || !isActionableKey(other))
            continue;
        const WindowRect r = windowRect(KeyTable[static_cast<std::size_t>(other)]);
        const int x = (r.left + r.right) / 2;
        const int y = (r.top + r.bottom) / 2;
        long score = 0;
        if (across) {
            const bool sameRow = r.top <= from.bottom && r.bottom >= from.top;
            const int distance = backwards ? fromX - x : x - fromX;
            if (!sameRow || distance <= 0)
                continue;
            score = long(distance) * 1000 + std::abs(y - fromY);
        } else {
            const int distance = backwards ? fromY - y : y - fromY;
            if ((backwards ? r.bottom >= from.top : r.top <= from.bottom) ||
                distance > rowDistance + kRowTolerance)
                continue;
            score = long(std::abs(x - fromX)) * 1000 + distance;
        }
        if (score < bestScore) {
            bestScore = score;
            best = other;
        }
    }
    return best;
}

bool hoverNeedsRepaint(std::uint8_t previous, std::uint8_t current) {
    return current != previous && !isUnplacedKey(current);
}

KeyPieces highlightPieces(int key) {
    KeyPieces pieces;
    if (key == kMainEnterKeyIndex) {
        pieces.copies = kEnterHighlightPieces;
        pieces.count = 2;
        return pieces;
    }
    const KeyEntry& entry = KeyTable[static_cast<std::size_t>(key)];
    pieces.copies[0] = {entry.left,
                        entry.top,
                        entry.right - entry.left,
                        entry.bottom - entry.top,
                        kPictureOriginX + entry.left,
                        kPictureOriginY + entry.top};
    pieces.count = 1;
    return pieces;
}

bool KeySelection::anySelected() const {
    for (bool flag : m_selected)
        if (flag)
            return true;
    return false;
}

void KeySelection::buttonDown(int x, int y) {
    m_band = DragBand{true, x, y, 0, 0};
    m_bandMoved = false;
}

bool KeySelection::bandMove(int x, int y) {
    if (!m_band.active)
        return false;
    if (!m_bandMoved &&
        std::abs(x - m_band.startX) + std::abs(y - m_band.startY) <= m_dragThreshold)
        return false;
    m_bandMoved = true;
    m_band.currentX = x;
    m_band.currentY = y;
    selectInBand();
    return true;
}

void KeySelection::selectInBand() {
    bool any = false;
    for (int index = 0; index < kKeyCount; ++index) {
        const WindowRect r = windowRect(KeyTable[static_cast<std::size_t>(index)]);
        // A band drawn towards the left or upwards contains no key.
        const bool inside = m_band.currentX >= r.right && m_band.startX <= r.left &&
                            m_band.currentY >= r.bottom && m_band.startY <= r.top;
        m_selected[static_cast<std::size_t>(index)] = inside;
        any = any || inside;
    }
    m_state = any ? SelectionState::Banded : SelectionState::Idle;
}

void KeySelection::endBand() {
    m_band = DragBand{};
    m_bandMoved = false;
}

KeyClickOutcome KeySelection::click(int key, bool perKeyView) {
    if (key == kNoKeyAtPoint) {
        if (m_state == SelectionState::Banded)
            m_state = SelectionState::Armed;
        return KeyClickOutcome::Nothing;
    }
    if (!isActionableKey(key) || !perKeyView)
        return KeyClickOutcome::Nothing;
    if (m_ctrlHeld) {
        m_selected[static_cast<std::size_t>(key)] = !m_selected[static_cast<std::size_t>(key)];
        return KeyClickOutcome::Nothing;
    }
    switch (m_state) {
    case SelectionState::Banded:
        m_state = SelectionState::Armed;
        return KeyClickOutcome::Nothing;
    case SelectionState::Idle:
        m_selected[static_cast<std::size_t>(key)] = true;
        return KeyClickOutcome::OpenColourDialog;
    case SelectionState::Armed:
        return KeyClickOutcome::OpenColourDialog;
    }
    return KeyClickOutcome::Nothing;
}

void KeySelection::colourDialogClosed() {
    m_selected.fill(false);
    m_state = SelectionState::Idle;
}

void KeySelection::setCtrlHeld(bool held) {
    const bool released = m_ctrlHeld && !held;
    m_ctrlHeld = held;
    if (released && anySelected())
        m_state = SelectionState::Armed;
}

void KeySelection::toggle(int key) {
    m_selected[static_cast<std::size_t>(key)] = !m_selected[static_cast<std::size_t>(key)];
    m_state = anySelected() ? SelectionState::Armed : SelectionState::Idle;
}

void KeySelection::selectBetween(int anchor, int key) {
    const WindowRect a = windowRect(KeyTable[static_cast<std::size_t>(anchor)]);
    const WindowRect b = windowRect(KeyTable[static_cast<std::size_t>(key)]);
    const WindowRect band{std::min(a.left, b.left), std::min(a.top, b.top),
                          std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
    for (int index = 0; index < kKeyCount; ++index) {
        const WindowRect r = windowRect(KeyTable[static_cast<std::size_t>(index)]);
        // By the keys' centres: the rows are staggered, so few keys lie wholly inside.
        const int x = (r.left + r.right) / 2;
        const int y = (r.top + r.bottom) / 2;
        m_selected[static_cast<std::size_t>(index)] = isActionableKey(index) && x >= band.left &&
                                                      x <= band.right && y >= band.top &&
                                                      y <= band.bottom;
    }
    m_state = anySelected() ? SelectionState::Armed : SelectionState::Idle;
}

void KeySelection::clear() {
    m_selected.fill(false);
    m_state = SelectionState::Idle;
    m_band = DragBand{};
    m_bandMoved = false;
}

} // namespace q905
