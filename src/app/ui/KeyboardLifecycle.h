// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's side of the keyboard session: it asks the session for its transactions, takes
// the waits of arrival and removal on timers, keeps the notification reader running, and hands
// every report to the window's thread as a signal. The window only edits, asks and shows.

#include "app/KeyboardSession.h"
#include "app/ui/HotPlugSource.h"
#include "platform/qt/PostedCalls.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

namespace q905 {

class Delays;

class KeyboardLifecycle final : public QObject {
    Q_OBJECT
  public:
    KeyboardLifecycle(HidBackend& backend, Clock& clock, Trace* trace, Delays& delays,
                      std::optional<std::filesystem::path> lockFile, QObject* parent = nullptr);
    ~KeyboardLifecycle() override;

    // What the session is doing for the window, for the busy cursor and the window's note.
    enum class Activity { None, Reading, Applying, Resetting };

    // Start-up: opens the keyboard, waiting for that alone; when it opened, the start-up read
    // over base follows on the session's thread (readFinished).
    OpenReport openAtStart(const KeyboardImages& base);
    // A plug-in read is made over what the window holds: it says what that is when asked.
    void setReadBase(std::function<KeyboardImages()> base) { m_readBase = std::move(base); }
    // The window watches this source for the keyboard coming and going.
    void adoptHotPlugSource(std::unique_ptr<HotPlugSource> source);

    // The window's edits: where edited differs from base, its copy of what the keyboard holds.
    void apply(const SettingsImage& edited, const SettingsImage& base);
    void factoryReset();

    // Ends the running transaction at its next safe point, waits for the session's thread and
    // closes the keyboard. The reports of what ran are still delivered, at once, by this call.
    void shutdown();

    // For the bus calls, whose changes go to the keyboard beside the window's own.
    KeyboardSession& session() { return *m_session; }
    bool connected() const { return m_connected; }
    bool readerRunning() const { return m_readerRunning; }
    Activity activity() const {
        return m_activities.empty() ? Activity::None : m_activities.front();
    }
    bool busy() const { return !m_activities.empty(); }

  public slots:
    void deviceArrived();
    void deviceRemoved();

  signals:
    void readFinished(const q905::ReadReport& report);
    void applyFinished(const q905::ApplyReport& report);
    void resetFinished(const q905::ResetReport& report);
    // A lighting field (2..6) changed on the keyboard; storedValue is what both images hold.
    void lightingChanged(std::uint8_t field, std::uint8_t storedValue);
    void launchRequested(std::uint8_t keyCode);
    // The keyboard went away and its handles are closed.
    void disconnected();
    void activityChanged();

  private:
    // The reader's reports, called on its thread and posted on to this object's.
    class Events final : public NotificationEvents {
      public:
        explicit Events(KeyboardLifecycle* owner) : m_owner(owner) {}
        void lightingChanged(std::uint8_t field, std::uint8_t storedValue) override;
        void launchRequested(std::uint8_t keyCode) override;
        // The notification interface went away: the same as a removal.
        void readerEnded() override;

      private:
        KeyboardLifecycle* m_owner;
    };

    // Runs on this object's thread after the calls queued before it; never once it is gone.
    template <class Call> void post(Call call);
    // The session's callback for a transaction begun with begin(): on the window's thread the
    // activity ends and the report goes out with the signal.
    template <class Report> auto finishWith(void (KeyboardLifecycle::*signal)(const Report&));
    void begin(Activity activity);
    void end();
    void startReaderOrRetry(std::chrono::milliseconds backoff);
    // The command interface opened but the notification one did not: without it no apply is
    // acknowledged, so keep trying, less often each time, while this connection lasts.
    void retryReaderAfter(std::chrono::milliseconds backoff);
    void arrivalAfterWait();
    void closeAfterRemoval(std::uint64_t generation);

    Delays& m_delays;
    PostedCalls m_posted; // outlives the session, whose thread posts into it
    Events m_events{this};
    std::unique_ptr<KeyboardSession> m_session;
    std::unique_ptr<HotPlugSource> m_hotPlug;
    std::deque<Activity> m_activities;
    std::function<KeyboardImages()> m_readBase;
    bool m_connected = false;
    bool m_readerRunning = false;
    bool m_shutDown = false;
};

} // namespace q905
