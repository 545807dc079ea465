// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The factory key map: 128 four-byte entries by matrix position, same layout as KeyMapBlock.

#include <array>
#include <cstdint>

namespace q905 {

inline constexpr std::size_t kKeyMapSize = 512;
using KeyMapBytes = std::array<std::uint8_t, kKeyMapSize>;

extern const KeyMapBytes DefaultKeyMap;

} // namespace q905
