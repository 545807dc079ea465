// SPDX-License-Identifier: GPL-3.0-or-later
// Pointer and keys: hover, the drag band, moving the window by its top strip, the About dialog
// from the strip, and the keys the window keeps to itself.
#include "app/ui/AboutDialog.h"
#include "app/ui/MainWindow.h"
#include "platform/qt/UserDialogs.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace q905 {

namespace {
// The strip a drag moves the window by.
constexpr int kTitleStripTop = 2;
constexpr int kTitleStripBottom = 30;

QPoint windowPoint(const QMouseEvent* event) {
    return event->position().toPoint();
}
} // namespace

bool MainWindow::inTitleStrip(int x, int y) const {
    return y >= kTitleStripTop && y <= kTitleStripBottom && !controlAtPoint(x, y) &&
           keyAtPoint(x, y, m_view.perKeyColourMode) == kNoKeyAtPoint && !m_panel->isListOpen();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint point = windowPoint(event);
    if (event->button() == Qt::RightButton) {
        if (inTitleStrip(point.x(), point.y()))
            showAbout();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_focus.pointerUsed();
    m_leftButtonDown = true;
    m_selection.setCtrlHeld(event->modifiers() & Qt::ControlModifier);
    m_selection.buttonDown(point.x(), point.y());
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_movingByHand) {
        move(event->globalPosition().toPoint() - m_moveOffset);
        return;
    }
    const QPoint point = windowPoint(event);
    const int x = point.x();
    const int y = point.y();
    const bool leftDown = event->buttons() & Qt::LeftButton;
    if (!leftDown) {
        // The release happened elsewhere: the band ends.
        m_leftButtonDown = false;
        m_selection.endBand();
    }

    bool repaint = false;
    if (m_panel->isListOpen())
        repaint = m_panel->hoverOpenList(x, y);
    else
        repaint = updateButtonHover(x, y);

    if (leftDown && m_leftButtonDown) {
        if (inTitleStrip(x, y) && !m_selection.banding()) {
            m_selection.endBand();
            beginWindowMove(event->globalPosition().toPoint());
            return;
        }
        repaint = m_selection.bandMove(x, y) || repaint;
    }
    repaint = trackHover(x, y) || repaint;
    if (repaint)
        paintMainWindow();
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_leftButtonDown = false;
    if (m_movingByHand) {
        m_movingByHand = false;
        return;
    }
    const QPoint point = windowPoint(event);
    m_selection.setCtrlHeld(event->modifiers() & Qt::ControlModifier);
    dispatchClick(point.x(), point.y());
}

void MainWindow::beginWindowMove(const QPoint& globalPosition) {
    m_leftButtonDown = false;
    // The window manager moves the window; without one (or on a platform that cannot), the
    // following moves carry it by hand.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_movingByHand = true;
    m_moveOffset = globalPosition - pos();
}

bool MainWindow::updateButtonHover(int x, int y) {
    const std::optional<int> hover = controlAtPoint(x, y);
    const bool changed = hover != m_hoverControl;
    m_hoverControl = hover;
    return changed;
}

bool MainWindow::trackHover(int x, int y) {
    const int key = keyAtPoint(x, y, m_view.perKeyColourMode);
    const std::uint8_t hover = key == kNoKeyAtPoint ? kNoHoverKey : static_cast<std::uint8_t>(key);
    const bool repaint = hoverNeedsRepaint(m_hoverKey, hover);
    m_hoverKey = hover;
    return repaint;
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (historyKey(event) || windowShortcut(event) || m_focus.handleKey(event))
        return;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_F1:
        // Neither close the window nor ask for help.
        event->accept();
        return;
    case Qt::Key_Control:
        m_selection.setCtrlHeld(true);
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control) {
        m_selection.setCtrlHeld(false);
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void MainWindow::focusOutEvent(QFocusEvent* event) {
    m_hoverControl.reset();
    paintMainWindow();
    QWidget::focusOutEvent(event);
}

void MainWindow::showAbout() {
    AboutDialog about(m_services.language, this);
    m_services.dialogs->exec(about);
}

} // namespace q905
