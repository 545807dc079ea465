// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/SystemTrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <utility>

namespace q905 {

namespace {
// Long enough to be read; desktops may shorten or lengthen it.
constexpr int kBalloonMilliseconds = 10000;
// How soon a vanished XEmbed tray is noticed.
constexpr int kPollMilliseconds = 3000;
const QString kStatusNotifierWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

bool statusNotifierWatcherRegistered() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(kStatusNotifierWatcher);
}
} // namespace

bool SystemTrayIcon::trayAvailableNow() {
    // What Qt chose for the whole run: StatusNotifier when the watcher was there at start.
    static const bool statusNotifier = statusNotifierWatcherRegistered();
    return statusNotifier ? statusNotifierWatcherRegistered()
                          : QSystemTrayIcon::isSystemTrayAvailable();
}

SystemTrayIcon::SystemTrayIcon(QObject* parent, std::function<bool()> available)
    : TrayIcon(parent), m_available(std::move(available)) {
    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &SystemTrayIcon::recheck);
}

void SystemTrayIcon::recheck() {
    const bool now = available();
    if (now == std::exchange(m_wasAvailable, now))
        return;
    emit availabilityChanged(now);
}

void SystemTrayIcon::setWindowHidden(bool hidden) {
    m_wasAvailable = available();
    if (hidden && !statusNotifierWatcherRegistered())
        m_poll.start();
    else
        m_poll.stop();
}

// Outside any handler of the menu or the icon: both can go at once.
SystemTrayIcon::~SystemTrayIcon() {
    if (m_icon)
        m_icon->hide();
}

bool SystemTrayIcon::available() const {
    return m_available();
}

void SystemTrayIcon::show(const QIcon& icon, const QString& tip, const QString& showText,
                          const QString& exitText) {
    m_wasAvailable = available();
    if (!m_wasAvailable || m_icon)
        return;
    // With the first icon, after the window's first frame: the session bus is not needed before.
    if (!m_watcher) {
        m_watcher = std::make_unique<QDBusServiceWatcher>(
            kStatusNotifierWatcher, QDBusConnection::sessionBus(),
            QDBusServiceWatcher::WatchForRegistration |
                QDBusServiceWatcher::WatchForUnregistration);
        connect(m_watcher.get(), &QDBusServiceWatcher::serviceRegistered, this,
                &SystemTrayIcon::recheck);
        connect(m_watcher.get(), &QDBusServiceWatcher::serviceUnregistered, this,
                &SystemTrayIcon::recheck);
    }
    m_menu = std::make_unique<QMenu>();
    // Queued: whoever acts on an item may remove this menu, which is still handling the click.
    connect(m_menu->addAction(showText), &QAction::triggered, this, &TrayIcon::showChosen,
            Qt::QueuedConnection);
    if (!checkText().isEmpty()) {
        QAction* check = m_menu->addAction(checkText());
        check->setCheckable(true);
        const auto refresh = [this, check] { check->setChecked(checkEntryChecked()); };
        refresh();
        connect(m_menu.get(), &QMenu::aboutToShow, check, refresh);
        connect(check, &QAction::triggered, this, &TrayIcon::checkEntryChosen,
                Qt::QueuedConnection);
    }
    connect(m_menu->addAction(exitText), &QAction::triggered, this, &TrayIcon::exitChosen,
            Qt::QueuedConnection);
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tip);
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    emit clicked();
                else if (reason == QSystemTrayIcon::DoubleClick)
                    emit doubleClicked();
            });
    m_icon->show();
}

void SystemTrayIcon::remove() {
    if (m_icon) {
        m_icon->hide();
        m_icon.release()->deleteLater();
    }
    if (m_menu) {
        m_menu->hide();
        m_menu.release()->deleteLater();
    }
}

void SystemTrayIcon::showBalloon(const QString& title, const QString& text) {
    if (m_icon)
        m_icon->showMessage(title, text, QSystemTrayIcon::Information, kBalloonMilliseconds);
}

} // namespace q905
