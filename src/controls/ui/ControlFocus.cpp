// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/ControlFocus.h"

#include "controls/ui/FocusMark.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/RegionRects.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

namespace q905 {

QString controlName(const PaintedControlHost& host, const ControlSpec& control) {
    const ControlStatus status = host.controlStatus(control.id);
    if (!status.name.isEmpty())
        return status.name;
    const std::string_view text = control.name.in(host.controlLanguage());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).simplified();
}

ControlFocus::ControlFocus(PaintedControlHost& host) : m_host(host) {
    installPaintedControlAccessibility();
    announceFocusReturns(m_host);
    QWidget* window = m_host.hostWidget();
    window->setFocusPolicy(Qt::StrongFocus);
    // The window paints the mark around its widgets too: it must repaint when the focus moves
    // between them by itself (an in-place edit ending hands it back to its list).
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        QObject::connect(application, &QApplication::focusChanged, window,
                         [window](QWidget* old, QWidget* now) {
                             if ((old && window->isAncestorOf(old)) ||
                                 (now && window->isAncestorOf(now)))
                                 window->update();
                         });
}

std::optional<int> ControlFocus::focusedId() const {
    // The window's own record, so that the answer holds while another window is active too.
    const QWidget* focused = m_host.hostWidget()->focusWidget();
    for (const ControlSpec& control : m_host.controls()) {
        // An in-place editor inside a list is the list's.
        const QWidget* widget = m_host.controlWidget(control.id);
        if (widget && focused && (widget == focused || widget->isAncestorOf(focused)))
            return control.id;
    }
    if (m_painted && focused == m_host.hostWidget())
        return m_painted;
    return std::nullopt;
}

bool ControlFocus::canFocus(int id) const {
    const ControlSpec* control = controlById(m_host.controls(), id);
    if (!control || !control->isTabStop())
        return false;
    const ControlStatus status = m_host.controlStatus(id);
    if (!status.enabled || !status.visible || !status.tabStop)
        return false;
    if (const QWidget* widget = m_host.controlWidget(id))
        return widget->isVisibleTo(m_host.hostWidget()) && widget->isEnabled();
    return true;
}

void ControlFocus::setFocusedControl(int id) {
    QWidget* window = m_host.hostWidget();
    if (QWidget* widget = m_host.controlWidget(id)) {
        m_painted.reset();
        widget->setFocus(Qt::TabFocusReason);
    } else {
        m_painted = id;
        window->setFocus(Qt::TabFocusReason);
        announce(id);
    }
    window->update();
}

bool ControlFocus::moveFocus(bool backwards) {
    const std::optional<int> next = nextTabStop(m_host.controls(), focusedId(), backwards,
                                                [this](int id) { return canFocus(id); });
    if (!next)
        return false;
    keyboardUsed();
    setFocusedControl(*next);
    return true;
}

bool ControlFocus::handleKey(QKeyEvent* event) {
    const std::optional<int> id = focusedId();
    if (!id || m_host.controlWidget(*id))
        return false;
    keyboardUsed();
    if (m_host.controlKey(*id, event))
        return true;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain)
            return false;
        m_host.activateControl(*id);
        m_host.hostWidget()->update();
        return true;
    default:
        return false;
    }
}

void ControlFocus::keyboardUsed() {
    s_keyboardInUse = true;
    if (!m_markShown) {
        m_markShown = true;
        m_host.hostWidget()->update();
    }
}

void ControlFocus::pointerUsed() {
    s_keyboardInUse = false;
    if (m_markShown) {
        m_markShown = false;
        m_host.hostWidget()->update();
    }
}

void ControlFocus::paintMark(QPainter& painter) const {
    if (!m_markShown)
        return;
    const std::optional<int> id = focusedId();
    if (!id)
        return;
    const ControlSpec* control = controlById(m_host.controls(), *id);
    if (control)
        paintFocusMark(painter, toQRect(control->rectIn(m_host.controlLanguage())),
                       m_host.hostWidget()->rect());
}

void ControlFocus::announce(int id) const {
    notifyControlEvent(m_host, id, QAccessible::Focus);
}

} // namespace q905
