// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One 4-byte entry of the keyboard's key map (KeyMapBlock), read and written in place in the
// settings image by the key's matrix position.

#include "device/SettingsImage.h"
#include "keys/DefaultKeyMap.h"

#include <array>
#include <cstdint>

namespace q905 {

inline constexpr int kKeyMapPositionCount = 128;

// Byte 0 of an entry.
namespace entry_kind {
inline constexpr std::uint8_t kKeyUsages = 0;
inline constexpr std::uint8_t kFnLayer = 2;
inline constexpr std::uint8_t kConsumerUsage = 3;
inline constexpr std::uint8_t kMacroCall = 4;
inline constexpr std::uint8_t kHostAction = 10;
} // namespace entry_kind

using KeyMapEntry = std::array<std::uint8_t, 4>;

constexpr std::uint32_t entryValue(const KeyMapEntry& entry) {
    return std::uint32_t{entry[0]} | std::uint32_t{entry[1]} << 8 | std::uint32_t{entry[2]} << 16 |
           std::uint32_t{entry[3]} << 24;
}

inline KeyMapEntry keyMapEntryAt(const SettingsImage& image, int position) {
    const std::size_t offset = layout::kKeyMapBlock.offset + 4 * static_cast<std::size_t>(position);
    return {image.at(offset), image.at(offset + 1), image.at(offset + 2), image.at(offset + 3)};
}

inline void setKeyMapEntry(SettingsImage& image, int position, const KeyMapEntry& entry) {
    const std::size_t offset = layout::kKeyMapBlock.offset + 4 * static_cast<std::size_t>(position);
    for (std::size_t i = 0; i < entry.size(); ++i)
        image.at(offset + i) = entry[i];
}

inline KeyMapEntry defaultKeyMapEntry(int position) {
    const std::size_t offset = 4 * static_cast<std::size_t>(position);
    return {DefaultKeyMap[offset], DefaultKeyMap[offset + 1], DefaultKeyMap[offset + 2],
            DefaultKeyMap[offset + 3]};
}

} // namespace q905
