// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/SystemTrayIcon.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <utility>

namespace q905 {

namespace {
// Long enough to be read; desktops may shorten or lengthen it.
constexpr int kBalloonMilliseconds = 10000;
// How soon a vanished XEmbed tray is noticed.
constexpr int kPollMilliseconds = 3000;
// A watcher that does not answer within this is taken as having no host.
constexpr int kWatcherCallMilliseconds = 2000;
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

QDBusMessage hostRegisteredQuestion() {
    QDBusMessage question = QDBusMessage::createMethodCall(
        kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    question << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    return question;
}

bool answeredYes(const QDBusMessage& answer) {
    return answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty() &&
           answer.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}
} // namespace

SystemTrayIcon::SystemTrayIcon(QObject* parent, std::function<bool()> available)
    : TrayIcon(parent), m_available(std::move(available)) {
    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &SystemTrayIcon::recheck);
}

void SystemTrayIcon::findKind() const {
    if (m_kind != Kind::Unknown)
        return;
    // Qt shows its icon to a StatusNotifier watcher only when a host was registered with it at
    // its first icon; otherwise it looks for an XEmbed tray, for the whole run.
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface* daemon = bus.interface();
    if (daemon && daemon->isServiceRegistered(kWatcherService))
        m_hostRegistered =
            answeredYes(bus.call(hostRegisteredQuestion(), QDBus::Block, kWatcherCallMilliseconds));
    m_kind = m_hostRegistered ? Kind::StatusNotifier : Kind::XEmbed;
    if (m_kind != Kind::StatusNotifier)
        return;
    auto* self = const_cast<SystemTrayIcon*>(this);
    // The watcher (kded, swaybar, an extension) may stay while every host (the panel) goes.
    bus.connect(kWatcherService, kWatcherPath, kWatcherService,
                QStringLiteral("StatusNotifierHostRegistered"), self, SLOT(hostRegistered()));
    bus.connect(kWatcherService, kWatcherPath, kWatcherService,
                QStringLiteral("StatusNotifierHostUnregistered"), self, SLOT(hostUnregistered()));
    m_watcher = std::make_unique<QDBusServiceWatcher>(
        kWatcherService, bus,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration);
    connect(m_watcher.get(), &QDBusServiceWatcher::serviceRegistered, self, [this] { askHosts(); });
    connect(m_watcher.get(), &QDBusServiceWatcher::serviceUnregistered, self, [self] {
        self->m_hostRegistered = false;
        self->recheck();
    });
}

void SystemTrayIcon::hostRegistered() {
    m_hostRegistered = true;
    recheck();
}

void SystemTrayIcon::hostUnregistered() {
    // Only the last host's going takes the tray away.
    askHosts();
}

void SystemTrayIcon::askHosts() const {
    auto* self = const_cast<SystemTrayIcon*>(this);
    auto* pending = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(hostRegisteredQuestion(), kWatcherCallMilliseconds),
        self);
    connect(pending, &QDBusPendingCallWatcher::finished, self,
            [self](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                self->m_hostRegistered = answeredYes(call->reply());
                self->recheck();
            });
}

void SystemTrayIcon::recheck() {
    const bool now = available();
    if (now == std::exchange(m_wasAvailable, now))
        return;
    emit availabilityChanged(now);
}

void SystemTrayIcon::setWindowHidden(bool hidden) {
    m_wasAvailable = available();
    if (hidden && m_kind != Kind::StatusNotifier)
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
    if (m_available)
        return m_available();
    findKind();
    return m_kind == Kind::StatusNotifier ? m_hostRegistered
                                          : QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::show(const QIcon& icon, const QString& tip, const QString& showText,
                          const QString& exitText) {
    m_wasAvailable = available();
    if (!m_wasAvailable || m_icon)
        return;
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
                else if (reason == QSystemTrayIcon::Context)
                    openMenuAtPointer();
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

void SystemTrayIcon::openMenuAtPointer() {
    // An XEmbed tray has opened the menu already, and a StatusNotifier host that reads the menu
    // over the bus never asks; one that only sends ContextMenu (swaybar) gets it here. Qt keeps
    // the request's point to itself; the pointer is where the right click was.
    if (m_menu && !m_menu->isVisible())
        m_menu->popup(QCursor::pos());
}

void SystemTrayIcon::showBalloon(const QString& title, const QString& text) {
    if (m_icon)
        m_icon->showMessage(title, text, QSystemTrayIcon::Information, kBalloonMilliseconds);
}

} // namespace q905
