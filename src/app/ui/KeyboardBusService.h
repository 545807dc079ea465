// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window on the session bus: org.freedesktop.Application (a later start, or the desktop,
// brings the window to the front) and io.github.q905.Keyboard1, q905ctl's commands and typed
// calls for any other client. Calls run on the window's thread, one at a time, in the order they
// came: each waits for a start-up or plug-in read to end, runs against what the keyboard holds as
// the window knows it, and its change goes to the keyboard through the window's session; the
// window takes it in and the call is answered when that apply has ended. The window's event loop
// never waits for a call.

#include "app/KeyboardSession.h"
#include "cli/WindowHandOff.h"
#include "platform/qt/ActivationToken.h"
#include "platform/qt/PostedCalls.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace q905 {

class KeyboardBusService final : public QDBusVirtualObject {
    Q_OBJECT
  public:
    // What the service asks of the window, always on the window's thread.
    struct Window {
        std::function<void(const ActivationToken&)> activate;
        // A message refuses an edit: a dialog that edits the same state is open.
        std::function<std::string()> editRefusal;
        // A start-up or plug-in read is under way: calls wait for it.
        std::function<bool()> reading;
        std::function<bool()> connected;
        // A call's result was taken in.
        std::function<void()> changed;
    };
    // keyboard: the lock file that names the window's keyboard; none when no other process can
    // reach it (Keyboard1's calls are then refused).
    KeyboardBusService(QDBusConnection connection, std::optional<std::filesystem::path> keyboard,
                       std::filesystem::path dataFolder, KeyboardSession& session, HostState& host,
                       Window window, QObject* parent = nullptr);
    ~KeyboardBusService() override;

    // The object is on the bus (the name is claimed separately, see claimBusName).
    bool exported() const { return m_exported; }
    // The window's read state moved: a call waiting for a read looks again.
    void readingChanged();
    // No more calls are taken; those waiting are answered as not run. The running one is
    // answered by finishRunning().
    void shutdown();
    // After the session has ended: the running call's report, already posted, is taken in and
    // the call answered.
    void finishRunning();

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    enum class Form { Run, Text, State };
    struct Call {
        QDBusMessage message;
        std::vector<std::string> arguments;
        Form form = Form::Text;
    };
    bool handleApplication(const QDBusMessage& message);
    bool handleKeyboard(const QDBusMessage& message);
    // Runs the calls waiting, unless one is running or a read is under way.
    void serve();
    void run(const Call& call);
    void applyChange(const Call& call, CommandAnswer ran, CommandResult change);
    void factoryReset(const Call& call);
    void answer(const Call& call, const CommandAnswer& ran, bool edit);

    // Where a call's command starts: what the keyboard holds as the window knows it.
    void startingPoint(HostState& host);

    QDBusConnection m_connection;
    std::optional<std::filesystem::path> m_keyboard;
    std::filesystem::path m_dataFolder;
    KeyboardSession& m_session;
    HostState& m_host;
    Window m_window;
    bool m_exported = false;

    std::deque<Call> m_calls;
    bool m_running = false;
    // Calls that arrive on Qt's D-Bus thread and the session's reports come here.
    PostedCalls m_posted;
    bool m_closing = false;
};

// Claims the program's name on connection; false when another process has it.
bool claimBusName(QDBusConnection& connection);
// Asks the program that owns the name to show its window with token; false when none answered.
bool activateRunningInstance(QDBusConnection& connection, const ActivationToken& token);

} // namespace q905
