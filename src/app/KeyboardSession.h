// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one owner of everything that talks to the keyboard: the link with its two handles, the
// acknowledgement flag, the notification reader, and the keyboard's side of the settings image
// (what was read, what was applied). Its transactions run on a thread of its own, one at a
// time, in the order asked. Callers never share its state: a transaction takes values and
// hands back values (a report), either to a callback called on the session's thread (the
// window posts it on) or, for the command line, as the return value of a call that waits.

#include "app/NotificationReader.h"
#include "device/AckFlag.h"
#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"
#include "device/HidLink.h"
#include "device/Settings.h"
#include "platform/KeyboardLock.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace q905 {

// The keyboard's side of the image after a transaction: DeviceSettings as the keyboard left it
// and AppliedSettings, what it is believed to hold.
struct KeyboardImages {
    SettingsImage device;
    SettingsImage applied;
    DeviceVersion version;
    // Only in a read's base: the game mode the host last applied, when it knows one, which the
    // read puts back after its opening command (DeviceReader.h).
    GameModeToRestore gameMode = std::nullopt;
};

struct OpenReport {
    bool opened = false;
    bool keyboardSeen = false; // present but not opened: most likely a permission problem
    bool readerStarted = false;
    std::string error;
};

enum class ReadKind {
    StartUp, // every block and the version, then a snapshot
    PlugIn,  // every block, the per-key pages once more and the version; no snapshot
};

struct ReadReport {
    ReadKind kind = ReadKind::StartUp;
    // Whether the link was open for it: a read asked for after the keyboard went is not made.
    bool connected = false;
    ReadResult result = ReadResult::TransferFailed;
    KeyboardImages images;
};

struct ApplyReport {
    ApplyResult result = ApplyResult::NotConnected;
    KeyboardImages images;
};

struct ResetReport {
    ApplyResult reset = ApplyResult::NotConnected;
    ReadResult read = ReadResult::TransferFailed; // the read back, when the reset went out
    KeyboardImages images;
};

class KeyboardSession {
  public:
    // events receives the reader's reports on the reader's thread (implementations post, never
    // block); null when nobody listens.
    // lockFile: the keyboard's advisory lock, held for each transaction that transfers, so
    // another process's (q905ctl's) transfers never interleave with these; none when the
    // caller holds it for its whole run, or nobody else can reach the keyboard.
    KeyboardSession(HidBackend& backend, Clock& clock, Trace* trace,
                    NotificationEvents* events = nullptr,
                    std::optional<std::filesystem::path> lockFile = {});
    // Ends the running transaction as stop() does, drops those not yet begun, stops the
    // reader and closes the handles.
    ~KeyboardSession();
    KeyboardSession(const KeyboardSession&) = delete;
    KeyboardSession& operator=(const KeyboardSession&) = delete;

    // Asks the running apply to end at its next group, closing frames sent, and drops the
    // transactions not yet begun; later requests are not run. Returns at once.
    void stop();

    // Each transaction in two forms: one that waits for its report, for callers without an
    // event loop, and one that hands the report to done on the session's thread.

    // The command handle, then the notification handle and its reader.
    OpenReport open();
    // The notification handle and its reader, unless running; false when it could not open.
    void startReader(std::function<void(bool)> done);
    // A read of every block over base: the bytes the keyboard does not hold (kept in
    // keymap.bin only) stay the caller's. The window asks for the lighting parameters once
    // more after it: the keyboard may have moved them with its hot keys during the read.
    ReadReport read(ReadKind kind, const KeyboardImages& base = {});
    void read(ReadKind kind, const KeyboardImages& base, bool lightingAgain,
              std::function<void(ReadReport)> done);
    // The caller's edits go out: the bytes where edited differs from base, the caller's copy of
    // AppliedSettings, are taken into DeviceSettings; then the blocks that differ from
    // AppliedSettings are sent. What others changed meanwhile (another command, the keyboard's
    // hot keys) is never sent back over.
    ApplyReport apply(const SettingsImage& edited, const SettingsImage& base);
    void apply(const SettingsImage& edited, const SettingsImage& base,
               std::function<void(ApplyReport)> done);
    // The keyboard's factory reset, then a read of every block; both images take what was read.
    ResetReport factoryReset();
    void factoryReset(std::function<void(ResetReport)> done);
    // Removal: the reader ends (joined), then, unless the keyboard was opened again since
    // generation, the handles close. done gets whether they closed.
    void stopReader(std::function<void()> done);
    void closeHandles(std::uint64_t generation, std::function<void(bool)> done);
    // Arrival: opens the command handle and starts the reader, unless the handle is valid
    // already; the report says opened only when it opened now.
    void reopen(std::function<void(OpenReport)> done);
    // One read of the firmware version, for the command line.
    ReadReport readVersion();

    // Counts the openings of the command handle, so a step planned for one connection can
    // tell whether it is still the current one. Written by the session's thread only.
    std::uint64_t generation() const { return m_generation.load(); }

  private:
    template <class Work, class Done> void later(Work work, Done done) {
        enqueue([work = std::move(work), done = std::move(done)]() mutable { done(work()); });
    }
    // A transaction dropped by stop() before it began reports as not run (a default report).
    template <class Work> auto now(Work work) -> decltype(work()) {
        using Report = decltype(work());
        auto promise = std::make_shared<std::promise<Report>>();
        std::future<Report> future = promise->get_future();
        if (!enqueue([promise, &work] { promise->set_value(work()); }))
            return Report{};
        try {
            return future.get();
        } catch (const std::future_error&) {
            return Report{};
        }
    }
    // False once stopped: the work will not run.
    bool enqueue(std::function<void()> work);
    void run();

    OpenReport openHandles();
    bool startReaderNow();
    ReadReport readNow(ReadKind kind, const KeyboardImages& base, bool lightingAgain);
    ApplyReport applyNow(const SettingsImage& edited, const SettingsImage& base);
    ResetReport resetNow();
    ReadReport readLocked(ReadKind kind, const KeyboardImages& base, bool lightingAgain);
    ApplyReport applyLocked(const SettingsImage& edited, const SettingsImage& base);
    ResetReport resetLocked();
    KeyboardImages images() const;
    // Runs work holding the keyboard's lock; nullopt when stopped while waiting for it.
    template <class Work> auto holdingLock(Work work) -> std::optional<decltype(work())> {
        if (m_lock && !m_lock->acquire(std::nullopt, &m_stopping))
            return std::nullopt;
        auto report = work();
        if (m_lock)
            m_lock->release();
        return report;
    }

    std::unique_ptr<KeyboardLock> m_lock;
    Settings m_settings;
    HidLink m_link;
    AckFlag m_ack;
    NotificationReader m_reader;
    NotificationEvents* m_events;
    std::atomic<std::uint64_t> m_generation{0};
    std::atomic<bool> m_stopping{false};

    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<std::function<void()>> m_queue;
    std::thread m_thread;
};

} // namespace q905
