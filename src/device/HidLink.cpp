// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidLink.h"

#include "device/HidInterfaceLookup.h"

#include <algorithm>

namespace q905 {

HidLink::HidLink(HidBackend& backend, Clock& clock, Trace* trace)
    : m_backend(backend), m_clock(clock), m_trace(trace) {}

bool HidLink::findDevicePath(std::string_view substring) {
    const std::vector<HidInterfaceInfo> interfaces = m_backend.enumerate();
    m_keyboardSeen = std::ranges::any_of(interfaces, [](const HidInterfaceInfo& info) {
        return info.vendorId == kKeyboardVendorId && info.productId == kKeyboardProductId;
    });
    const auto found = findInterfacePath(interfaces, substring);
    if (!found)
        return false;
    m_devicePath = found->path;
    m_vendorId = found->vendorId;
    m_productId = found->productId;
    return true;
}

Status HidLink::openCommandHandle() {
    if (!findDevicePath(kCommandInterface))
        return Status::failure("no keyboard found");
    auto channel = m_backend.openCommand(m_devicePath);
    if (!channel)
        return Status::failure(channel.message());
    std::lock_guard lock(m_handleMutex);
    m_command = std::move(*channel);
    return Status::success();
}

Status HidLink::openNotifyHandle() {
    if (!findDevicePath(kNotifyInterface))
        return Status::failure("no keyboard found");
    auto channel = m_backend.openNotification(m_devicePath);
    if (!channel)
        return Status::failure(channel.message());
    std::lock_guard lock(m_handleMutex);
    m_notify = std::move(*channel);
    return Status::success();
}

void HidLink::closeCommandHandle() {
    std::lock_guard lock(m_handleMutex);
    m_command.reset();
}

void HidLink::closeNotifyHandle() {
    std::lock_guard lock(m_handleMutex);
    m_notify.reset();
}

bool HidLink::commandHandleValid() const {
    return commandChannel() != nullptr;
}

bool HidLink::notifyHandleValid() const {
    return notifyHandle() != nullptr;
}

std::shared_ptr<NotificationChannel> HidLink::notifyHandle() const {
    std::lock_guard lock(m_handleMutex);
    return m_notify;
}

std::shared_ptr<CommandChannel> HidLink::commandChannel() const {
    std::lock_guard lock(m_handleMutex);
    return m_command;
}

std::unique_lock<std::recursive_mutex> HidLink::beginConversation() {
    return std::unique_lock(m_conversation);
}

bool HidLink::sendCommand(std::uint8_t command, CommandParams params) {
    return sendFrame(makeFeatureFrame(command, params));
}

bool HidLink::sendFrame(const FeatureFrame& frame) {
    // Each primitive holds its own reference, so a handle closed by the window thread in the
    // middle of a read on another thread only makes the remaining transfers fail.
    const auto channel = commandChannel();
    if (!channel)
        return false;
    if (m_trace)
        m_trace->transfer("set-feature", frame);
    return channel->setFeature(frame);
}

std::optional<FeatureFrame> HidLink::queryCommand(std::uint8_t readCommand, CommandParams params,
                                                  std::optional<Milliseconds> waitAfterRequest) {
    // A request that did not go out has no reply to fetch.
    if (!sendCommand(readCommand, params))
        return std::nullopt;
    if (waitAfterRequest)
        wait(*waitAfterRequest);
    const auto channel = commandChannel();
    if (!channel)
        return std::nullopt;
    FeatureFrame reply{};
    const bool received = channel->getFeature(reply);
    if (m_trace) {
        if (received)
            m_trace->transfer("get-feature", reply);
        else
            m_trace->transfer("get-feature-failed", {});
    }
    if (!received)
        return std::nullopt;
    return reply;
}

bool HidLink::writeReport(const DataReport& report) {
    const auto channel = commandChannel();
    if (!channel)
        return false;
    if (m_trace)
        m_trace->transfer("write", report);
    return channel->writeReport(report);
}

bool HidLink::writeBlock(std::span<const std::uint8_t> source, Pause between) {
    const std::size_t reports = source.size() / kDataBytesPerReport;
    for (std::size_t k = 0; k < reports; ++k) {
        if (k > 0)
            pause(between);
        DataReport report{};
        std::copy_n(source.begin() + k * kDataBytesPerReport, kDataBytesPerReport,
                    report.begin() + 1);
        // The rest of a block that lost a report would only land in the wrong place.
        if (!writeReport(report))
            return false;
    }
    return true;
}

bool HidLink::readBlock(std::size_t reports, const ReportData& store, Pause afterEach) {
    for (std::size_t k = 0; k < reports; ++k) {
        const auto channel = commandChannel();
        if (!channel)
            return false;
        DataReport report{};
        const bool received = channel->readReport(report);
        if (m_trace) {
            if (received)
                m_trace->transfer("read", report);
            else
                m_trace->transfer("read-failed", {});
        }
        if (!received)
            return false;
        store(k, std::span<const std::uint8_t>(report).subspan(1));
        pause(afterEach);
    }
    return true;
}

void HidLink::drainStaleReports() {
    const auto channel = commandChannel();
    if (!channel)
        return;
    // Bounded: a device that never stops sending is not waited out here.
    constexpr int kMostStale = 64;
    DataReport report{};
    for (int k = 0; k < kMostStale && channel->readPendingReport(report); ++k) {
        if (m_trace)
            m_trace->transfer("read", report);
    }
}

void HidLink::pause(Pause pause) {
    switch (pause) {
    case Pause::None:
        break;
    case Pause::Yield:
        yield();
        break;
    case Pause::Wait5:
        wait(Milliseconds(5));
        break;
    }
}

void HidLink::wait(Milliseconds duration) {
    if (m_trace)
        m_trace->sleep(static_cast<long>(duration.count()));
    m_clock.sleep(duration);
}

void HidLink::yield() {
    if (m_trace)
        m_trace->sleep(0);
    m_clock.yield();
}

void HidLink::traceAckWait() {
    if (m_trace)
        m_trace->waitAck();
}

} // namespace q905
