// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the emulated keyboard and its open channels share. Channels hold it as well, so a
// channel that outlives the keyboard finds the device gone instead of a dangling pointer.

#include "device/Clock.h"
#include "device/Reports.h"
#include "emulator/EmulatedFirmware.h"
#include "emulator/Fault.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace q905 {

// The reports waiting for one open notification channel; each open handle gets its own copy
// of every input report, as with hidraw.
struct NotificationQueue {
    std::deque<NotificationReport> reports;
    bool stopped = false;
};

struct KeyboardState {
    using ErrorListener = std::function<void(const std::string&)>;

    // Everything below is guarded by this.
    mutable std::mutex mutex;
    // Signalled when a report is queued, a reader is stopped, or the device goes away.
    std::condition_variable notificationsChanged;

    EmulatedFirmware firmware;
    std::chrono::microseconds latency{0};
    bool plugged = true;
    bool destroyed = false;
    // Counts plug-ins: a channel opened in an earlier one stays dead after a replug.
    std::uint64_t connection = 1;
    std::vector<std::shared_ptr<NotificationQueue>> readers;
    // Notification reads blocked for want of a report; signalled on every change, so a test
    // can wait until another thread is surely waiting.
    std::size_t blockedReads = 0;
    std::condition_variable blockedReadsChanged;
    std::size_t transfers = 0;
    std::vector<std::string> errors;
    ErrorListener errorListener;

    // Latency, silent reads and the time a replugged keyboard is away; set once, never null.
    Clock* clock = nullptr;

    // Faults taken on demand; their transfer numbers count from when they were set.
    std::vector<Fault> faults;
    std::size_t faultTransfers = 0;
    // Replug cycles still to come, in order, and the transfers since the keyboard came back.
    std::deque<Fault> replugs;
    std::size_t transfersSinceReplug = 0;
    // Set once a replug's removal has been announced: the time until it comes back.
    std::optional<std::chrono::milliseconds> comeBackAfter;
    std::condition_variable comeBackChanged;
    // Opens of the notification interface still to be refused (the interface busy).
    int refusedNotificationOpens = 0;
    // Data reports that arrived unasked; a data read takes them before anything else.
    std::deque<DataReport> strayReports;

    bool hasFault(Fault::Kind kind, std::size_t transfer = 0) const {
        for (const Fault& fault : faults)
            if (fault.kind == kind && fault.transfer == transfer)
                return true;
        return false;
    }
    // The keyboard goes away or comes back; true when that changed anything, and the change
    // is then announced once the lock is off.
    bool unplugLocked() {
        if (!plugged)
            return false;
        plugged = false;
        firmware.abandonExchange();
        readers.clear();
        strayReports.clear();
        notificationsChanged.notify_all();
        return true;
    }
    bool plugLocked() {
        if (plugged || destroyed)
            return false;
        plugged = true;
        ++connection;
        transfersSinceReplug = 0;
        return true;
    }
    // Takes `mutex` for the change and announces it after.
    void setPlugged(bool nowPlugged) {
        bool changed = false;
        {
            std::lock_guard lock(mutex);
            changed = nowPlugged ? plugLocked() : unplugLocked();
        }
        if (changed)
            announcePlug(nowPlugged);
    }
    // Not under `mutex`: a listener may call the keyboard. Its own lock keeps a listener being
    // replaced from being called after its owner has gone.
    void announcePlug(bool nowPlugged) {
        std::lock_guard lock(plugListenerMutex);
        if (plugListener)
            plugListener(nowPlugged);
    }
    void setPlugListener(std::function<void(bool)> listener) {
        std::lock_guard lock(plugListenerMutex);
        plugListener = std::move(listener);
    }
    // A transfer reached the live keyboard. When a replug cycle is due after it, the keyboard
    // goes and the time it stays away is returned.
    std::optional<std::chrono::milliseconds> replugAfterTransferLocked() {
        ++transfersSinceReplug;
        if (replugs.empty() || transfersSinceReplug != replugs.front().transfer)
            return std::nullopt;
        const std::chrono::milliseconds away = replugs.front().away;
        if (--replugs.front().times == 0)
            replugs.pop_front();
        unplugLocked();
        return away;
    }

    bool connected(std::uint64_t openedIn) const {
        return !destroyed && plugged && openedIn == connection;
    }
    void queueNotification(const NotificationReport& report) {
        for (const auto& reader : readers)
            reader->reports.push_back(report);
        notificationsChanged.notify_all();
    }
    // Records a violation; the caller hands it to the returned listener once the lock is off.
    ErrorListener recordError(const std::string& error) {
        errors.push_back(error);
        return errorListener;
    }

  private:
    std::mutex plugListenerMutex;
    std::function<void(bool)> plugListener;
};

} // namespace q905
