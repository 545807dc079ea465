// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thread that receives the keyboard's own reports: lighting values changed with the
// keyboard's hot keys, acknowledgements, launch requests. It never waits for the window: the
// window may itself be waiting for an acknowledgement this thread has to deliver.

#include "device/AckFlag.h"
#include "device/HidBackend.h"
#include "device/Settings.h"
#include "device/Trace.h"

#include <atomic>
#include <memory>
#include <thread>

namespace q905 {

// What the reader hands on. Called on the reader thread: implementations post, never block.
class NotificationEvents {
  public:
    virtual ~NotificationEvents() = default;
    // A lighting field (2..6) changed on the keyboard; storedValue is what both images now hold.
    virtual void lightingChanged(std::uint8_t field, std::uint8_t storedValue) = 0;
    virtual void launchRequested(std::uint8_t keyCode) = 0;
    // The notification interface went away (unplugged); the reader has ended.
    virtual void readerEnded() {}
};

class NotificationReader {
  public:
    NotificationReader(Settings& settings, AckFlag& ack, Trace* trace = nullptr);
    ~NotificationReader();
    NotificationReader(const NotificationReader&) = delete;
    NotificationReader& operator=(const NotificationReader&) = delete;

    void start(std::shared_ptr<NotificationChannel> channel, NotificationEvents* events);
    // Sets the stop flag, wakes the blocked read and joins the thread.
    void stop();
    bool isRunning() const { return m_running.load(); }

    // Handles one report as the thread does; public so the dispatch can be tested directly.
    void dispatch(const NotificationReport& report);

  private:
    void run();

    Settings& m_settings;
    AckFlag& m_ack;
    Trace* m_trace;
    std::shared_ptr<NotificationChannel> m_channel;
    NotificationEvents* m_events = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stopFlag{false};
    std::atomic<bool> m_running{false};
};

} // namespace q905
