// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/KeyboardBusService.h"

#include "app/ui/KeyboardBusInterface.h"
#include "cli/Command.h"
#include "keys/CommitAssignment.h"
#include "platform/KeyboardBus.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <cmath>
#include <memory>
#include <sstream>

namespace q905 {

namespace {

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

// What q905ctl prints after "q905ctl: ", without that and the last line end.
QString errorText(const std::string& err) {
    QString text = QString::fromStdString(err).trimmed();
    const QString prefix = QStringLiteral("q905ctl: ");
    if (text.startsWith(prefix))
        text.remove(0, prefix.size());
    return text;
}

// JSON numbers are doubles; whole ones go out as integers, as a client expects them.
QVariant withIntegers(const QVariant& value) {
    if (value.typeId() == QMetaType::Double) {
        const double number = value.toDouble();
        if (std::trunc(number) == number && std::abs(number) < 9.0e15)
            return QVariant::fromValue(qint64(number));
        return value;
    }
    if (value.typeId() == QMetaType::QVariantMap) {
        QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            *it = withIntegers(*it);
        return map;
    }
    if (value.typeId() == QMetaType::QVariantList) {
        QVariantList list = value.toList();
        for (QVariant& item : list)
            item = withIntegers(item);
        return list;
    }
    return value;
}

std::string fieldValue(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? "on" : "off";
    return value.toString().toStdString();
}

ActivationToken tokenOf(const QVariantMap& platformData) {
    ActivationToken token;
    const QByteArray activation =
        platformData.value(QStringLiteral("activation-token")).toString().toUtf8();
    const QByteArray startup =
        platformData.value(QStringLiteral("desktop-startup-id")).toString().toUtf8();
    if (isAcceptableToken(activation))
        token.xdgActivationToken = activation;
    if (isAcceptableToken(startup))
        token.startupId = startup;
    return token;
}

} // namespace

KeyboardBusService::KeyboardBusService(QDBusConnection connection,
                                       std::optional<std::filesystem::path> keyboard,
                                       std::filesystem::path dataFolder, KeyboardSession& session,
                                       HostState& host, Window window, QObject* parent)
    : QDBusVirtualObject(parent), m_connection(std::move(connection)),
      m_keyboard(std::move(keyboard)), m_dataFolder(std::move(dataFolder)), m_session(session),
      m_host(host), m_window(std::move(window)) {
    m_exported = m_connection.isConnected() &&
                 m_connection.registerVirtualObject(latin1(bus::kObjectPath), this);
}

KeyboardBusService::~KeyboardBusService() {
    shutdown();
}

QString KeyboardBusService::introspect(const QString&) const {
    // The interfaces as the XML kept with the package describes them.
    const QString xml = QString::fromUtf8(kKeyboardBusIntrospection);
    const qsizetype begin = xml.indexOf(QLatin1String("<node>"));
    const qsizetype end = xml.lastIndexOf(QLatin1String("</node>"));
    if (begin < 0 || end < begin)
        return {};
    return xml.mid(begin + 6, end - begin - 6);
}

bool KeyboardBusService::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    const bool ours = message.interface() == latin1(bus::kApplicationInterface) ||
                      message.interface() == latin1(bus::kKeyboardInterface);
    // The window's state is the window thread's: a call read elsewhere is taken there.
    if (ours && QThread::currentThread() != thread()) {
        m_posted.post([this, message] { handleMessage(message, m_connection); });
        return true;
    }
    if (message.interface() == latin1(bus::kApplicationInterface))
        return handleApplication(message);
    if (message.interface() == latin1(bus::kKeyboardInterface))
        return handleKeyboard(message);
    return false; // Introspectable, Peer, Properties: Qt's own
}

