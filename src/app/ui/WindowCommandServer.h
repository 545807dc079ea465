// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's end of q905ctl's hand-off: it listens beside the keyboard's lock and runs each
// command handed to it on a thread of its own, against a copy of what the keyboard holds and
// through the window's keyboard session; the window takes the result in on its own thread.

#include "app/AttachedWindow.h"
#include "platform/CommandChannel.h"

#include <QObject>

#include <atomic>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <thread>

class QSocketNotifier;

namespace q905 {

class WindowCommandServer final : public QObject, private AttachedWindow {
    Q_OBJECT
  public:
    // changed: called on this object's thread after a command's result was taken in.
    // refusal: asked on this object's thread before a command runs; a message refuses it (a
    // dialog that edits the same state is open and would write over the command's change).
    WindowCommandServer(const std::filesystem::path& socket, std::filesystem::path dataFolder,
                        KeyboardSession& session, HostState& host,
                        std::function<void()> changed, std::function<std::string()> refusal,
                        QObject* parent = nullptr);
    // Only after shutdown().
    ~WindowCommandServer() override;

    bool listening() const;
    // No more commands are taken; the running ones end (their calls to the window still
    // answered meanwhile) before this returns.
    void shutdown();

  private:
    void acceptOne();
    void serve(int connection);
    // Runs call on this object's thread and waits for it.
    void onWindowThread(const std::function<void()>& call);

    // AttachedWindow, called on a command's thread.
    KeyboardSession& session() override { return m_session; }
    void startingPoint(HostState& host) override;
    Status takeResult(const CommandResult& result) override;

    std::unique_ptr<CommandListener> m_listener;
    QSocketNotifier* m_notifier = nullptr;
    std::filesystem::path m_dataFolder;
    KeyboardSession& m_session;
    HostState& m_host;
    std::function<void()> m_changed;
    std::function<std::string()> m_refusal;
    std::list<std::thread> m_commands;
    std::atomic<int> m_running{0};
    std::atomic<bool> m_closing{false};
};

} // namespace q905
