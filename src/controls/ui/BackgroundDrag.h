// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drags a frameless window by its background: once the pointer has moved far enough with the
// left button held, the window manager moves the window, or the window follows the pointer
// itself where there is none. A press that never became a drag is a click on the background.
// The window forwards its left-button presses, its moves and its left-button releases.

#include <QPoint>

class QMouseEvent;
class QWidget;

namespace q905 {

class BackgroundDrag {
  public:
    enum class Release {
        Click,      // pressed and released without dragging
        Dragged,    // the press moved the window
        NotPressed, // no press of ours came before
    };

    explicit BackgroundDrag(QWidget& window) : m_window(window) {}

    // draggable: false for a press on something of the window's own (a button, a row).
    void press(const QMouseEvent& event, bool draggable = true);
    // mayStart: false where a drag must not begin (over a button); one already begun goes on.
    void move(const QMouseEvent& event, bool mayStart = true);
    Release release();

  private:
    QWidget& m_window;
    bool m_pressed = false;
    bool m_draggable = false;
    bool m_dragging = false;
    QPoint m_pressGlobalPoint;
    QPoint m_startPosition;
};

} // namespace q905
