// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host-side record of what the user chose for each key: 255 records of 772 bytes, the second
// half of keymap.bin and of every profile file. Kept as raw bytes with typed accessors, since the
// layout is exchanged with other installations byte for byte.

#include "device/SettingsLayout.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace q905 {

inline constexpr std::size_t kKeyAssignmentRecordSize = 772;
inline constexpr std::size_t kKeyAssignmentRecordCount = 255;
inline constexpr std::size_t kKeyAssignmentTableSize =
    kKeyAssignmentRecordSize * kKeyAssignmentRecordCount;
static_assert(kKeyAssignmentTableSize == 196860);

// keymap.bin and profile files: the settings image, then the table; no header.
inline constexpr std::size_t kHostStateFileSize = kSettingsImageSize + kKeyAssignmentTableSize;
static_assert(kHostStateFileSize == 206928);

namespace record_layout {
inline constexpr std::size_t kKeyCode = 0;
inline constexpr std::size_t kGroup = 1;
inline constexpr Block kData{2, 255};
inline constexpr std::size_t kCount = 257;
inline constexpr Block kZero{258, 2};
inline constexpr Block kLaunchPath{260, 512}; // UTF-16LE, NUL-terminated
inline constexpr std::size_t kMaxLaunchPathLength = kLaunchPath.size / 2 - 1;
static_assert(kLaunchPath.end() == kKeyAssignmentRecordSize);
} // namespace record_layout

enum class FunctionGroup : std::uint8_t {
    SingleKey = 0,
    KeyCombination = 1,
    MacroKey = 2,
    CatalogueFunction = 3,
    PlayMusic = 4,
    Startup = 5,
    OpenFile = 6,
    OpenFolder = 7,
    RestoreDefault = 8, // only handed to commitAssignment, never stored
    None = 255,         // the dialog's Advance page before a choice; never stored
};

constexpr bool isLaunchGroup(std::uint8_t group) {
    return group >= static_cast<std::uint8_t>(FunctionGroup::PlayMusic) &&
           group <= static_cast<std::uint8_t>(FunctionGroup::OpenFolder);
}
constexpr bool isLaunchGroup(FunctionGroup group) {
    return isLaunchGroup(static_cast<std::uint8_t>(group));
}

class KeyAssignmentRecord {
  public:
    using Bytes = std::array<std::uint8_t, kKeyAssignmentRecordSize>;

    Bytes& bytes() { return m_bytes; }
    const Bytes& bytes() const { return m_bytes; }

    std::uint8_t keyCode() const { return m_bytes[record_layout::kKeyCode]; }
    void setKeyCode(std::uint8_t code) { m_bytes[record_layout::kKeyCode] = code; }
    // The raw byte: a file may hold any value here.
    std::uint8_t group() const { return m_bytes[record_layout::kGroup]; }
    void setGroup(FunctionGroup group) {
        m_bytes[record_layout::kGroup] = static_cast<std::uint8_t>(group);
    }
    std::span<std::uint8_t, 255> data() {
        return std::span<std::uint8_t, 255>(m_bytes.data() + record_layout::kData.offset, 255);
    }
    std::span<const std::uint8_t, 255> data() const {
        return std::span<const std::uint8_t, 255>(m_bytes.data() + record_layout::kData.offset,
                                                  255);
    }
    std::uint8_t count() const { return m_bytes[record_layout::kCount]; }
    void setCount(std::uint8_t count) { m_bytes[record_layout::kCount] = count; }

    std::u16string launchPath() const;
    // Writes the path and its NUL; the bytes after the NUL are left as they were. A path longer
    // than the field allows is not stored: returns false.
    bool setLaunchPath(std::u16string_view path);

    bool operator==(const KeyAssignmentRecord&) const = default;

  private:
    Bytes m_bytes{};
};
static_assert(sizeof(KeyAssignmentRecord) == kKeyAssignmentRecordSize);

struct KeyAssignmentTable {
    std::array<KeyAssignmentRecord, kKeyAssignmentRecordCount> records{};

    KeyAssignmentRecord& operator[](std::size_t index) { return records[index]; }
    const KeyAssignmentRecord& operator[](std::size_t index) const { return records[index]; }

    std::span<std::uint8_t, kKeyAssignmentTableSize> bytes() {
        return std::span<std::uint8_t, kKeyAssignmentTableSize>(records[0].bytes().data(),
                                                                kKeyAssignmentTableSize);
    }
    std::span<const std::uint8_t, kKeyAssignmentTableSize> bytes() const {
        return std::span<const std::uint8_t, kKeyAssignmentTableSize>(records[0].bytes().data(),
                                                                      kKeyAssignmentTableSize);
    }

    void clear() { records.fill(KeyAssignmentRecord{}); }
    // Byte 0 of records 0..112 always holds the key's code, whatever a file supplied.
    void resetKeyCodes();

    bool operator==(const KeyAssignmentTable&) const = default;
};
static_assert(sizeof(KeyAssignmentTable) == kKeyAssignmentTableSize);

// One byte per key index; 1 = the key carries something other than its default or is disabled.
using KeyAssignedFlags = std::array<std::uint8_t, kKeyAssignmentRecordCount>;

// The long-lived host state of key assignment: the table the user edits, its snapshot taken and
// restored together with AppliedSettings, and the assigned-key marks. The tables live on the heap
// (almost 200 KB each).
class KeyAssignments {
  public:
    KeyAssignments();
    KeyAssignments(const KeyAssignments& other);
    KeyAssignments& operator=(const KeyAssignments& other);

    KeyAssignmentTable& table() { return *m_table; }
    const KeyAssignmentTable& table() const { return *m_table; }
    KeyAssignmentTable& appliedTable() { return *m_applied; }
    const KeyAssignmentTable& appliedTable() const { return *m_applied; }
    KeyAssignedFlags& flags() { return m_flags; }
    const KeyAssignedFlags& flags() const { return m_flags; }

    // AppliedAssignmentTable <- KeyAssignmentTable.
    void snapshot() { *m_applied = *m_table; }
    // KeyAssignmentTable <- AppliedAssignmentTable.
    void revert() { *m_table = *m_applied; }
    // Factory state: no assignments, no marks, key codes in place.
    void clearAll();

    // Set while the table holds changes that keymap.bin could not take, so that reloading the
    // table from the file does not throw them away.
    bool fileBehind() const { return m_fileBehind; }
    void setFileBehind(bool behind) { m_fileBehind = behind; }

  private:
    std::unique_ptr<KeyAssignmentTable> m_table;
    std::unique_ptr<KeyAssignmentTable> m_applied;
    KeyAssignedFlags m_flags{};
    bool m_fileBehind = false;
};

} // namespace q905
