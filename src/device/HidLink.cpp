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

template <class Channel>
Status HidLink::openHandle(std::string_view interface, OpenChannel<Channel> open,
                           std::shared_ptr<Channel>& handle) {
    if (!findDevicePath(interface))
        return Status::failure("no keyboard found");
    auto channel = (m_backend.*open)(m_devicePath);
    if (!channel)
        return Status::failure(channel.message());
    std::lock_guard lock(m_handleMutex);
    handle = std::move(*channel);
    return Status::success();
}

Status HidLink::openCommandHandle() {
    return openHandle(kCommandInterface, &HidBackend::openCommand, m_command);
}

Status HidLink::openNotifyHandle() {
    return openHandle(kNotifyInterface, &HidBackend::openNotification, m_notify);
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

template <class Bytes>
bool HidLink::transferOut(std::string_view kind, const Bytes& bytes, Send<Bytes> send) {
    // Each transfer holds its own reference, so a handle closed by the window thread in the
    // middle of a read on another thread only makes the remaining transfers fail.
    const auto channel = commandChannel();
    if (!channel)
        return false;
    if (m_trace)
        m_trace->transfer(kind, bytes);
    return (*channel.*send)(bytes);
}

template <class Bytes>
bool HidLink::transferIn(std::string_view kind, Bytes& bytes, Receive<Bytes> receive) {
    const auto channel = commandChannel();
    if (!channel)
        return false;
    const bool received = (*channel.*receive)(bytes);
    if (m_trace) {
        if (received)
            m_trace->transfer(kind, bytes);
        else
            m_trace->transfer(std::string(kind) + "-failed", {});
    }
    return received;
}

bool HidLink::sendFrame(const FeatureFrame& frame) {
    return transferOut("set-feature", frame, &CommandChannel::setFeature);
}

std::optional<FeatureFrame> HidLink::queryCommand(std::uint8_t readCommand, CommandParams params,
                                                  std::optional<Milliseconds> waitAfterRequest) {
    // A request that did not go out has no reply to fetch.
    if (!sendCommand(readCommand, params))
        return std::nullopt;
    if (waitAfterRequest)
        wait(*waitAfterRequest);
    FeatureFrame reply{};
    if (!transferIn("get-feature", reply, &CommandChannel::getFeature))
        return std::nullopt;
    return reply;
}

bool HidLink::writeReport(const DataReport& report) {
    return transferOut("write", report, &CommandChannel::writeReport);
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
        DataReport report{};
        if (!transferIn("read", report, &CommandChannel::readReport))
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
