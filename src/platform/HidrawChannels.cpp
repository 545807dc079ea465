// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HidrawChannels.h"

#include "platform/HidrawReportLayout.h"

#include <array>
#include <cerrno>

namespace q905 {

namespace {
// A signal landing in a system call is no reason to give up a transfer.
template <typename Call> SystemResult retryInterrupted(Call call) {
    SystemResult result;
    do
        result = call();
    while (result.error == EINTR);
    return result;
}

bool deviceLost(short revents) {
    return (revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
}

bool tryAgain(int error) {
    return error == EINTR || error == EAGAIN || error == EWOULDBLOCK;
}

// Large enough for any report of the keyboard's interfaces, so none is cut short.
constexpr std::size_t kInputBufferSize = 64;
} // namespace

HidrawCommandChannel::HidrawCommandChannel(std::shared_ptr<HidrawSystem> system, int fd,
                                           std::chrono::milliseconds readTimeout)
    : m_system(std::move(system)), m_fd(fd), m_readTimeout(readTimeout) {}

HidrawCommandChannel::~HidrawCommandChannel() {
    m_system->close(m_fd);
}

bool HidrawCommandChannel::setFeature(const FeatureFrame& frame) {
    const FeatureFrame buffer = featureRequestBuffer(frame);
    return retryInterrupted([&] { return m_system->setFeature(m_fd, buffer); }).ok();
}

bool HidrawCommandChannel::getFeature(FeatureFrame& reply) {
    FeatureFrame buffer{};
    const SystemResult result =
        retryInterrupted([&] { return m_system->getFeature(m_fd, buffer); });
    if (!result.ok())
        return false;
    const auto received = featureReplyFromBuffer(buffer, result.value);
    if (!received)
        return false;
    reply = *received;
    return true;
}

bool HidrawCommandChannel::writeReport(const DataReport& report) {
    const DataReport buffer = dataReportBuffer(report);
    const SystemResult result = retryInterrupted([&] { return m_system->write(m_fd, buffer); });
    return result.ok() && result.value == static_cast<long>(buffer.size());
}

bool HidrawCommandChannel::readReport(DataReport& report) {
    return readWithin(report, m_readTimeout);
}

bool HidrawCommandChannel::readPendingReport(DataReport& report) {
    return readWithin(report, std::chrono::milliseconds(0));
}

bool HidrawCommandChannel::readWithin(DataReport& report, std::chrono::milliseconds timeout) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + timeout;
    for (;;) {
        // A zero timeout still looks once at what is queued.
        const auto remaining =
            std::max(duration_cast<milliseconds>(deadline - steady_clock::now()), milliseconds(0));
        if (remaining.count() <= 0 && timeout.count() > 0)
            return false;
        pollfd watch{m_fd, POLLIN, 0};
        const SystemResult ready =
            m_system->poll(std::span<pollfd>(&watch, 1), static_cast<int>(remaining.count()));
        if (ready.error == EINTR)
            continue;
        if (!ready.ok() || ready.value == 0 || deviceLost(watch.revents))
            return false;

        // One byte more than a data report, so a longer report is seen as one.
        std::array<std::uint8_t, kDataBytesPerReport + 1> buffer{};
        const SystemResult received = m_system->read(m_fd, buffer);
        if (tryAgain(received.error))
            continue;
        if (!received.ok())
            return false;
        const auto data = dataReportFromInput(
            std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(received.value)));
        if (data) {
            report = *data;
            return true;
        }
        // Some other report of the interface: keep waiting for the data report.
    }
}

HidrawNotificationChannel::HidrawNotificationChannel(std::shared_ptr<HidrawSystem> system, int fd,
                                                     int wakeFd)
    : m_system(std::move(system)), m_fd(fd), m_wakeFd(wakeFd) {}

HidrawNotificationChannel::~HidrawNotificationChannel() {
    m_system->close(m_fd);
    m_system->close(m_wakeFd);
}

NotificationRead HidrawNotificationChannel::read(NotificationReport& report) {
    for (;;) {
        if (m_stopped.load())
            return NotificationRead::Stopped;
        std::array<pollfd, 2> watch{{{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}}};
        const SystemResult ready = m_system->poll(watch, -1);
        if (ready.error == EINTR)
            continue;
        if (!ready.ok())
            return NotificationRead::Gone; // cannot wait for the node any more
        if (watch[1].revents != 0)
            return NotificationRead::Stopped;
        if (deviceLost(watch[0].revents))
            return NotificationRead::Gone;
        if ((watch[0].revents & POLLIN) == 0)
            continue;

        std::array<std::uint8_t, kInputBufferSize> buffer{};
        const SystemResult received = m_system->read(m_fd, buffer);
        if (tryAgain(received.error))
            continue;
        if (!received.ok())
            return NotificationRead::Gone; // EIO or ENODEV once the keyboard is unplugged
        const auto notification = notificationFromInput(
            std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(received.value)));
        if (notification) {
            report = *notification;
            return NotificationRead::Report;
        }
    }
}

void HidrawNotificationChannel::stop() {
    m_stopped.store(true);
    m_system->signalWakeup(m_wakeFd);
}

} // namespace q905
