// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A session bus of the test's own: a dbus-daemon started for it, its address in the
// environment (for the q905ctl, gdbus and busctl the test starts) and a connection to it.

#include <QDBusConnection>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace q905::testing {

class PrivateBus {
  public:
    PrivateBus() {
        m_previous = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        EXPECT_TRUE(m_daemon.waitForStarted()) << "dbus-daemon is not installed";
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_daemon.canReadLine(); }, 10000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
        static int next = 0;
        m_name = QStringLiteral("q905-test-bus-%1").arg(next++);
        connection =
            std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, m_name));
        EXPECT_TRUE(connection->isConnected());
    }
    ~PrivateBus() {
        connection.reset();
        QDBusConnection::disconnectFromBus(m_name);
        if (m_previous.isEmpty())
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        else
            qputenv("DBUS_SESSION_BUS_ADDRESS", m_previous);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    const QString& address() const { return m_address; }
    std::unique_ptr<QDBusConnection> connection;

  private:
    QProcess m_daemon;
    QString m_address;
    QString m_name;
    QByteArray m_previous;
};

// Runs a program to its end while this thread's event loop turns (the window answers on it).
struct Finished {
    int exitCode = -1;
    std::string out, err;
};
inline Finished runToEnd(const QString& program, const QStringList& arguments,
                         const QString& workingFolder = {}) {
    QProcess process;
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 30000))
        << program.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

} // namespace q905::testing
