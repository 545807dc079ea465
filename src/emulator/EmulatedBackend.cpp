// SPDX-License-Identifier: GPL-3.0-or-later
#include "emulator/EmulatedBackend.h"

#include <algorithm>
#include <optional>

namespace q905 {

namespace {

// The bytes of a data report that arrives unasked: never a plausible block.
constexpr std::uint8_t kStrayReportByte = 0xEE;
// How long a data read waits before it fails while the keyboard is silent, as hidraw does.
constexpr std::chrono::milliseconds kSilentReadTimeout{1000};

class EmulatedCommandChannel final : public CommandChannel {
  public:
    EmulatedCommandChannel(std::shared_ptr<KeyboardState> state, std::uint64_t connection)
        : m_state(std::move(state)), m_connection(connection) {}

    bool setFeature(const FeatureFrame& frame) override {
        return transfer(Kind::Other,
                        [&](EmulatedFirmware& firmware) { return firmware.setFeature(frame); });
    }
    bool getFeature(FeatureFrame& reply) override {
        return transfer(Kind::Other,
                        [&](EmulatedFirmware& firmware) { return firmware.getFeature(reply); });
    }
    bool writeReport(const DataReport& report) override {
        return transfer(Kind::Other,
                        [&](EmulatedFirmware& firmware) { return firmware.writeReport(report); });
    }
    bool readReport(DataReport& report) override {
        return transfer(Kind::DataRead, [&](EmulatedFirmware& firmware) {
            // A report that arrived unasked is read first, as from the kernel's queue.
            if (!m_state->strayReports.empty()) {
                report = m_state->strayReports.front();
                m_state->strayReports.pop_front();
                return FirmwareStep{};
            }
            return firmware.readReport(report);
        });
    }

    bool readPendingReport(DataReport& report) override {
        // Only a report that arrived unasked can be waiting: the keyboard sends data on request.
        std::lock_guard lock(m_state->mutex);
        if (!m_state->connected(m_connection) || m_state->strayReports.empty())
            return false;
        report = m_state->strayReports.front();
        m_state->strayReports.pop_front();
        return true;
    }

  private:
    enum class Kind { DataRead, Other };

    // A transfer on a dead handle fails quietly, as on real hardware; only a live keyboard
    // judges the traffic. Faults set on demand act here.
    template <typename Step> bool transfer(Kind kind, Step step) {
        std::chrono::microseconds latency;
        {
            std::lock_guard lock(m_state->mutex);
            if (!m_state->connected(m_connection))
                return false;
            latency = m_state->latency;
        }
        // Sleep outside the lock so the notification reader is not held up by the bus.
        if (latency.count() > 0)
            m_state->clock->sleepPrecisely(latency);

        KeyboardState::ErrorListener listener;
        bool unplugged = false;
        std::optional<std::chrono::milliseconds> replugAway;
        std::optional<std::chrono::milliseconds> timeout;
        std::string error;
        bool accepted = false;
        {
            std::lock_guard lock(m_state->mutex);
            if (!m_state->connected(m_connection))
                return false;
            const std::size_t number = ++m_state->faultTransfers;
            if (m_state->hasFault(Fault::Kind::Unplug, number)) {
                unplugged = m_state->unplugLocked();
            } else if (m_state->hasFault(Fault::Kind::Fail, number)) {
                // The keyboard drops the exchange the failed transfer belonged to.
                m_state->firmware.abandonExchange();
            } else if (kind == Kind::DataRead && m_state->hasFault(Fault::Kind::Silent) &&
                       m_state->strayReports.empty()) {
                m_state->firmware.abandonExchange();
                timeout = kSilentReadTimeout;
            } else {
                ++m_state->transfers;
                FirmwareStep result = step(m_state->firmware);
                if (result.writeCompleted && !m_state->hasFault(Fault::Kind::NoAck))
                    m_state->queueNotification(
                        {kNotificationReportId, notification::kAcknowledge, 0, 0});
                if (m_state->hasFault(Fault::Kind::StrayReport, number)) {
                    DataReport stray{};
                    std::fill(stray.begin() + 1, stray.end(), kStrayReportByte);
                    m_state->strayReports.push_back(stray);
                }
                accepted = result.accepted;
                if (!accepted) {
                    error = std::move(result.error);
                    listener = m_state->recordError(error);
                }
            }
            if (!unplugged) {
                replugAway = m_state->replugAfterTransferLocked();
                unplugged = replugAway.has_value();
            }
        }
        if (unplugged)
            m_state->announcePlug(false);
        if (replugAway) {
            // Only now, so that whoever listens hears the removal before the return.
            std::lock_guard lock(m_state->mutex);
            m_state->comeBackAfter = *replugAway;
            m_state->comeBackChanged.notify_all();
        }
        if (timeout && timeout->count() > 0)
            m_state->clock->sleep(*timeout);
        if (listener)
            listener(error);
        return accepted;
    }

