// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window on the session bus: org.freedesktop.Application (a later start, or the desktop,
// brings the window to the front) and io.github.q905.Keyboard1, q905ctl's commands and typed
// calls for any other client. Calls are taken on the window's thread and run one at a time, in
// the order they came, by one worker of this object's: each starts from what the keyboard holds
// as the window knows it once the call before it has been taken in, waits for a start-up or
// plug-in read to end, and is answered when its apply has ended. The window's event loop never
// waits for a call.

#include "app/AttachedWindow.h"
#include "platform/qt/ActivationToken.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace q905 {

class KeyboardBusService final : public QDBusVirtualObject, private AttachedWindow {
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
    // No more calls are taken; the running one ends (its calls to the window still answered),
    // those waiting are answered as not run.
    void shutdown();

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
    void serve();
    void answer(const Call& call);
    void waitForRead();
    void onWindowThread(const std::function<void()>& call);

    // AttachedWindow, called on the worker.
    KeyboardSession& session() override { return m_session; }
    std::filesystem::path dataFolder() const override { return m_dataFolder; }
    void startingPoint(HostState& host) override;
    Status takeResult(const CommandResult& result) override;

    QDBusConnection m_connection;
    std::optional<std::filesystem::path> m_keyboard;
    std::filesystem::path m_dataFolder;
    KeyboardSession& m_session;
    HostState& m_host;
    Window m_window;
    bool m_exported = false;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Call> m_calls;
    std::uint64_t m_readChanges = 0;
    bool m_closing = false;
    bool m_workerDone = false;
    std::thread m_worker;
};

// Claims the program's name on connection; false when another process has it.
bool claimBusName(QDBusConnection& connection);
// Asks the program that owns the name to show its window with token; false when none answered.
bool activateRunningInstance(QDBusConnection& connection, const ActivationToken& token);

} // namespace q905
