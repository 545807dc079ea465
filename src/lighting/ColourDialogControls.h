// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour dialog's controls: the 48 colour cells printed on its background, the grid they
// make together (one Tab stop; arrows move through it), the spectrum, the six number fields,
// OK, Cancel and the close mark printed on the background. The dialog, its hit-testing and the
// skin's background picture all read these places.

#include "controls/ControlTable.h"

#include <array>

namespace q905::colour_dialog {

enum Control : int {
    kFirstCell = 0, // cells 0..47, row by row, are the ids 0..47
    kCells = 100,   // the grid as a whole: between two cells, and the keyboard's stop
    kSpectrum,
    kHue,
    kSaturation,
    kLuminosity,
    kRed,
    kGreen,
    kBlue,
    kOk,
    kCancel,
    kCloseMark,
};

inline constexpr int kWidth = 336;
inline constexpr int kHeight = 210;

inline constexpr int kCellColumns = 8;
inline constexpr int kPrintedCells = 48;
inline constexpr std::array<int, 6> kPrintedRowTops{41, 57, 73, 89, 105, 122};
static_assert(kPrintedRowTops.size() * kCellColumns == kPrintedCells);
inline constexpr int kCellLeft = 13;
inline constexpr int kCellPitch = 19;
// A cell takes clicks on x..x + 13, y..y + 12; its colour fills 12 x 11 from its top-left.
inline constexpr int kCellHitWidth = 14;
inline constexpr int kCellHitHeight = 13;

// Where the chosen colour is shown; not a control.
inline constexpr RegionRect kPreview{14, 150, 58, 194};

constexpr RegionRect cellRect(int column, int top) {
    const int left = kCellLeft + kCellPitch * column;
    return {left, top, left + kCellHitWidth - 1, top + kCellHitHeight - 1};
}

namespace detail {
constexpr RegionRect field(int left, int top) {
    return {left, top, left + 29, top + 14};
}

constexpr std::array<ControlSpec, 10> kOthers{{
    // After the cells, so that a cell wins and the grid takes what lies between them.
    {kCells, ControlKind::Swatch, {13, 41, 159, 134}, {"Basic colours", "Grundfarben"}, 1},
    {kSpectrum, ControlKind::Slider, {171, 27, 330, 166}, {"Colour spectrum", "Farbspektrum"}, 2},
    {kHue, ControlKind::TextField, field(80, 150), {"Hue", "Farbton"}, 3},
    {kSaturation, ControlKind::TextField, field(80, 165), {"Saturation", "S\u00E4ttigung"}, 4},
    {kLuminosity, ControlKind::TextField, field(80, 180), {"Luminosity", "Helligkeit"}, 5},
    {kRed, ControlKind::TextField, field(128, 150), {"Red", "Rot"}, 6},
    {kGreen, ControlKind::TextField, field(128, 165), {"Green", "Gr\u00FCn"}, 7},
    {kBlue, ControlKind::TextField, field(128, 180), {"Blue", "Blau"}, 8},
    {kOk, ControlKind::Button, {218, 187, 264, 201}, {"OK", "OK"}, 9},
    {kCancel, ControlKind::Button, {270, 187, 316, 201}, {"Cancel", "Abbrechen"}, 10},
}};

constexpr auto buildControls() {
    std::array<ControlSpec, kPrintedCells + kOthers.size() + 1> controls{};
    for (int cell = 0; cell < kPrintedCells; ++cell)
        controls[static_cast<std::size_t>(cell)] = {
            kFirstCell + cell,
            ControlKind::Swatch,
            cellRect(cell % kCellColumns, kPrintedRowTops[cell / kCellColumns]),
            {"Basic colour", "Grundfarbe"}};
    for (std::size_t i = 0; i < kOthers.size(); ++i)
        controls[kPrintedCells + i] = kOthers[i];
    // Printed on the background; the Cancel button repeats it for the keyboard.
    controls.back() = {
        kCloseMark, ControlKind::Button, {322, 8, 327, 14}, {"Close", "Schlie\u00DFen"}};
    return controls;
}
} // namespace detail

inline constexpr auto kControls = detail::buildControls();

constexpr bool isCell(int id) {
    return id >= kFirstCell && id < kFirstCell + kPrintedCells;
}

} // namespace q905::colour_dialog
