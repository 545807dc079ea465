// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key assignment dialog's controls, one line each: the dialog hit-tests, paints, moves the
// keyboard focus and names them for screen readers from this table, and the skin generator
// draws their pictures at the same places.

#include "base/WindowText.h"
#include "controls/ControlTable.h"

#include <array>

namespace q905::key_dialog {

enum Control : int {
    kDisableBox,
    kCloseMark,
    kKeysTab,
    kMacroTab,
    kBasicTab,
    kAdvanceTab,
    kReset,
    kClose,
    kSave,
    kSingleField,
    kCombineField,
    kMacroList,
    kFunctionTree,
    kLaunchMark,                     // + row 0..3: the row's radio mark
    kLaunchPath = kLaunchMark + 4,   // + row: the box showing the row's path
    kLaunchBrowse = kLaunchPath + 4, // + row: "…", the row's picker
    kControlCount = kLaunchBrowse + 4,
};

// The Advance page's rows: "Play music", "Startup", "Open file", "Open folder", one under the
// other, each like row 0 moved down by the pitch.
inline constexpr int kLaunchRowCount = 4;
inline constexpr int kLaunchRowPitch = 62;
inline constexpr std::array<WindowText, kLaunchRowCount> kLaunchRowNames{{
    {"Play music", "Spiel Musik"},
    {"Startup", "Autostart"},
    {"Open file", "Datei \u00F6ffnen"},
    {"Open folder", "Ordner \u00F6ffnen"},
}};

constexpr RegionRect inLaunchRow(RegionRect rowZero, int row) {
    const int down = row * kLaunchRowPitch;
    return {rowZero.left, rowZero.top + down, rowZero.right, rowZero.bottom + down};
}

// A row's label is plain text, not a control, but a click on it does nothing (it is not the
// page's background).
inline constexpr RegionRect kLaunchLabelRowZero{15, 81, 246, 106};

// The disable box takes clicks this far around its picture.
inline constexpr int kDisableBoxSlack = 5;

inline constexpr RegionRect kMarkRowZero{1, 85, 11, 94};
inline constexpr RegionRect kPathRowZero{86, 79, 314, 104};
inline constexpr RegionRect kBrowseRowZero{317, 79, 377, 104};

// In hit-test order: the disable box with its slack first. The edit fields, the macro list and
// the tree are real widgets; the others are painted.
inline constexpr std::array<ControlSpec, kControlCount> kControls{{
    {kDisableBox,
     ControlKind::Toggle,
     {14, 346, 34, 365},
     {"Disable key", "Deaktivieren Taste"},
     40},
    {kCloseMark, ControlKind::Button, {371, 8, 377, 15}, {"Close", "Schlie\u00DFen"}},
    {kKeysTab, ControlKind::Tab, {0, 28, 94, 55}, {"Single/Combine", "Single/Combine"}, 1},
    // The first two tabs keep their English labels in German.
    {kMacroTab, ControlKind::Tab, {97, 28, 191, 55}, {"Macro", "Macro"}, 2},
    {kBasicTab, ControlKind::Tab, {194, 28, 288, 55}, {"Basic", "Einfach"}, 3},
    {kAdvanceTab, ControlKind::Tab, {291, 28, 385, 55}, {"Advance", "Fortgeschritten"}, 4},
    {kReset, ControlKind::Button, {130, 346, 200, 368}, {"Reset", "R\u00FCcksetzen"}, 41},
    {kClose, ControlKind::Button, {220, 346, 290, 368}, {"Close", "Schlie\u00DFen"}, 42},
    {kSave, ControlKind::Button, {310, 346, 380, 368}, {"Save", "Speichern"}, 43},
    {kSingleField, ControlKind::TextField, {12, 97, 373, 111}, {"Single", "Einzeln"}, 10},
    {kCombineField, ControlKind::TextField, {12, 186, 373, 200}, {"Combine", "Kombiniere"}, 11},
    {kMacroList, ControlKind::List, {10, 60, 369, 309}, {"Macros", "Makros"}, 12},
    {kFunctionTree, ControlKind::Tree, {10, 60, 369, 309}, {"Functions", "Funktionen"}, 13},
    {kLaunchMark + 0, ControlKind::Radio, inLaunchRow(kMarkRowZero, 0), kLaunchRowNames[0], 20},
    {kLaunchMark + 1, ControlKind::Radio, inLaunchRow(kMarkRowZero, 1), kLaunchRowNames[1], 22},
    {kLaunchMark + 2, ControlKind::Radio, inLaunchRow(kMarkRowZero, 2), kLaunchRowNames[2], 24},
    {kLaunchMark + 3, ControlKind::Radio, inLaunchRow(kMarkRowZero, 3), kLaunchRowNames[3], 26},
    {kLaunchPath + 0,
     ControlKind::TextField,
     inLaunchRow(kPathRowZero, 0),
     {"Music file", "Musikdatei"}},
    {kLaunchPath + 1,
     ControlKind::TextField,
     inLaunchRow(kPathRowZero, 1),
     {"Program", "Programm"}},
    {kLaunchPath + 2, ControlKind::TextField, inLaunchRow(kPathRowZero, 2), {"File", "Datei"}},
    {kLaunchPath + 3, ControlKind::TextField, inLaunchRow(kPathRowZero, 3), {"Folder", "Ordner"}},
    {kLaunchBrowse + 0,
     ControlKind::Button,
     inLaunchRow(kBrowseRowZero, 0),
     {"Choose a music file", "Musikdatei w\u00E4hlen"},
     21},
    {kLaunchBrowse + 1,
     ControlKind::Button,
     inLaunchRow(kBrowseRowZero, 1),
     {"Choose a program", "Programm w\u00E4hlen"},
     23},
    {kLaunchBrowse + 2,
     ControlKind::Button,
     inLaunchRow(kBrowseRowZero, 2),
     {"Choose a file", "Datei w\u00E4hlen"},
     25},
    {kLaunchBrowse + 3,
     ControlKind::Button,
     inLaunchRow(kBrowseRowZero, 3),
     {"Choose a folder", "Ordner w\u00E4hlen"},
     27},
}};

constexpr int launchRowOf(int id, Control first) {
    return id >= first && id < first + kLaunchRowCount ? id - first : -1;
}

} // namespace q905::key_dialog
