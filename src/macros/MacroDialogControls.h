// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro dialog's controls: where each one is, what it is, what it is called and its place in
// the Tab order. The dialog hit-tests, paints, moves the focus and names its controls from this
// table, and the skin's pictures are drawn to fit it.

#include "controls/ControlTable.h"

#include <array>

namespace q905::macro_dialog {

enum Control : int {
    kRecord,
    kDelayBox,
    kLoopBox,
    kNew,
    kDelete,
    kOk,
    kCancel,
    kCloseMark,
    kNameList,
    kEventList,
    kLoopCount,
};

// Painted controls come first: the table's order is also the order a click is tried in.
// clang-format off
inline constexpr std::array<ControlSpec, 11> kControls{{
    {kRecord, ControlKind::Button, {257, 100, 362, 124}, {"Start Recording", "Aufnahme starten"}, 3},
    {kDelayBox, ControlKind::Toggle, {338, 168, 352, 182},
     {"Delay between keystrokes", "Verz\u00F6gerung zwischen Tastenanschl\u00E4gen"}, 4},
    {kLoopBox, ControlKind::Toggle, {265, 315, 279, 329}, {"Loop", "Schleife"}, 5},
    {kNew, ControlKind::Button, {20, 368, 77, 392}, {"New", "Neu"}, 7},
    {kDelete, ControlKind::Button, {80, 368, 137, 392}, {"Delete", "L\u00F6schen"}, 8},
    {kOk, ControlKind::Button, {250, 368, 307, 392}, {"OK", "OK"}, 9},
    {kCancel, ControlKind::Button, {310, 368, 367, 392}, {"Cancel", "Abbrechen"}, 10},
    // Part of the background; Cancel and Esc are its keyboard ways.
    {kCloseMark, ControlKind::Button, {370, 8, 377, 15}, {"Close", "Schlie\u00DFen"}},
    {kNameList, ControlKind::List, {19, 63, 125, 359}, {"Macros", "Makros"}, 1},
    {kEventList, ControlKind::List, {137, 63, 243, 359}, {"Events", "Ereignisse"}, 2},
    {kLoopCount, ControlKind::TextField, {265, 331, 348, 348},
     {"Loop count", "Anzahl der Wiederholungen"}, 6},
}};
// clang-format on

// placeOf reads a control by its id.
static_assert([] {
    for (std::size_t i = 0; i < kControls.size(); ++i)
        if (kControls[i].id != static_cast<int>(i))
            return false;
    return true;
}());

inline constexpr const RegionRect& placeOf(Control control) {
    return kControls[static_cast<std::size_t>(control)].rect;
}

inline constexpr int kLoopDigits = 3;

// The background's size, should the picture be missing.
inline constexpr int kWidth = 384;
inline constexpr int kHeight = 402;

} // namespace q905::macro_dialog