bool KeyboardBusService::handleApplication(const QDBusMessage& message) {
    const QString member = message.member();
    const QList<QVariant> args = message.arguments();
    QVariantMap platformData;
    if (member == QLatin1String("Activate") && message.signature() == QLatin1String("a{sv}")) {
        platformData = qdbus_cast<QVariantMap>(args.at(0));
    } else if (member == QLatin1String("Open") && message.signature() == QLatin1String("asa{sv}")) {
        // The window opens no files: it comes to the front.
        platformData = qdbus_cast<QVariantMap>(args.at(1));
    } else if (member == QLatin1String("ActivateAction") &&
               message.signature() == QLatin1String("sava{sv}")) {
        m_connection.send(message.createErrorReply(
            QDBusError::NotSupported,
            QStringLiteral("q905 has no action %1").arg(args.at(0).toString())));
        return true;
    } else {
        m_connection.send(message.createErrorReply(
            QDBusError::InvalidArgs,
            QStringLiteral("no method %1 with signature %2").arg(member, message.signature())));
        return true;
    }
    if (m_window.activate)
        m_window.activate(tokenOf(platformData));
    m_connection.send(message.createReply());
    return true;
}

bool KeyboardBusService::handleKeyboard(const QDBusMessage& message) {
    const QString member = message.member();
    const QString signature = message.signature();
    const QList<QVariant> args = message.arguments();
    const auto text = [&args](int at) { return args.at(at).toString().toStdString(); };
    const auto number = [&args](int at) { return std::to_string(args.at(at).toUInt()); };
    const auto list = [&args](int at) {
        std::vector<std::string> words;
        for (const QString& word : qdbus_cast<QStringList>(args.at(at)))
            words.push_back(word.toStdString());
        return words;
    };
    const auto refuse = [&](const char* error, const QString& why) {
        m_connection.send(message.createErrorReply(latin1(error), why));
        return true;
    };

    Call call{message, {}, Form::Text};
    std::vector<std::string>& words = call.arguments;
    const auto command = [&words](std::initializer_list<std::string> these) {
        words.push_back("--");
        words.insert(words.end(), these);
    };
    const auto is = [&](const char* name, const char* types) {
        return member == QLatin1String(name) && signature == QLatin1String(types);
    };
    if (is("Run", "asa{sv}")) {
        call.form = Form::Run;
        for (const QString& word : qdbus_cast<QStringList>(args.at(0)))
            words.push_back(word.toStdString());
        const QVariantMap context = qdbus_cast<QVariantMap>(args.at(1));
        const std::string keyboard =
            context.value(QStringLiteral("keyboard")).toString().toStdString();
        const std::filesystem::path folder =
            context.value(QStringLiteral("data-folder")).toString().toStdString();
        // Another keyboard, or another data folder: q905ctl runs that command by itself.
        if (!m_keyboard || keyboard != m_keyboard->string() || folder.empty() ||
            !sameDataFolder(folder, m_dataFolder))
            return refuse(bus::kErrorOtherKeyboard,
                          QStringLiteral("the q905 window uses another keyboard or data folder"));
    } else if (!m_keyboard) {
        return refuse(bus::kErrorNotConnected,
                      QStringLiteral("the q905 window uses an emulated keyboard without a file"));
    } else if (is("GetState", "")) {
        call.form = Form::State;
        words.push_back("--json");
        command({"dump"});
    } else if (is("Set", "a{sv}")) {
        command({"set"});
        const QVariantMap fields = qdbus_cast<QVariantMap>(args.at(0));
        for (auto it = fields.begin(); it != fields.end(); ++it)
            words.push_back(it.key().toStdString() + "=" + fieldValue(it.value()));
    } else if (is("AssignKey", "sas")) {
        command({"assign", text(0)});
        for (const std::string& word : list(1))
            words.push_back(word);
    } else if (is("DisableKey", "s")) {
        command({"disable", text(0)});
    } else if (is("EnableKey", "s")) {
        command({"enable", text(0)});
    } else if (is("ListMacros", "")) {
        command({"macro", "list"});
    } else if (is("ShowMacro", "u")) {
        command({"macro", "show", number(0)});
    } else if (is("NewMacro", "sas")) {
        command({"macro", "new", text(0)});
        for (const std::string& word : list(1))
            words.push_back(word);
    } else if (is("SetMacro", "uas")) {
        command({"macro", "set", number(0)});
        for (const std::string& word : list(1))
            words.push_back(word);
    } else if (is("RenameMacro", "us")) {
        command({"macro", "rename", number(0), text(1)});
    } else if (is("SetMacroLoop", "uu")) {
        command({"macro", "loop", number(0), number(1)});
    } else if (is("DeleteMacro", "u")) {
        command({"macro", "delete", number(0)});
    } else if (is("ExportProfile", "s") || is("ImportProfile", "sb")) {
        // The window's working folder is not the caller's.
        if (!std::filesystem::path(text(0)).is_absolute())
            return refuse(bus::kErrorRefused,
                          QStringLiteral("the profile file needs an absolute path"));
        const bool import = member == QLatin1String("ImportProfile");
        if (import && args.at(1).toBool())
            words.push_back("--accept-launch-actions");
        command({"profile", import ? "import" : "export", text(0)});
    } else if (is("RenameProfile", "s")) {
        command({"profile", "rename", text(0)});
    } else if (is("ShowProfile", "")) {
        command({"profile", "show"});
    } else if (is("FactoryReset", "")) {
        command({"reset"});
    } else {
        return refuse("org.freedesktop.DBus.Error.InvalidArgs",
                      QStringLiteral("no method %1 with signature %2").arg(member, signature));
    }
    message.setDelayedReply(true);
    if (m_closing)
        return refuse(bus::kErrorFailed,
                      QStringLiteral("the q905 window is closing; nothing was run"));
    m_calls.push_back(std::move(call));
    serve();
    return true;
}

