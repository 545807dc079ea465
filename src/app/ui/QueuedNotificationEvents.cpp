#include "app/ui/QueuedNotificationEvents.h"

#include "app/ui/MainWindow.h"

namespace q905 {

QueuedNotificationEvents::QueuedNotificationEvents(MainWindow* window) : m_window(window) {}

void QueuedNotificationEvents::lightingChanged(std::uint8_t field, std::uint8_t storedValue) {
    QMetaObject::invokeMethod(
        m_window,
        [window = m_window, field, storedValue] {
            window->handleLightingChanged(field, storedValue);
        },
        Qt::QueuedConnection);
}

void QueuedNotificationEvents::launchRequested(std::uint8_t keyCode) {
    QMetaObject::invokeMethod(
        m_window, [window = m_window, keyCode] { window->handleLaunchRequest(keyCode); },
        Qt::QueuedConnection);
}

void QueuedNotificationEvents::readerEnded() {
    QMetaObject::invokeMethod(m_window, &MainWindow::deviceRemoved, Qt::QueuedConnection);
}

} // namespace q905
