#pragma once
// The profile dialog's fixed places: its click regions, the bands that are not dragged, and the
// list. The dialog hit-tests at these numbers and the skin's pictures are drawn to fit them.

#include "controls/RegionTable.h"

#include <array>

namespace q905::profile_dialog {

enum Region : int { kCloseMark = 0, kCloseArea = 1, kImport = 2, kExport = 3 };

inline constexpr std::array<RegionRect, 4> kRegions{{
    {374, 10, 377, 14},  // close mark
    {17, 367, 62, 383},  // close area
    {273, 51, 373, 90},  // IMPORT
    {273, 98, 373, 137}, // EXPORT
}};

// A press here does not drag the dialog: the two close regions and five button bands.
inline constexpr std::array<RegionRect, 7> kNoDragRegions{{
    {374, 10, 377, 14},
    {17, 367, 62, 383},
    {273, 51, 373, 90},
    {273, 98, 373, 137},
    {273, 146, 373, 185},
    {273, 193, 373, 232},
    {273, 241, 373, 280},
}};

// x, y, width, height.
inline constexpr std::array<int, 4> kList{16, 50, 243, 283};

inline constexpr int kWidth = 390;
inline constexpr int kHeight = 395;

} // namespace q905::profile_dialog
