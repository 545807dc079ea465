#include "app/KeyboardView.h"

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

void KeySelection::clear() {
    m_selected.fill(false);
    m_state = SelectionState::Idle;
    m_band = DragBand{};
    m_bandMoved = false;
}

} // namespace q905
