// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard picture of the main window as a model: which key lies under a point, the hover
// key, and the selection of keys for a per-key colour change (click, Ctrl+click, drag band).

#include "keys/KeyTable.h"

#include <array>
#include <cstdint>

namespace q905 {

inline constexpr int kNoKeyAtPoint = -1;
inline constexpr std::uint8_t kNoHoverKey = 255;

// The key under a window point, or kNoKeyAtPoint. In the "Keymap" view the keys that cannot be
// reassigned (both Ctrl keys, Win, Fn) are not found. The unplaced keys 17..19 match only the
// picture's corner point; callers ignore them.
int keyAtPoint(int x, int y, bool perKeyColourMode);

// A placed key: one a click or a hover may act on.
constexpr bool isActionableKey(int key) {
    return key >= 0 && key < kKeyCount && !isUnplacedKey(key);
}

// The placed key an arrow moves to from `key`: the nearest in its row for Left and Right, in
// the nearest row above or below for Up and Down (the closest across); `key` at the edge.
enum class KeyStep { Left, Right, Up, Down };
int neighbourKey(int key, KeyStep step);

// A new hover key is worth a repaint when it changed to something other than an unplaced key.
bool hoverNeedsRepaint(std::uint8_t previous, std::uint8_t current);

// Rectangles of the main Enter key's L shape (window pixels, right and bottom excluded).
struct PixelRect {
    int x, y, width, height;
};
// The two pieces copied from the highlight picture: source top-left in the picture, size, and
// destination in the window.
struct PictureCopy {
    int sourceX, sourceY, width, height, destX, destY;
};
inline constexpr std::array<PictureCopy, 2> kEnterHighlightPieces{{
    {385, 157, 36, 24, 694, 249},
    {391, 178, 30, 26, 700, 270},
}};
inline constexpr std::array<PixelRect, 2> kEnterColourFill{{
    {694, 249, 36, 23},
    {702, 269, 28, 25},
}};
inline constexpr std::array<std::array<int, 2>, 6> kEnterOutline{
    {{692, 247}, {729, 247}, {729, 295}, {700, 295}, {700, 271}, {692, 271}}};
// The Enter outline's bottom edge reaches one pixel further right than its corner.
inline constexpr int kEnterOutlineBottomRight = 730;

// The pieces of the highlight picture that mark a key; one piece for every key but Enter.
struct KeyPieces {
    std::array<PictureCopy, 2> copies{};
    int count = 0;
};
KeyPieces highlightPieces(int key);

enum class SelectionState : std::uint8_t { Idle = 0, Banded = 1, Armed = 2 };

struct DragBand {
    bool active = false;
    int startX = 0, startY = 0;     // at button-down
    int currentX = 0, currentY = 0; // at the last move
};

// What a button-up on the keyboard picture asks the window to do.
enum class KeyClickOutcome { Nothing, OpenColourDialog };

class KeySelection {
  public:
    // dragThreshold: pointer travel before a held button counts as a band, so the jitter of a
    // plain click does not clear the selection.
    explicit KeySelection(int dragThreshold = 0) : m_dragThreshold(dragThreshold) {}

    const std::array<bool, kKeyCount>& selected() const { return m_selected; }
    bool isSelected(int key) const { return m_selected[static_cast<std::size_t>(key)]; }
    bool anySelected() const;
    SelectionState state() const { return m_state; }
    const DragBand& band() const { return m_band; }
    // The band is active and has been drawn out: it is shown and selects.
    bool banding() const { return m_band.active && m_bandMoved; }

    void buttonDown(int x, int y);
    // A move with the band active; true when the selection was recomputed (repaint).
    bool bandMove(int x, int y);
    // Button-up, or a move with the button already released.
    void endBand();

    // The click rules at button-up. key comes from keyAtPoint; perKeyView is true in the
    // "Custom" view while a lighting profile is the effect.
    KeyClickOutcome click(int key, bool perKeyView);
    // The colour dialog closed, with OK or Cancel.
    void colourDialogClosed();

    void setCtrlHeld(bool held);
    void clear();

    // From the keyboard: Space toggles one key; Shift+arrows select the keys in the band from
    // the anchor key to the current one, whichever way it is drawn. Either way the next
    // activation opens the colour dialog for the selection, as after Ctrl+clicks.
    void toggle(int key);
    void selectBetween(int anchor, int key);

  private:
    void selectInBand();

    int m_dragThreshold;
    std::array<bool, kKeyCount> m_selected{};
    SelectionState m_state = SelectionState::Idle;
    DragBand m_band;
    bool m_bandMoved = false;
    bool m_ctrlHeld = false;
};

} // namespace q905
