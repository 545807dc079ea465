// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/WindowCommandServer.h"

#include "app/WindowActions.h"
#include "cli/WindowHandOff.h"
#include "keys/CommitAssignment.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <future>

#include <unistd.h>

namespace q905 {

WindowCommandServer::WindowCommandServer(const std::filesystem::path& socket,
                                         std::filesystem::path dataFolder,
                                         KeyboardSession& session, HostState& host,
                                         std::function<void()> changed,
                                         std::function<std::string()> refusal, QObject* parent)
    : QObject(parent), m_listener(std::make_unique<CommandListener>(socket)),
      m_dataFolder(std::move(dataFolder)), m_session(session), m_host(host),
      m_changed(std::move(changed)), m_refusal(std::move(refusal)) {
    if (!m_listener->listening())
        return;
    m_notifier = new QSocketNotifier(m_listener->fd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WindowCommandServer::acceptOne);
}

WindowCommandServer::~WindowCommandServer() {
    shutdown();
}

bool WindowCommandServer::listening() const {
    return m_listener && m_listener->listening();
}

void WindowCommandServer::acceptOne() {
    const int connection = m_listener->accept();
    if (connection < 0 || m_closing) {
        if (connection >= 0)
            ::close(connection);
        return;
    }
    ++m_running;
    m_commands.emplace_back([this, connection] {
        serve(connection);
        ::close(connection);
        --m_running;
    });
}

void WindowCommandServer::serve(int connection) {
    const std::optional<HandedCommand> command = readCommand(connection);
    if (!command)
        return;
    // A q905ctl that went away before the answer has nobody to tell: the change stands, as
    // it would had it run by itself.
    if (!sameDataFolder(command->dataFolder, m_dataFolder)) {
        (void)writeAnswer(connection, CommandAnswer{});
        return;
    }
    std::string refused;
    onWindowThread([this, &refused] { refused = m_refusal(); });
    if (!refused.empty())
        (void)writeAnswer(connection, CommandAnswer{1, {}, "q905ctl: " + refused + "\n"});
    else
        (void)writeAnswer(connection, runHandedCommand(*command, *this));
}

void WindowCommandServer::onWindowThread(const std::function<void()>& call) {
    // Answered even while the window closes: shutdown() serves these calls until the last
    // command has ended.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    QMetaObject::invokeMethod(
        this,
        [call, done] {
            call();
            done->set_value();
        },
        Qt::QueuedConnection);
    finished.wait();
}

void WindowCommandServer::startingPoint(HostState& host) {
    onWindowThread([this, &host] {
        const SettingsImage& applied = m_host.settings().appliedSettings();
        host.takeKeyboardImages(applied, applied, m_host.settings().deviceVersion());
        host.keys() = m_host.keys();
        host.keys().table() = m_host.keys().appliedTable();
        recomputeAssignedFlags(host.keys(), host.image());
        host.macros() = m_host.macros();
    });
}

Status WindowCommandServer::takeResult(const CommandResult& result) {
    Status saved = Status::success();
    onWindowThread([this, &result, &saved] {
        saved = takeCommandResult(m_host, result);
        m_changed();
    });
    return saved;
}

void WindowCommandServer::shutdown() {
    m_closing = true;
    if (m_notifier)
        m_notifier->setEnabled(false);
    // A running command may be waiting for a call on this thread: answer it until it ends.
    while (m_running > 0) {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (std::thread& command : m_commands)
        command.join();
    m_commands.clear();
    m_listener.reset();
}

} // namespace q905
