// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's macros: 190 records of 894 bytes, saved as MacroDefine.bin and exchanged with other
// installations byte for byte, so the record is kept as its raw bytes with typed accessors.
// A macro's position in the list is the device slot that plays it.

#include "device/SettingsLayout.h"
#include "macros/EventSequence.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q905 {

class SettingsImage;

inline constexpr std::size_t kMacroRecordSize = 894;
inline constexpr std::size_t kMacroRecordCount = 190;
inline constexpr std::size_t kMacroListSize = kMacroRecordSize * kMacroRecordCount;
// One name character is kept for the terminator.
inline constexpr std::size_t kMaxMacroNameLength = 254;

namespace macro_layout {
inline constexpr Block kName{0, 510};
inline constexpr Block kLoopCount{510, 2}; // little-endian
inline constexpr Block kFlags{512, 1};
inline constexpr Block kDeviceEvents{513, kEventSequenceSize};
inline constexpr Block kKeyEvents{703, kEventSequenceSize};
inline constexpr Block kReserved{893, 1};
inline constexpr std::uint8_t kHasDelayFlag = 0x01;
static_assert(kReserved.end() == kMacroRecordSize);
static_assert(kName.size / 2 == kMaxMacroNameLength + 1);

// The keyboard's slot: loop count high byte first, then the device events unchanged.
inline constexpr std::size_t kSlotLoopHigh = 0;
inline constexpr std::size_t kSlotLoopLow = 1;
inline constexpr std::size_t kSlotEvents = 2;
static_assert(kSlotEvents + kEventSequenceSize == layout::kMacroSlotSize);
} // namespace macro_layout

class MacroRecord {
  public:
    using Bytes = std::array<std::uint8_t, kMacroRecordSize>;

    Bytes& bytes() { return m_bytes; }
    const Bytes& bytes() const { return m_bytes; }

    // An empty name marks a free record.
    std::u16string name() const;
    bool isFree() const { return m_bytes[0] == 0 && m_bytes[1] == 0; }
    // Stores at most 254 characters (never half a surrogate pair); returns how many were kept.
    std::size_t setName(std::u16string_view name);

    std::uint16_t loopCount() const;
    void setLoopCount(std::uint16_t count);

    bool hasDelay() const;
    void setHasDelay(bool on);

    EventSequence deviceEvents() const;
    void setDeviceEvents(const EventSequence& events);
    EventSequence keyEvents() const;
    void setKeyEvents(const EventSequence& events);

    void clear() { m_bytes.fill(0); }

    bool operator==(const MacroRecord&) const = default;

  private:
    Bytes m_bytes{};
};
static_assert(sizeof(MacroRecord) == kMacroRecordSize);

class MacroList {
  public:
    using Records = std::array<MacroRecord, kMacroRecordCount>;

    MacroRecord& operator[](std::size_t index) { return m_records[index]; }
    const MacroRecord& operator[](std::size_t index) const { return m_records[index]; }
    static constexpr std::size_t size() { return kMacroRecordCount; }
    Records::iterator begin() { return m_records.begin(); }
    Records::iterator end() { return m_records.end(); }
    Records::const_iterator begin() const { return m_records.begin(); }
    Records::const_iterator end() const { return m_records.end(); }

    // Named records lie contiguous from record 0; the first free one ends the list.
    std::size_t namedCount() const;

    // The file form: the records in order, nothing else.
    std::vector<std::uint8_t> toBytes() const;
    // Takes up to 169,860 bytes; records beyond a short input keep their bytes.
    void fillFromBytes(std::span<const std::uint8_t> bytes);

    bool operator==(const MacroList&) const = default;

  private:
    Records m_records{};
};
static_assert(sizeof(MacroList) == kMacroListSize);
static_assert(kMacroListSize == 169860);

// Writes the named records, from record 0 up to the first free one and at most 32, into the
// device macro slots of the image. Slots from the first free record on keep their contents.
void fillMacroSlots(const MacroList& macros, SettingsImage& image);

// The rows of the event list for a record (UTF-8): "%d ms" delay rows and "%s dn" / "%s up" key
// rows. A delay row appears exactly where eventAtRow counts two rows for the event.
std::vector<std::string> listMacroEvents(const MacroRecord& record);

enum class CommitResult {
    Stored,
    EmptyName,   // refused: an empty name would free the record in the middle of the list
    NoSuchRecord // index outside the list
};

// Stores the dialog's state into record index: the name (cut to 254 characters), the loop
// count (the decimal value of loopText, truncated to 16 bits, when Loop is on, else 1), the
// delay flag and both event sequences.
[[nodiscard]] CommitResult commitMacro(MacroList& macros, int index, std::u16string_view name,
                                       bool loopOn, std::string_view loopText, bool hasDelay,
                                       const EventSequence& deviceEvents,
                                       const EventSequence& keyEvents);

// The decimal value of the loop box text, truncated to 16 bits; 0 when it has no leading digit.
std::uint16_t loopCountFromText(std::string_view text);

// "Macro_001", "Macro_002", ...: the smallest number whose name is not in the list
// (compared case-sensitively).
std::u16string newMacroName(std::span<const std::u16string> names);

} // namespace q905
