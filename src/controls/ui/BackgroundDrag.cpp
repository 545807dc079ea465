// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/BackgroundDrag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace q905 {

void BackgroundDrag::press(const QMouseEvent& event, bool draggable) {
    m_pressed = true;
    m_draggable = draggable;
    m_dragging = false;
    m_pressGlobalPoint = event.globalPosition().toPoint();
    m_startPosition = m_window.pos();
}

void BackgroundDrag::move(const QMouseEvent& event, bool mayStart) {
    if (!m_pressed || !m_draggable || !(event.buttons() & Qt::LeftButton))
        return;
    const QPoint global = event.globalPosition().toPoint();
    if (!m_dragging) {
        if (!mayStart ||
            (global - m_pressGlobalPoint).manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragging = true;
        // The window manager moves it when it can; the move then ends outside our events.
        QWindow* handle = m_window.windowHandle();
        if (handle != nullptr && handle->startSystemMove()) {
            m_pressed = false;
            return;
        }
    }
    m_window.move(m_startPosition + (global - m_pressGlobalPoint));
}

BackgroundDrag::Release BackgroundDrag::release() {
    const Release release =
        m_dragging ? Release::Dragged : (m_pressed ? Release::Click : Release::NotPressed);
    m_pressed = false;
    m_dragging = false;
    return release;
}

} // namespace q905
