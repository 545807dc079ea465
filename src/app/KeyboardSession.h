// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one owner of everything that talks to the keyboard: the link with its two handles, the
// acknowledgement flag, the notification reader, and the keyboard's side of the settings image
// (what was read, what was applied). Its transactions run on a thread of its own, one at a
// time, in the order asked. Callers never share its state: a transaction takes values and
// hands back values (a report) to a callback called on the session's thread (the window posts
// it on); the command line, which has no event loop, waits for it with waitFor.

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
#include <tuple>
#include <type_traits>

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

    // Asks the running apply to end at its next group, closing frames sent, and a running
    // start-up or plug-in read at its next exchange (reported as Stopped), and drops the
    // transactions not yet begun; later requests are not run. Returns at once.
    void stop();

    template <class Report> using Done = std::function<void(Report)>;

    // The command handle, then the notification handle and its reader.
    void open(Done<OpenReport> done);
    // The notification handle and its reader, unless running; false when it could not open.
    void startReader(Done<bool> done);
    // A read of every block over base: the bytes the keyboard does not hold (kept in
    // keymap.bin only) stay the caller's. The window asks for the lighting parameters once
    // more after it: the keyboard may have moved them with its hot keys during the read.
    void read(ReadKind kind, const KeyboardImages& base, bool lightingAgain, Done<ReadReport> done);
    // The caller's edits go out: the bytes where edited differs from base, the caller's copy of
    // AppliedSettings, are taken into DeviceSettings; then the blocks that differ from
    // AppliedSettings are sent. What others changed meanwhile (another command, the keyboard's
    // hot keys) is never sent back over.
    void apply(const SettingsImage& edited, const SettingsImage& base, Done<ApplyReport> done);
    // The keyboard's factory reset, then a read of every block; both images take what was read.
    void factoryReset(Done<ResetReport> done);
    // Removal: the reader ends (joined), then, unless the keyboard was opened again since
    // generation, the handles close. done gets whether they closed.
    void stopReader(std::function<void()> done);
    void closeHandles(std::uint64_t generation, Done<bool> done);
    // Arrival: opens the command handle and starts the reader, unless the handle is valid
    // already; the report says opened only when it opened now.
    void reopen(Done<OpenReport> done);
    // One read of the firmware version, for the command line.
    void readVersion(Done<ReadReport> done);

    // Counts the openings of the command handle, so a step planned for one connection can
    // tell whether it is still the current one. Written by the session's thread only.
    std::uint64_t generation() const { return m_generation.load(); }

  private:
    // A transaction that transfers holds the keyboard's lock while it runs; haveKeyboard is
    // false when the session was stopped while waiting for it, and the transaction reports as
    // not run.
    enum class Transfers { No, Yes };
    void enqueue(Transfers transfers, std::function<void(bool haveKeyboard)> work);
    void run();

    OpenReport openHandles();
    bool startReaderThread();
    ReadReport readBlocks(ReadKind kind, const KeyboardImages& base, bool lightingAgain);
    ApplyReport sendEdits(const SettingsImage& edited, const SettingsImage& base);
    ResetReport resetAndRead();
    KeyboardImages images() const;

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
    struct Job {
        Transfers transfers = Transfers::No;
        std::function<void(bool)> work; // none ends the thread
    };
    std::deque<Job> m_queue;
    std::thread m_thread;
};

namespace detail {
template <class Done> struct ReportOf;
template <class Report> struct ReportOf<std::function<void(Report)>> { using type = Report; };
} // namespace detail

// Runs a transaction and waits for its report: waitFor(session, &KeyboardSession::apply, edited,
// base). A transaction dropped by stop() reports as not run (a default report).
template <class... Params, class... Args>
auto waitFor(KeyboardSession& session, void (KeyboardSession::*transaction)(Params...),
             Args&&... args) {
    using Done =
        std::remove_cvref_t<std::tuple_element_t<sizeof...(Params) - 1, std::tuple<Params...>>>;
    using Report = typename detail::ReportOf<Done>::type;
    auto promise = std::make_shared<std::promise<Report>>();
    std::future<Report> report = promise->get_future();
    (session.*transaction)(std::forward<Args>(args)...,
                           Done([promise](Report done) { promise->set_value(std::move(done)); }));
    try {
        return report.get();
    } catch (const std::future_error&) {
        return Report{};
    }
}

} // namespace q905
