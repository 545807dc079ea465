// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NotificationReader.h"

#include "device/WireEncoding.h"

namespace q905 {

NotificationReader::NotificationReader(Settings& settings, AckFlag& ack, Trace* trace)
    : m_settings(settings), m_ack(ack), m_trace(trace) {}

NotificationReader::~NotificationReader() {
    stop();
}

void NotificationReader::start(std::shared_ptr<NotificationChannel> channel,
                               NotificationEvents* events) {
    if (m_thread.joinable())
        return;
    m_channel = std::move(channel);
    m_events = events;
    m_stopFlag = false;
    m_running = true;
    m_ack.setListening(true);
    m_thread = std::thread([this] { run(); });
}

void NotificationReader::stop() {
    m_stopFlag = true;
    if (m_channel)
        m_channel->stop();
    if (m_thread.joinable())
        m_thread.join();
    m_channel.reset();
}

void NotificationReader::run() {
    bool deviceGone = false;
    while (!m_stopFlag) {
        NotificationReport report{kNotificationReportId, 0, 0, 0};
        const NotificationRead result = m_channel->read(report);
        if (result == NotificationRead::Stopped)
            break;
        if (result == NotificationRead::Gone) {
            deviceGone = true;
            break;
        }
        if (m_trace)
            m_trace->notify(report);
        dispatch(report);
    }
    m_ack.setListening(false);
    m_running = false;
    if (deviceGone && m_events)
        m_events->readerEnded();
}

void NotificationReader::dispatch(const NotificationReport& report) {
    const std::uint8_t type = report[wire::notify::kType];
    const std::uint8_t code = report[wire::notify::kCode];
    const std::uint8_t value = report[wire::notify::kValue];
    if (type == notification::kAcknowledge) {
        m_ack.set();
        return;
    }
    if (type != notification::kLightingChanged) {
        if (m_events)
            m_events->launchRequested(code);
        return;
    }
    const auto offset = wire::lighting::imageOffset(code);
    if (!offset)
        return;
    const std::uint8_t stored = wire::lighting::fromWire(code, value);
    // Both copies, so the next apply does not send the keyboard's own change back.
    m_settings.storeInBoth(*offset, stored);
    if (m_events)
        m_events->lightingChanged(code, stored);
}

} // namespace q905
