// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A macro's events as the keyboard plays them: 2- or 4-byte events back to back in 190 bytes.
// Byte 0 of an event holds the release bit and the delay code, byte 1 the key byte, and an
// extended delay adds its milliseconds big-endian in bytes 2 and 3. A key byte of 0 ends the
// events; every byte after the last event is zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace q905 {

inline constexpr std::size_t kEventSequenceSize = 190;
inline constexpr std::size_t kShortEventSize = 2;
inline constexpr std::size_t kExtendedEventSize = 4;

inline constexpr std::uint8_t kReleaseBit = 0x80;
inline constexpr std::uint8_t kDelayCodeMask = 0x7F;
// Delay code 1 means "no wait"; 2..126 are milliseconds; 127 takes the wait from bytes 2 and 3.
inline constexpr std::uint8_t kNoDelay = 1;
inline constexpr std::uint8_t kExtendedDelay = 0x7F;
inline constexpr int kMaxDelayMs = 60000;
inline constexpr int kMinEditedDelayMs = 2;
// What Insert Delay gives the event after the selected key.
inline constexpr int kInsertedDelayMs = 50;

// One event, decoded.
struct MacroEvent {
    std::size_t offset = 0;
    bool release = false;
    std::uint8_t delayCode = kNoDelay;
    int delayMs = 1; // the delay code, or the 16-bit value of an extended delay
    std::uint8_t key = 0;

    std::size_t size() const {
        return delayCode == kExtendedDelay ? kExtendedEventSize : kShortEventSize;
    }
    std::size_t end() const { return offset + size(); }
    // An event with a visible wait takes two rows in the event list: its delay and its key.
    bool hasDelayRow() const { return delayCode == kExtendedDelay || delayCode > kNoDelay; }
    int rowCount() const { return hasDelayRow() ? 2 : 1; }
};

class EventSequence {
  public:
    using Bytes = std::array<std::uint8_t, kEventSequenceSize>;

    EventSequence() = default;
    explicit EventSequence(std::span<const std::uint8_t> bytes);

    Bytes& bytes() { return m_bytes; }
    const Bytes& bytes() const { return m_bytes; }
    std::uint8_t& operator[](std::size_t offset) { return m_bytes[offset]; }
    std::uint8_t operator[](std::size_t offset) const { return m_bytes[offset]; }

    // The event starting at offset, or nothing where the events end: a key byte of 0, the end
    // of the 190 bytes, or an extended event cut off by that end (damaged files).
    std::optional<MacroEvent> eventAt(std::size_t offset) const;
    std::vector<MacroEvent> events() const;
    // The offset after the last event: where the next event is appended.
    std::size_t end() const;
    bool empty() const { return !eventAt(0).has_value(); }

    // Moves everything from offset back and puts bytes there. Refused, leaving the sequence
    // unchanged, when the events would no longer fit: no event is ever cut at the end.
    [[nodiscard]] bool insert(std::size_t offset, std::span<const std::uint8_t> bytes);
    // Moves everything after the removed bytes forward; the freed bytes at the end become zero.
    void erase(std::size_t offset, std::size_t count);
    // Zeroes everything from offset on.
    void truncate(std::size_t offset);

    bool operator==(const EventSequence&) const = default;

  private:
    Bytes m_bytes{};
};

// The bytes of one event with the given wait (1 = none, 2..60000 ms).
std::vector<std::uint8_t> encodeEvent(bool release, int delayMs, std::uint8_t key);

// Row index of the event list -> byte offset of the event whose first row it is. A row equal to
// the number of rows gives the end of the events; any other row that does not start an event
// gives 0.
std::size_t eventAtRow(const EventSequence& keyEvents, int row);

// The first event never waits: its delay code becomes 1 (an extended delay loses its two bytes).
void normaliseFirstEvent(EventSequence& deviceEvents, EventSequence& keyEvents);

// The events the two sequences hold alike, from the start: everything but the key byte must
// agree, and the walk stops where either sequence ends or they part.
std::vector<MacroEvent> pairedEvents(const EventSequence& deviceEvents,
                                     const EventSequence& keyEvents);

enum class EventRowKind : std::uint8_t { Delay, KeyDown, KeyUp };

// One row of the event list: a delay row or the key row of an event.
struct EventRow {
    std::size_t offset = 0; // the event the row belongs to
    EventRowKind kind = EventRowKind::KeyDown;
    std::string text;     // "50 ms", "A dn", "A up"
    std::uint8_t key = 0; // a key row's key code
    bool isDelay() const { return kind == EventRowKind::Delay; }
};

// The rows of a pair of sequences: for each event a delay row when it waits, then its key row,
// over the paired events.
std::vector<EventRow> eventRows(const EventSequence& deviceEvents, const EventSequence& keyEvents);

std::string delayRowText(int delayMs);
std::string keyRowText(std::uint8_t code, bool release);

} // namespace q905
