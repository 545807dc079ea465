// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/EventSequence.h"

#include "macros/KeyNameTable.h"

#include <algorithm>

namespace q905 {

EventSequence::EventSequence(std::span<const std::uint8_t> bytes) {
    std::copy_n(bytes.begin(), std::min(bytes.size(), m_bytes.size()), m_bytes.begin());
}

std::optional<MacroEvent> EventSequence::eventAt(std::size_t offset) const {
    if (offset + kShortEventSize > m_bytes.size() || m_bytes[offset + 1] == 0)
        return std::nullopt;
    MacroEvent event;
    event.offset = offset;
    event.release = (m_bytes[offset] & kReleaseBit) != 0;
    event.delayCode = m_bytes[offset] & kDelayCodeMask;
    event.key = m_bytes[offset + 1];
    event.delayMs = event.delayCode;
    if (event.delayCode == kExtendedDelay) {
        if (offset + kExtendedEventSize > m_bytes.size())
            return std::nullopt;
        event.delayMs = (m_bytes[offset + 2] << 8) | m_bytes[offset + 3];
    }
    return event;
}

std::vector<MacroEvent> EventSequence::events() const {
    std::vector<MacroEvent> events;
    for (auto event = eventAt(0); event; event = eventAt(event->end()))
        events.push_back(*event);
    return events;
}

std::size_t EventSequence::end() const {
    std::size_t offset = 0;
    while (const auto event = eventAt(offset))
        offset = event->end();
    return offset;
}

bool EventSequence::insert(std::size_t offset, std::span<const std::uint8_t> bytes) {
    const std::size_t used = end();
    if (offset > used || used + bytes.size() > m_bytes.size())
        return false;
    std::copy_backward(m_bytes.begin() + offset, m_bytes.begin() + used,
                       m_bytes.begin() + used + bytes.size());
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + offset);
    return true;
}

void EventSequence::erase(std::size_t offset, std::size_t count) {
    if (offset >= m_bytes.size())
        return;
    count = std::min(count, m_bytes.size() - offset);
    std::copy(m_bytes.begin() + offset + count, m_bytes.end(), m_bytes.begin() + offset);
    std::fill(m_bytes.end() - count, m_bytes.end(), 0);
}

void EventSequence::truncate(std::size_t offset) {
    if (offset < m_bytes.size())
        std::fill(m_bytes.begin() + offset, m_bytes.end(), 0);
}

std::vector<std::uint8_t> encodeEvent(bool release, int delayMs, std::uint8_t key) {
    const std::uint8_t releaseBit = release ? kReleaseBit : 0;
    delayMs = std::clamp(delayMs, int{kNoDelay}, kMaxDelayMs);
    if (delayMs >= kExtendedDelay)
        return {static_cast<std::uint8_t>(kExtendedDelay | releaseBit), key,
                static_cast<std::uint8_t>(delayMs >> 8), static_cast<std::uint8_t>(delayMs & 0xFF)};
    return {static_cast<std::uint8_t>(delayMs | releaseBit), key};
}

std::size_t eventAtRow(const EventSequence& keyEvents, int row) {
    std::size_t offset = 0;
    int rows = 0;
    while (rows != row) {
        const auto event = keyEvents.eventAt(offset);
        if (!event || rows > row)
            return 0;
        offset = event->end();
        rows += event->rowCount();
    }
    return offset;
}

namespace {
void normaliseFirst(EventSequence& sequence) {
    const auto first = sequence.eventAt(0);
    if (!first)
        return; // nothing to normalise; an empty sequence stays all zero
    sequence[0] = static_cast<std::uint8_t>((first->release ? kReleaseBit : 0) | kNoDelay);
    if (first->delayCode == kExtendedDelay)
        sequence.erase(kShortEventSize, kExtendedEventSize - kShortEventSize);
}
} // namespace

void normaliseFirstEvent(EventSequence& deviceEvents, EventSequence& keyEvents) {
    normaliseFirst(deviceEvents);
    normaliseFirst(keyEvents);
}

std::string delayRowText(int delayMs) {
    return std::to_string(delayMs) + " ms";
}

std::string keyRowText(std::uint8_t code, bool release) {
    return nameOf(code) + (release ? " up" : " dn");
}

std::vector<MacroEvent> pairedEvents(const EventSequence& deviceEvents,
                                     const EventSequence& keyEvents) {
    std::vector<MacroEvent> events;
    std::size_t offset = 0;
    while (true) {
        const auto key = keyEvents.eventAt(offset);
        const auto device = deviceEvents.eventAt(offset);
        if (!key || !device || device->release != key->release ||
            device->delayCode != key->delayCode || device->delayMs != key->delayMs)
            return events;
        events.push_back(*key);
        offset = key->end();
    }
}

std::vector<EventRow> eventRows(const EventSequence& deviceEvents, const EventSequence& keyEvents) {
    std::vector<EventRow> rows;
    // The key sequence names the events; a row for an event the keyboard would not play the
    // same way would put the list and the bytes out of step.
    for (const MacroEvent& event : pairedEvents(deviceEvents, keyEvents)) {
        if (event.hasDelayRow())
            rows.push_back({event.offset, EventRowKind::Delay, delayRowText(event.delayMs)});
        rows.push_back({event.offset, event.release ? EventRowKind::KeyUp : EventRowKind::KeyDown,
                        keyRowText(event.key, event.release), event.key});
    }
    return rows;
}

} // namespace q905