void KeyboardBusService::serve() {
    // Never answered from a state the keyboard has not given yet.
    while (!m_running && !m_closing && !m_calls.empty() &&
           !(m_window.reading && m_window.reading())) {
        const Call call = std::move(m_calls.front());
        m_calls.pop_front();
        run(call);
    }
}

void KeyboardBusService::readingChanged() {
    // Told from inside the window's handling of a read: the calls run once it has taken the
    // read in.
    QMetaObject::invokeMethod(
        this, [this] { serve(); }, Qt::QueuedConnection);
}

void KeyboardBusService::run(const Call& call) {
    const bool edit = !onlyReads(call.arguments);
    if (edit && m_window.editRefusal)
        if (const std::string refused = m_window.editRefusal(); !refused.empty()) {
            m_connection.send(call.message.createErrorReply(latin1(bus::kErrorBusy),
                                                            QString::fromStdString(refused)));
            return;
        }
    if (edit && m_window.connected && !m_window.connected()) {
        m_connection.send(call.message.createErrorReply(
            latin1(bus::kErrorNotConnected), QStringLiteral("no keyboard is connected")));
        return;
    }
    WindowCommand command{
        m_dataFolder, [this](HostState& host) { startingPoint(host); }, {}, false};
    CommandAnswer ran = runHandedCommand(call.arguments, command);
    if (ran.exitCode != 0) {
        answer(call, ran, false);
        return;
    }
    if (command.change)
        applyChange(call, std::move(ran), std::move(*command.change));
    else if (command.reset)
        factoryReset(call);
    else
        answer(call, ran, false);
}

void KeyboardBusService::applyChange(const Call& call, CommandAnswer ran, CommandResult change) {
    // Only the command's change goes out: it started from the applied image, so the bytes where
    // it differs from that are the ones it edited. The window's own pending edits stay pending.
    m_running = true;
    auto edited = std::make_shared<CommandResult>(std::move(change));
    const SettingsImage& applied = m_host.settings().appliedSettings();
    m_session.apply(
        edited->device, applied, [this, call, ran = std::move(ran), edited](ApplyReport report) {
            m_posted.post([this, call, ran, edited, report = std::move(report)] {
                m_running = false;
                CommandAnswer answered = ran;
                const Status saved = m_host.takeCommandEdit(*edited, report);
                if (m_window.changed)
                    m_window.changed();
                if (report.result != ApplyResult::Applied &&
                    report.result != ApplyResult::NothingToApply)
                    // The change stays pending in the window.
                    answered = {exitcode::kFailure,
                                {},
                                std::string("q905ctl: the keyboard did not take "
                                            "the change: ") +
                                    describe(report.result) + "\n"};
                else if (!saved)
                    answered = {exitcode::kFailure, {}, "q905ctl: " + saved.message() + "\n"};
                answer(call, answered, true);
                serve();
            });
        });
}