    std::shared_ptr<KeyboardState> m_state;
    std::uint64_t m_connection;
};

class EmulatedNotificationChannel final : public NotificationChannel {
  public:
    EmulatedNotificationChannel(std::shared_ptr<KeyboardState> state, std::uint64_t connection)
        : m_state(std::move(state)), m_connection(connection),
          m_queue(std::make_shared<NotificationQueue>()) {
        m_state->readers.push_back(m_queue);
    }

    ~EmulatedNotificationChannel() override {
        std::lock_guard lock(m_state->mutex);
        std::erase(m_state->readers, m_queue);
    }

    NotificationRead read(NotificationReport& report) override {
        std::unique_lock lock(m_state->mutex);
        const auto ready = [this] {
            return m_queue->stopped || !m_state->connected(m_connection) ||
                   !m_queue->reports.empty();
        };
        if (!ready()) {
            ++m_state->blockedReads;
            m_state->blockedReadsChanged.notify_all();
            m_state->notificationsChanged.wait(lock, ready);
            --m_state->blockedReads;
            m_state->blockedReadsChanged.notify_all();
        }
        if (m_queue->stopped)
            return NotificationRead::Stopped;
        if (!m_state->connected(m_connection))
            return NotificationRead::Gone;
        report = m_queue->reports.front();
        m_queue->reports.pop_front();
        return NotificationRead::Report;
    }

    void stop() override {
        std::lock_guard lock(m_state->mutex);
        m_queue->stopped = true;
        m_state->notificationsChanged.notify_all();
    }

  private:
    std::shared_ptr<KeyboardState> m_state;
    std::uint64_t m_connection;
    std::shared_ptr<NotificationQueue> m_queue;
};

std::string collectionPath(int collection) {
    return std::string(emulated::kCollectionPathPrefix) + std::to_string(collection);
}

} // namespace

EmulatedBackend::EmulatedBackend(std::shared_ptr<KeyboardState> state)
    : m_state(std::move(state)) {}

std::vector<HidInterfaceInfo> EmulatedBackend::enumerate() {
    {
        std::lock_guard lock(m_state->mutex);
        if (!m_state->plugged || m_state->destroyed)
            return {};
    }
    std::vector<HidInterfaceInfo> interfaces;
    auto add = [&](std::string path) {
        interfaces.push_back({std::move(path), kKeyboardVendorId, kKeyboardProductId});
    };
    add(std::string(emulated::kKeyboardPath));
    for (int collection = 1; collection <= emulated::kCollectionCount; ++collection)
        add(collectionPath(collection));
    // The keyboard's mouse interface, as a real one lists it.
    add(std::string(emulated::kMousePath));
    add(std::string(emulated::kCommandPath));
    return interfaces;
}

std::string EmulatedBackend::refusal(const std::string& path, std::string_view wanted) const {
    const bool plugged = m_state->plugged && !m_state->destroyed;
    const bool known = path == emulated::kKeyboardPath || path == emulated::kCommandPath ||
                       path == emulated::kMousePath ||
                       (path.starts_with(emulated::kCollectionPathPrefix) &&
                        path.size() == emulated::kCollectionPathPrefix.size() + 1 &&
                        path.back() >= '1' && path.back() <= '0' + emulated::kCollectionCount);
    if (!plugged || !known)
        return path + ": no such device";
    if (path == wanted)
        return {};
    if (path == emulated::kCommandPath)
        return path + ": not the notification interface";
    if (path == emulated::kNotificationPath)
        return path + ": not the command interface";
    // The plain keyboard interface, the mouse and the other collections belong to the system's
    // drivers.
    return path + ": cannot be opened, held by the system";
}

Result<std::unique_ptr<CommandChannel>> EmulatedBackend::openCommand(const std::string& path) {
    std::lock_guard lock(m_state->mutex);
    if (std::string error = refusal(path, emulated::kCommandPath); !error.empty())
        return Result<std::unique_ptr<CommandChannel>>::failure(std::move(error));
    return std::unique_ptr<CommandChannel>(
        std::make_unique<EmulatedCommandChannel>(m_state, m_state->connection));
}

Result<std::unique_ptr<NotificationChannel>>
EmulatedBackend::openNotification(const std::string& path) {
    std::lock_guard lock(m_state->mutex);
    std::string error = refusal(path, emulated::kNotificationPath);
    if (error.empty() && m_state->refusedNotificationOpens > 0) {
        --m_state->refusedNotificationOpens;
        error = path + ": device or resource busy";
    }
    if (!error.empty())
        return Result<std::unique_ptr<NotificationChannel>>::failure(std::move(error));
    // The channel registers its queue in the constructor, which runs under this lock.
    return std::unique_ptr<NotificationChannel>(
        std::make_unique<EmulatedNotificationChannel>(m_state, m_state->connection));
}

} // namespace q905
