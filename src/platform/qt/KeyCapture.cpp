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

quint8 virtualKeyOf(quint32 scanCode) {
    return scanCode >= kEvdevOffset ? virtualKeyFromEvdev(static_cast<int>(scanCode - kEvdevOffset))
                                    : quint8{0};
}

} // namespace

KeyCapture::KeyCapture(QWidget* window, QObject* parent) : QObject(parent), m_window(window) {
    m_pairWait.setSingleShot(true);
    m_pairWait.setInterval(kRepeatPairWaitMs);
    connect(&m_pairWait, &QTimer::timeout, this, [this] {
        flushPendingRelease();
        detachIfIdle();
    });
}

KeyCapture::~KeyCapture() {
    if (m_filtering)
        if (auto* application = QCoreApplication::instance())
            application->removeEventFilter(this);
}

bool KeyCapture::startCapture(KeyCaptureMode mode) {
    auto* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    m_releases = mode == KeyCaptureMode::Macro;
    if (!m_capturing && !m_filtering) {
        m_held.clear();
        m_pending.reset();
    }
    if (!m_filtering)
        application->installEventFilter(this);
    m_filtering = true;
    m_capturing = true;
    return true;
}

void KeyCapture::stopCapture() {
    if (!m_capturing)
        return;
    // A release held back is a real one: it is still reported, to whoever started the capture.
    flushPendingRelease();
    m_capturing = false;
    detachIfIdle();
}

void KeyCapture::detachIfIdle() {
    if (m_capturing || !m_filtering || !m_held.empty() || m_pending)
        return;
    if (auto* application = QCoreApplication::instance())
        application->removeEventFilter(this);
    m_filtering = false;
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
    if (type == QEvent::WindowDeactivate && watched == m_window) {
        // Keys released in another window send their releases there: none is held here now.
        flushPendingRelease();
        m_held.clear();
        detachIfIdle();
        return QObject::eventFilter(watched, event);
    }
    if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress &&
         type != QEvent::KeyRelease) ||
        !typedIntoWindow(watched))
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const quint32 scanCode = key->nativeScanCode();
    const bool ours = m_held.contains(scanCode) || (m_pending && m_pending->scanCode == scanCode);
    // After the capture ended only the keys it still holds are its own.
    if (!m_capturing && !ours)
        return QObject::eventFilter(watched, event);
    if (type == QEvent::ShortcutOverride) {
        // Accepted overrides keep shortcuts from firing; the key press that follows is ours.
        event->accept();
        return true;
    }
    const bool release = type == QEvent::KeyRelease;
    if (release && !ours) {
        // Its press went to another window (the Esc that closed a message box, the Return that
        // chose a menu item): the release belongs there too. Its time still tells a repeat.
        m_lastRelease[scanCode] = key->timestamp();
        return QObject::eventFilter(watched, event);
    }
    keyEvent(*key, release);
    event->accept(); // no widget, no parent, no dialog default button sees it
    detachIfIdle();
    return true;
}

void KeyCapture::keyEvent(const QKeyEvent& key, bool release) {
    const quint32 scanCode = key.nativeScanCode();
    const quint64 timestamp = key.timestamp();
    if (m_pending && m_pending->scanCode == scanCode && !release &&
        m_pending->timestamp == timestamp && timestamp != 0) {
        // X's unmarked repeat: the release and the press it sent together.
        m_pending.reset();
        m_pairWait.stop();
        repeat(scanCode);
        return;
    }
    flushPendingRelease();
    if (release) {
        if (key.isAutoRepeat())
            return; // its press follows, marked too
        m_lastRelease[scanCode] = timestamp;
        if (timestamp == 0) {
            // No time to pair it by (a synthesised event): taken as it comes.
            m_held.erase(scanCode);
            if (m_releases)
                report(scanCode, true);
            return;
        }
        // Held back until it is known that no press of the same instant follows.
        m_pending = PendingRelease{scanCode, timestamp, {}};
        m_pending->since.start();
        m_pairWait.start();
        return;
    }
    if (m_held.contains(scanCode) || key.isAutoRepeat()) {
        repeat(scanCode);
        return;
    }
    const auto last = m_lastRelease.find(scanCode);
    if (timestamp != 0 && last != m_lastRelease.end() && last->second == timestamp)
        return; // the press of a pair whose release came too long before it
    m_held.insert(scanCode);
    report(scanCode, false);
}

void KeyCapture::flushPendingRelease() {
    if (!m_pending)
        return;
    const PendingRelease pending = *m_pending;
    m_pending.reset();
    m_pairWait.stop();
    m_held.erase(pending.scanCode);
    if (m_releases)
        report(pending.scanCode, true, static_cast<int>(pending.since.elapsed()));
}

void KeyCapture::report(quint32 scanCode, bool release, int msAgo) {
    if (!m_capturing)
        return;
    if (const quint8 code = virtualKeyOf(scanCode); code != 0)
        emit keyCaptured(code, release, msAgo);
}

void KeyCapture::repeat(quint32 scanCode) {
    if (!m_capturing || !m_releases || !m_held.contains(scanCode))
        return;
    if (const quint8 code = virtualKeyOf(scanCode); code != 0)
        emit keyRepeated(code);
}

} // namespace q905
