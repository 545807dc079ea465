// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's 113 keys by key index: picture rectangle, label, matrix offset, key code.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace q905 {

inline constexpr int kKeyCount = 113;
// Top-left corner of the keyboard picture in the main window.
inline constexpr int kPictureOriginX = 309;
inline constexpr int kPictureOriginY = 92;
// Key labels are drawn at (303 + label x, 87 + label y) in the window.
inline constexpr int kLabelOriginX = 303;
inline constexpr int kLabelOriginY = 87;

struct KeyEntry {
    int left, top, right, bottom; // picture coordinates; right and bottom belong to the key
    std::string_view label;       // empty for the three unplaced media keys
    int labelX, labelY;
    std::uint16_t matrixOffset; // byte offset of the key's 4-byte record in a 512-byte block
    std::uint8_t keyCode;       // Windows virtual-key code

    constexpr int matrixPosition() const { return matrixOffset / 4; }
    constexpr bool isPlaced() const { return right > left; }
};

extern const std::array<KeyEntry, kKeyCount> KeyTable;

// Key indices with a special role.
inline constexpr int kLeftCtrlKeyIndex = 95;
inline constexpr int kWinKeyIndex = 96;
inline constexpr int kFnKeyIndex = 100;
inline constexpr int kRightCtrlKeyIndex = 102;
inline constexpr int kMainEnterKeyIndex = 54;
inline constexpr int kKeypadEnterKeyIndex = 94;
// Indices 17..19 have no place on the picture; every walk over the keys skips them.
constexpr bool isUnplacedKey(int keyIndex) {
    return keyIndex >= 17 && keyIndex <= 19;
}

// Both Ctrl keys, Win and Fn keep their function: the key map view never offers them and no
// assignment takes them (Fn carries the keyboard's second layer).
constexpr bool isFixedKey(int keyIndex) {
    return keyIndex == kLeftCtrlKeyIndex || keyIndex == kWinKeyIndex || keyIndex == kFnKeyIndex ||
           keyIndex == kRightCtrlKeyIndex;
}

// The key index whose matrix position is p, if any.
std::optional<int> keyIndexAtMatrixPosition(int position);

} // namespace q905
