// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/MacroModel.h"

#include "device/SettingsImage.h"
#include "base/Utf16.h"

#include <algorithm>

namespace q905 {

namespace {
std::span<std::uint8_t> field(MacroRecord::Bytes& bytes, Block block) {
    return {bytes.data() + block.offset, block.size};
}
std::span<const std::uint8_t> field(const MacroRecord::Bytes& bytes, Block block) {
    return {bytes.data() + block.offset, block.size};
}
bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
} // namespace

std::u16string MacroRecord::name() const {
    return readUtf16Field(field(m_bytes, macro_layout::kName));
}

std::size_t MacroRecord::setName(std::u16string_view name) {
    name = name.substr(0, name.find(u'\0'));
    if (name.size() > kMaxMacroNameLength) {
        name = name.substr(0, kMaxMacroNameLength);
        if (isHighSurrogate(name.back()))
            name.remove_suffix(1);
    }
    return writeUtf16Field(field(m_bytes, macro_layout::kName), name);
}

std::uint16_t MacroRecord::loopCount() const {
    const std::size_t at = macro_layout::kLoopCount.offset;
    return static_cast<std::uint16_t>(m_bytes[at] | (m_bytes[at + 1] << 8));
}

void MacroRecord::setLoopCount(std::uint16_t count) {
    const std::size_t at = macro_layout::kLoopCount.offset;
    m_bytes[at] = static_cast<std::uint8_t>(count & 0xFF);
    m_bytes[at + 1] = static_cast<std::uint8_t>(count >> 8);
}

bool MacroRecord::hasDelay() const {
    return (m_bytes[macro_layout::kFlags.offset] & macro_layout::kHasDelayFlag) != 0;
}

void MacroRecord::setHasDelay(bool on) {
    // The other flag bits are always 0.
    m_bytes[macro_layout::kFlags.offset] = on ? macro_layout::kHasDelayFlag : 0;
}

EventSequence MacroRecord::deviceEvents() const {
    return EventSequence(field(m_bytes, macro_layout::kDeviceEvents));
}

void MacroRecord::setDeviceEvents(const EventSequence& events) {
    std::ranges::copy(events.bytes(), field(m_bytes, macro_layout::kDeviceEvents).begin());
}

EventSequence MacroRecord::keyEvents() const {
    return EventSequence(field(m_bytes, macro_layout::kKeyEvents));
}

void MacroRecord::setKeyEvents(const EventSequence& events) {
    std::ranges::copy(events.bytes(), field(m_bytes, macro_layout::kKeyEvents).begin());
}

std::size_t MacroList::namedCount() const {
    const auto firstFree = std::ranges::find_if(m_records, &MacroRecord::isFree);
    return static_cast<std::size_t>(firstFree - m_records.begin());
}

std::vector<std::uint8_t> MacroList::toBytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kMacroListSize);
    for (const MacroRecord& record : m_records)
        bytes.insert(bytes.end(), record.bytes().begin(), record.bytes().end());
    return bytes;
}

void MacroList::fillFromBytes(std::span<const std::uint8_t> bytes) {
    bytes = bytes.first(std::min(bytes.size(), kMacroListSize));
    for (std::size_t index = 0; index * kMacroRecordSize < bytes.size(); ++index) {
        const auto part = bytes.subspan(index * kMacroRecordSize);
        std::copy_n(part.begin(), std::min(part.size(), kMacroRecordSize),
                    m_records[index].bytes().begin());
    }
}

void fillMacroSlots(const MacroList& macros, SettingsImage& image) {
    const std::size_t count = std::min(macros.namedCount(), layout::kMacroSlotCount);
    for (std::size_t index = 0; index < count; ++index) {
        const MacroRecord& record = macros[index];
        const auto slot = image.block(layout::macroSlot(index));
        slot[macro_layout::kSlotLoopHigh] = static_cast<std::uint8_t>(record.loopCount() >> 8);
        slot[macro_layout::kSlotLoopLow] = static_cast<std::uint8_t>(record.loopCount() & 0xFF);
        const auto events = field(record.bytes(), macro_layout::kDeviceEvents);
        std::ranges::copy(events, slot.begin() + macro_layout::kSlotEvents);
    }
}

std::vector<std::string> listMacroEvents(const MacroRecord& record) {
    std::vector<std::string> texts;
    for (EventRow& row : eventRows(record.deviceEvents(), record.keyEvents()))
        texts.push_back(std::move(row.text));
    return texts;
}

std::uint16_t loopCountFromText(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    std::uint32_t value = 0;
    for (std::size_t i = start; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = (value * 10 + static_cast<std::uint32_t>(text[i] - '0')) & 0xFFFF;
    return static_cast<std::uint16_t>(value);
}

CommitResult commitMacro(MacroList& macros, int index, std::u16string_view name, bool loopOn,
                         std::string_view loopText, bool hasDelay,
                         const EventSequence& deviceEvents, const EventSequence& keyEvents) {
    if (index < 0 || static_cast<std::size_t>(index) >= macros.size())
        return CommitResult::NoSuchRecord;
    // What is stored ends at the first NUL, so "\0abc" is as empty as "".
    if (name.empty() || name.front() == u'\0')
        return CommitResult::EmptyName;
    MacroRecord& record = macros[static_cast<std::size_t>(index)];
    record.setName(name);
    record.setLoopCount(loopOn ? loopCountFromText(loopText) : 1);
    record.setHasDelay(hasDelay);
    record.setDeviceEvents(deviceEvents);
    record.setKeyEvents(keyEvents);
    return CommitResult::Stored;
}

std::u16string newMacroName(std::span<const std::u16string> names) {
    for (int number = 1;; ++number) {
        std::string digits = std::to_string(number);
        if (digits.size() < 3)
            digits.insert(0, 3 - digits.size(), '0');
        const std::u16string candidate = u"Macro_" + utf8ToUtf16(digits);
        if (std::ranges::find(names, candidate) == names.end())
            return candidate;
    }
}

} // namespace q905
