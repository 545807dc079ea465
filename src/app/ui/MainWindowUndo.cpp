// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo: every click, slider drag or wheel step that changed the image or the
// assignment table is one step; Apply, revert, factory reset and a read of the keyboard end the
// history.
#include "app/ui/MainWindow.h"
#include "controls/ui/SkinSlider.h"
#include "lighting/EffectCatalogue.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace q905 {

void MainWindow::watchSlidersForHistory() {
    for (SkinSlider* slider : findChildren<SkinSlider*>())
        slider->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        if (!m_history.editOpen())
            m_history.begin(m_host);
        // The slider takes the event first; the step closes once it has.
        if (event->type() != QEvent::MouseButtonPress)
            QMetaObject::invokeMethod(
                this, [this] { endEdit(); }, Qt::QueuedConnection);
        break;
    case QEvent::MouseButtonRelease:
        QMetaObject::invokeMethod(
            this, [this] { endEdit(); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::beginEdit() {
    m_history.begin(m_host);
}

void MainWindow::endEdit() {
    m_history.end(m_host);
}

bool MainWindow::historyKey(QKeyEvent* event) {
    const bool undo = event->matches(QKeySequence::Undo);
    const bool redo = event->matches(QKeySequence::Redo) ||
                      event->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_Y) ||
                      event->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    if (!undo && !redo)
        return false;
    event->accept();
    if (m_panel->isListOpen() || m_leftButtonDown)
        return true;
    const HistoryStep step = undo ? m_history.undo(m_host) : m_history.redo(m_host);
    if (!step.restored())
        return true;
    // The state in memory changed whether or not its files could be written.
    m_panel->refreshSliders();
    if (!isProfileEffect(m_host.image().lightingEffect()))
        m_view.perKeyColourMode = false;
    paintMainWindow();
    if (!step.saved)
        tellNotSaved(texts::kNotSaved, step.saved);
    return true;
}

} // namespace q905
