// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/KeyCapture.h"

#include "platform/EvdevKeyCodes.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace q905 {
namespace {

// Qt reports the X keycode on xcb and on Wayland alike: the evdev code plus 8.
constexpr quint32 kEvdevOffset = 8;

} // namespace

KeyCapture::KeyCapture(QWidget* window, QObject* parent) : QObject(parent), m_window(window) {}

KeyCapture::~KeyCapture() {
    removeHook();
}

bool KeyCapture::installHook(HookMode mode) {
    auto* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    m_releases = mode == HookMode::Macro;
    if (!m_installed) {
        m_held.clear();
        application->installEventFilter(this);
    }
    m_installed = true;
    return true;
}

void KeyCapture::removeHook() {
    if (!m_installed)
        return;
    if (auto* application = QCoreApplication::instance())
        application->removeEventFilter(this);
    m_installed = false;
}

// Key events reach a widget of the window that has the keyboard (a popup's when a menu is open)
// after its platform window; only the widget tells which window the key was typed into.
bool KeyCapture::typedIntoWindow(QObject* receiver) const {
    if (m_window == nullptr || !receiver->isWidgetType())
        return false;
    return static_cast<QWidget*>(receiver)->window() == m_window;
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress &&
         type != QEvent::KeyRelease) ||
        !typedIntoWindow(watched))
        return QObject::eventFilter(watched, event);
    if (type == QEvent::ShortcutOverride) {
        // Accepted overrides keep shortcuts from firing; the key press that follows is ours.
        event->accept();
        return true;
    }

    const auto* key = static_cast<QKeyEvent*>(event);
    const bool release = type == QEvent::KeyRelease;
    const quint32 scanCode = key->nativeScanCode();
    if (!release) {
        m_held.insert(scanCode);
    } else if (!m_held.contains(scanCode)) {
        // Its press went to another window (the Esc that closed a message box, the Return that
        // chose a menu item): the release belongs there too.
        return QObject::eventFilter(watched, event);
    } else if (!key->isAutoRepeat()) {
        m_held.erase(scanCode);
    }
    // A held key repeats as presses only, the way a system keyboard hook sees it; the
    // releases the window system puts between them are dropped.
    const bool report = !release || (m_releases && !key->isAutoRepeat());
    if (report && scanCode >= kEvdevOffset) {
        const auto code = virtualKeyFromEvdev(static_cast<int>(scanCode - kEvdevOffset));
        if (code != 0)
            emit hookKey(code, release);
    }
    event->accept(); // no widget, no parent, no dialog default button sees it
    return true;
}

} // namespace q905
