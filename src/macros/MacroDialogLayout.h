#pragma once
// The macro dialog's fixed places: its click regions, its two lists and the loop box. The
// dialog hit-tests and draws at these numbers and the skin's pictures are drawn to fit them.

#include "controls/RegionTable.h"

#include <array>

namespace q905::macro_dialog {

enum Region : int {
    kRecord = 0,
    kDelayBox = 1,
    kLoopBox = 2,
    kNew = 3,
    kDelete = 4,
    kOk = 5,
    kCancel = 6,
    kCloseMark = 7,
};

inline constexpr std::array<RegionRect, 8> kRegions{{
    {257, 100, 362, 124}, // record button
    {338, 168, 352, 182}, // "Delay between keystrokes" box
    {265, 315, 279, 329}, // "Loop" box
    {20, 368, 77, 392},   // New
    {80, 368, 137, 392},  // Delete
    {250, 368, 307, 392}, // OK
    {310, 368, 367, 392}, // Cancel
    {370, 8, 377, 15},    // close mark, part of the background
}};

// x, y, width, height.
inline constexpr std::array<int, 4> kNameList{19, 63, 107, 297};
inline constexpr std::array<int, 4> kEventList{137, 63, 107, 297};
inline constexpr std::array<int, 4> kLoopEdit{265, 331, 84, 18};
inline constexpr int kLoopDigits = 3;

// The background's size, should the picture be missing.
inline constexpr int kWidth = 384;
inline constexpr int kHeight = 402;

} // namespace q905::macro_dialog