void KeyboardBusService::factoryReset(const Call& call) {
    Result<PreparedSave> save = m_host.prepareSave();
    if (!save) {
        const auto outcome = FactoryResetOutcome::notPrepared(save.status());
        std::ostringstream out, err;
        const int code = reportFactoryReset(outcome, outcome.read, m_host, out, err);
        answer(call, {code, out.str(), err.str()}, false);
        return;
    }
    m_running = true;
    auto prepared = std::make_shared<PreparedSave>(std::move(*save));
    m_session.factoryReset([this, call, prepared](ResetReport report) {
        m_posted.post([this, call, prepared, report = std::move(report)] {
            m_running = false;
            const FactoryResetOutcome outcome =
                m_host.finishFactoryReset(std::move(*prepared), report);
            if (m_window.changed)
                m_window.changed();
            std::ostringstream out, err;
            const int code = reportFactoryReset(outcome, outcome.read, m_host, out, err);
            answer(call, {code, out.str(), err.str()}, outcome.wasReset());
            serve();
        });
    });
}

void KeyboardBusService::answer(const Call& call, const CommandAnswer& ran, bool edited) {
    if (edited && ran.exitCode == 0)
        m_connection.send(QDBusMessage::createSignal(
            latin1(bus::kObjectPath), latin1(bus::kKeyboardInterface), QStringLiteral("Changed")));
    if (call.form == Form::Run) {
        m_connection.send(call.message.createReply(QList<QVariant>{
            ran.exitCode, QString::fromStdString(ran.out), QString::fromStdString(ran.err)}));
        return;
    }
    if (ran.exitCode != 0) {
        m_connection.send(call.message.createErrorReply(
            latin1(ran.exitCode == 2 ? bus::kErrorRefused : bus::kErrorFailed),
            errorText(ran.err)));
        return;
    }
    if (call.form == Form::State) {
        const QJsonDocument state = QJsonDocument::fromJson(QByteArray::fromStdString(ran.out));
        m_connection.send(call.message.createReply(
            QVariant(withIntegers(state.object().toVariantMap()).toMap())));
        return;
    }
    m_connection.send(call.message.createReply(QString::fromStdString(ran.out)));
}

void KeyboardBusService::startingPoint(HostState& host) {
    const SettingsImage& applied = m_host.settings().appliedSettings();
    host.takeKeyboardImages(applied, applied, m_host.settings().deviceVersion());
    host.keys() = m_host.keys();
    host.keys().table() = m_host.keys().appliedTable();
    recomputeAssignedFlags(host.keys(), host.image());
    host.macros() = m_host.macros();
}

void KeyboardBusService::shutdown() {
    if (m_exported) {
        m_connection.unregisterObject(latin1(bus::kObjectPath));
        m_exported = false;
    }
    m_closing = true;
    std::deque<Call> left;
    left.swap(m_calls);
    for (const Call& call : left)
        m_connection.send(call.message.createErrorReply(
            latin1(bus::kErrorFailed), QStringLiteral("the q905 window closed; nothing was run")));
}

void KeyboardBusService::finishRunning() {
    QCoreApplication::sendPostedEvents(&m_posted, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

bool claimBusName(QDBusConnection& connection) {
    QDBusConnectionInterface* names = connection.interface();
    if (!names)
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = names->registerService(
        latin1(bus::kServiceName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

bool activateRunningInstance(QDBusConnection& connection, const ActivationToken& token) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        latin1(bus::kServiceName), latin1(bus::kObjectPath), latin1(bus::kApplicationInterface),
        QStringLiteral("Activate"));
    message.setAutoStartService(false);
    QVariantMap platformData;
    if (!token.xdgActivationToken.isEmpty())
        platformData.insert(QStringLiteral("activation-token"),
                            QString::fromUtf8(token.xdgActivationToken));
    if (!token.startupId.isEmpty())
        platformData.insert(QStringLiteral("desktop-startup-id"),
                            QString::fromUtf8(token.startupId));
    message << platformData;
    const QDBusMessage reply = connection.call(message, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace q905
