// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeyboardBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>

#include <memory>

namespace q905::bus {

namespace {

// A command waits for the keyboard's transfers and, behind others, for theirs.
constexpr int kCallTimeoutMs = 10 * 60 * 1000;

// Without an address and without the runtime folder's socket there is no session bus: a
// console login. libdbus would otherwise try to launch one.
bool sessionBusKnown() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

std::string messageOf(const QDBusMessage& reply) {
    return "q905ctl: " + reply.errorMessage().toStdString() + "\n";
}

} // namespace

WindowAnswer callWindow(const WindowCall& call) {
    if (!sessionBusKnown())
        return {};
    // Qt's D-Bus connection wants an application object for its thread's hand-overs.
    std::unique_ptr<QCoreApplication> application;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "q905ctl";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QDBusConnection connection = QDBusConnection::sessionBus();
    QDBusConnectionInterface* names = connection.interface();
    if (!connection.isConnected() || !names ||
        !names->isServiceRegistered(QString::fromLatin1(kServiceName)).value())
        return {};
    QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(kServiceName), QString::fromLatin1(kObjectPath),
        QString::fromLatin1(kKeyboardInterface), QStringLiteral("Run"));
    // A window that has just closed must not be started again for a command.
    message.setAutoStartService(false);
    QStringList arguments;
    for (const std::string& argument : call.arguments)
        arguments << QString::fromStdString(argument);
    const QVariantMap context{
        {QStringLiteral("data-folder"), QString::fromStdString(call.dataFolder)},
        {QStringLiteral("keyboard"), QString::fromStdString(call.keyboard)}};
    message << arguments << context;
    const QDBusMessage reply = connection.call(message, QDBus::Block, kCallTimeoutMs);

    WindowAnswer answer;
    if (reply.type() == QDBusMessage::ReplyMessage) {
        const QList<QVariant> values = reply.arguments();
        if (values.size() != 3) {
            answer.outcome = WindowAnswer::Outcome::Unknown;
            return answer;
        }
        answer.outcome = WindowAnswer::Outcome::Answered;
        answer.exitCode = values[0].toInt();
        answer.out = values[1].toString().toStdString();
        answer.err = values[2].toString().toStdString();
        return answer;
    }
    const QString error = reply.errorName();
    // Nothing reached a window that would run it: q905ctl runs the command itself.
    if (error == QLatin1String(kErrorOtherKeyboard) ||
        error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
        error == QLatin1String("org.freedesktop.DBus.Error.UnknownObject") ||
        error == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
        return {};
    if (error.startsWith(QLatin1String("io.github.q905.Error."))) {
        answer.outcome = WindowAnswer::Outcome::Answered;
        answer.exitCode = error == QLatin1String(kErrorRefused) ? 2 : 1;
        answer.err = messageOf(reply);
        return answer;
    }
    // No reply, a timeout, a disconnection: the window took the call and went.
    answer.outcome = WindowAnswer::Outcome::Unknown;
    answer.err = "q905ctl: the q905 window went away during the command (" + error.toStdString() +
                 "); whether the change was made is unknown. Run \"q905ctl dump\" to see what "
                 "the keyboard holds.\n";
    return answer;
}

} // namespace q905::bus
