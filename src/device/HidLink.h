// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one choke point for every transfer with the keyboard: the two handles, the interface
// lookup, and the primitives sendCommand, queryCommand, writeBlock and readBlock. Every
// transfer and every protocol wait is traced here when a trace is attached.

#include "device/Clock.h"
#include "device/Commands.h"
#include "device/HidBackend.h"
#include "device/Reports.h"
#include "device/Trace.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace q905 {

// Substrings of the interface paths that carry commands and notifications.
inline constexpr std::string_view kCommandInterface = "mi_03";
inline constexpr std::string_view kNotifyInterface = "ol04";

class HidLink {
  public:
    HidLink(HidBackend& backend, Clock& clock, Trace* trace = nullptr);

    Clock& clock() { return m_clock; }
    Trace* trace() { return m_trace; }

    // Stores the path of the first present interface of the keyboard whose path contains
    // the substring; false when there is none.
    bool findDevicePath(std::string_view substring);
    const std::string& devicePath() const { return m_devicePath; }
    // True when the last lookup saw the keyboard (vendor and product) at all.
    bool keyboardSeen() const { return m_keyboardSeen; }

    // Each open is a lookup followed by opening the found path; the message says why it failed.
    Status openCommandHandle();
    Status openNotifyHandle();
    void closeCommandHandle();
    void closeNotifyHandle();
    bool commandHandleValid() const;
    bool notifyHandleValid() const;
    // The notification channel; it stays alive for its holder even when the handle closes.
    std::shared_ptr<NotificationChannel> notifyHandle() const;

    // Sequences that must not interleave (a read, an apply, a reset) hold this for their
    // whole length, so a request is never answered with another sequence's reply.
    [[nodiscard]] std::unique_lock<std::recursive_mutex> beginConversation();

    bool sendCommand(std::uint8_t command, CommandParams params = {});
    // Sends a prepared frame as it is (the palm-rest frame carries no checksum).
    bool sendFrame(const FeatureFrame& frame);
    // Request, optional wait, reply. nullopt when either transfer failed.
    std::optional<FeatureFrame> queryCommand(std::uint8_t readCommand, CommandParams params = {},
                                             std::optional<Milliseconds> waitAfterRequest = {});
    // source.size() / 64 data reports; between reports a wait, a yield or nothing.
    enum class Pause { None, Yield, Wait5 };
    bool writeBlock(std::span<const std::uint8_t> source, Pause between = Pause::None);
    bool writeReport(const DataReport& report);
    // n data reports; each one received is handed over with its index. Stops at the first
    // report that does not come; false then.
    using ReportData = std::function<void(std::size_t index, std::span<const std::uint8_t> data)>;
    [[nodiscard]] bool readBlock(std::size_t reports, const ReportData& store,
                                 Pause afterEach = Pause::None);
    // Reads and drops data reports already waiting (a late one from an earlier exchange), so
    // the next bulk read is not shifted by them. Traced as reads.
    void drainStaleReports();

    void wait(Milliseconds duration);
    void yield();
    // Marks an acknowledgement wait in the trace.
    void traceAckWait();

  private:
    template <class Channel>
    using OpenChannel = Result<std::unique_ptr<Channel>> (HidBackend::*)(const std::string& path);
    // The lookup, the open and keeping the channel in `handle`, for either interface.
    template <class Channel>
    Status openHandle(std::string_view interface, OpenChannel<Channel> open,
                      std::shared_ptr<Channel>& handle);
    std::shared_ptr<CommandChannel> commandChannel() const;
    template <class Bytes> using Send = bool (CommandChannel::*)(const Bytes&);
    template <class Bytes> using Receive = bool (CommandChannel::*)(Bytes&);
    // One transfer on the command channel, traced as `kind` (a failed receive as
    // `kind`-failed); false when the handle is closed or the transfer failed.
    template <class Bytes>
    bool transferOut(std::string_view kind, const Bytes& bytes, Send<Bytes> send);
    template <class Bytes>
    bool transferIn(std::string_view kind, Bytes& bytes, Receive<Bytes> receive);
    void pause(Pause pause);

    HidBackend& m_backend;
    Clock& m_clock;
    Trace* m_trace;
    std::string m_devicePath;
    std::uint16_t m_vendorId = 0;
    std::uint16_t m_productId = 0;
    bool m_keyboardSeen = false;
    mutable std::mutex m_handleMutex;
    std::shared_ptr<CommandChannel> m_command;
    std::shared_ptr<NotificationChannel> m_notify;
    std::recursive_mutex m_conversation;
};

} // namespace q905
