// SPDX-License-Identifier: GPL-3.0-or-later
// The real QSystemTrayIcon against a StatusNotifier watcher on a bus of the test's own: the
// tray counts while a host is registered, and a right click that only sends ContextMenu (as
// swaybar does) opens the menu. Run by tests/ui/run-with-status-notifier.sh, which starts the
// bus and an X server; Qt shows a StatusNotifier icon only on a platform with a desktop theme.
#include "MainWindowHarness.h"

#include "platform/qt/SystemTrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QMenu>
#include <QMutex>
#include <QThread>

namespace q905 {
namespace {

using testing::WindowHarness;

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// The least a watcher does: it takes items and hosts and tells when the last host's name
// leaves the bus. It lives on a thread of its own, so the window's thread can ask it and wait.
class Watcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
  public:
    bool isHostRegistered() const {
        QMutexLocker lock(&m_mutex);
        return !m_hosts.isEmpty();
    }
    QStringList items() const {
        QMutexLocker lock(&m_mutex);
        return m_items;
    }
    int protocolVersion() const { return 0; }

  public slots:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
        // Qt names its item by its own bus name.
        QMutexLocker lock(&m_mutex);
        m_items << (service.startsWith('/') ? message.service() : service);
    }
    void RegisterStatusNotifierHost(const QString& service) {
        {
            QMutexLocker lock(&m_mutex);
            m_hosts << service;
        }
        m_hostWatcher->addWatchedService(service);
        emit StatusNotifierHostRegistered();
    }

  signals:
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();

  public:
    void listen(const QDBusConnection& bus) {
        m_hostWatcher = new QDBusServiceWatcher(QString(), bus,
                                                QDBusServiceWatcher::WatchForUnregistration, this);
        connect(m_hostWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
                [this](const QString& service) {
                    {
                        QMutexLocker lock(&m_mutex);
                        m_hosts.removeAll(service);
                    }
                    emit StatusNotifierHostUnregistered();
                });
    }

  private:
    mutable QMutex m_mutex;
    QStringList m_hosts;
    QStringList m_items;
    QDBusServiceWatcher* m_hostWatcher = nullptr;
};

class StatusNotifierTray : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("Q905_STATUS_NOTIFIER_TEST"))
            GTEST_SKIP() << "run by tests/ui/run-with-status-notifier.sh";
        m_thread.start();
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "watcher");
        m_watcher.moveToThread(&m_thread);
        // Registered from its own thread: the bus gives the object helpers of that thread.
        bool registered = false;
        QMetaObject::invokeMethod(
            &m_watcher,
            [&] {
                m_watcher.listen(bus);
                QDBusConnection own = bus;
                registered = own.registerObject("/StatusNotifierWatcher", &m_watcher,
                                                QDBusConnection::ExportAllContents) &&
                             own.registerService(kWatcherService);
            },
            Qt::BlockingQueuedConnection);
        ASSERT_TRUE(registered);
        // The panel: a name of its own, registered with the watcher.
        QDBusConnection host = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "host");
        ASSERT_TRUE(host.registerService("org.kde.StatusNotifierHost-1"));
        host.call(QDBusMessage::createMethodCall(kWatcherService, "/StatusNotifierWatcher",
                                                 kWatcherService, "RegisterStatusNotifierHost")
                  << QStringLiteral("org.kde.StatusNotifierHost-1"));
        ASSERT_TRUE(m_watcher.isHostRegistered());
    }
    void TearDown() override {
        m_thread.quit();
        m_thread.wait();
    }

    // Asks the window's icon as a host would, without waiting: the window's thread answers.
    void askItem(const QString& method) {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_watcher.items().isEmpty(); }));
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "host")
            .asyncCall(QDBusMessage::createMethodCall(m_watcher.items().constFirst(),
                                                      "/StatusNotifierItem",
                                                      "org.kde.StatusNotifierItem", method)
                       << 10 << 10);
    }

    QThread m_thread;
    Watcher m_watcher;
};

TEST_F(StatusNotifierTray, AHiddenWindowComesBackWhenTheLastHostGoesThoughTheWatcherStays) {
    SystemTrayIcon tray;
    WindowHarness harness;
    harness.services.tray = &tray;
    MainWindow& window = harness.start();
    ASSERT_TRUE(tray.available());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_watcher.items().isEmpty(); }))
        << "the icon was never shown to the watcher";

    harness.click(960, 10); // the hide button
    ASSERT_FALSE(window.isVisible());

    QDBusConnection::disconnectFromBus("host");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 5000));
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(tray.available());
    EXPECT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(kWatcherService));
}

TEST_F(StatusNotifierTray, ContextMenuOpensTheMenu) {
    SystemTrayIcon tray;
    WindowHarness harness;
    harness.services.tray = &tray;
    harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.menu() != nullptr; }));
    askItem("ContextMenu");
    EXPECT_TRUE(QTest::qWaitFor([&] { return tray.menu() && tray.menu()->isVisible(); }, 5000));
    EXPECT_EQ(tray.menu()->actions().value(0)->text(), "Show");
}

} // namespace
} // namespace q905

#include "StatusNotifierTray_test.moc"
