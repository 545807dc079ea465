// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keyboard focus across a skinned window's controls, painted and real alike, in the order of
// its ControlTable. The window forwards focusNextPrevChild, its key presses and its mouse
// presses here and paints the mark; Space and Enter run the control's action like a click.

#include "controls/ui/PaintedControlHost.h"

#include <optional>

class QKeyEvent;
class QPainter;

namespace q905 {

class ControlFocus {
  public:
    // Also makes the window's controls visible to screen readers.
    explicit ControlFocus(PaintedControlHost& host);

    // The control with the keyboard focus: a table widget that has Qt's focus, else the painted
    // control last focused while the window has it.
    std::optional<int> focusedId() const;
    // Painted: remembered and the window takes Qt's focus. A widget takes Qt's focus itself.
    void setFocusedControl(int id);
    // Enabled and shown (a widget: also visible to Qt).
    bool canFocus(int id) const;

    // The window's focusNextPrevChild: the next control that can take the focus, wrapping.
    bool moveFocus(bool backwards);
    // The window's keyPressEvent: Space, Enter and Return activate the focused painted
    // control; other keys go to PaintedControlHost::controlKey. True when used.
    bool handleKey(QKeyEvent* event);
    // A mouse press hides the mark until the keyboard is used again, as in other programs.
    void pointerUsed();
    // The keyboard moved the focus in the window otherwise (a control of its own, an edit
    // ended): the mark shows.
    void keyboardUsed();
    bool markShown() const { return m_markShown; }

    // The mark around the focused control, once the keyboard moved the focus there.
    void paintMark(QPainter& painter) const;

  private:
    void announce(int id) const;

    PaintedControlHost& m_host;
    std::optional<int> m_painted;
    // A window opened from the keyboard shows the mark from the start, as the window it was
    // opened from did; one opened with the mouse does not.
    static inline bool s_keyboardInUse = false;
    bool m_markShown = s_keyboardInUse;
};

} // namespace q905
