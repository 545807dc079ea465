// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting panel's controls, declared once: hit-testing, painting, keyboard focus, screen
// readers and the skin generator all take their places from this table. The ids are the
// panelRegion and slider numbers, which the main window's own table does not reuse, so the
// window can put the table beside its own. Table order is hit order: the view switches lie over
// the first swatches and only take a click while a lighting profile is the effect.

#include "controls/ControlTable.h"
#include "controls/SliderGeometry.h"

#include <array>

namespace q905 {

namespace panelRegion {
// The panel's regions, numbered as in the main window's region table, which they share.
enum Region : int {
    kEffectBox = 3,
    kDirectionTop = 4,
    kDirectionBottom = 5,
    kDirectionRight = 6,
    kDirectionLeft = 7,
    kFirstSwatch = 8, // colour slots 1..7
    kLastSwatch = 14,
    kMulticolour = 15,
    kGameMode = 16,
    kWinKeyLock = 17,
    kPalmBox = 23,
    kPalmRight = 24,
    kPalmLeft = 25,
    kPalmColour = 33,
    kKeymapView = 34,
    kCustomView = 35,
};
} // namespace panelRegion

namespace slider {
// The sliders' ids, apart from every region number so one id names one control of the window.
enum Id : int {
    kSpeed = 1007,
    kReportRate = 1010,
    kBrightness = 1017,
    kResponseTime = 1018,
    kPalmBrightness = 1037,
    kPalmSpeed = 1038,
};
} // namespace slider

namespace panel_controls_detail {
// A slider's place: its 220 x 17 track from the top-left corner.
constexpr RegionRect track(int left, int top) {
    return {left, top, left + kTrackWidth - 1, top + kTrackHeight - 1};
}
} // namespace panel_controls_detail

inline constexpr std::array<ControlSpec, 27> PanelControls{{
    // clang-format off
    {panelRegion::kEffectBox, ControlKind::List, {28, 133, 248, 148},
     {"Light effects", "Lichteffekte"}, 100},
    {panelRegion::kDirectionTop, ControlKind::Radio, {116, 152, 151, 167},
     {"Light direction up", "Effektrichtung oben"}, 101},
    {panelRegion::kDirectionBottom, ControlKind::Radio, {148, 152, 183, 167},
     {"Light direction down", "Effektrichtung unten"}, 102},
    {panelRegion::kDirectionRight, ControlKind::Radio, {179, 152, 214, 167},
     {"Light direction right", "Effektrichtung rechts"}, 103},
    {panelRegion::kDirectionLeft, ControlKind::Radio, {211, 152, 246, 167},
     {"Light direction left", "Effektrichtung links"}, 104},
    {panelRegion::kKeymapView, ControlKind::Radio, {28, 175, 42, 189},
     {"Keymap", "Keymap"}, 105},
    {panelRegion::kCustomView, ControlKind::Radio, {130, 175, 144, 189},
     {"DIY colours", "Custom"}, 106},
    {8, ControlKind::Swatch, {28, 179, 48, 199}, {"Colour 1", "Farbe 1"}, 107},
    {9, ControlKind::Swatch, {53, 179, 73, 199}, {"Colour 2", "Farbe 2"}, 108},
    {10, ControlKind::Swatch, {78, 179, 98, 199}, {"Colour 3", "Farbe 3"}, 109},
    {11, ControlKind::Swatch, {103, 179, 123, 199}, {"Colour 4", "Farbe 4"}, 110},
    {12, ControlKind::Swatch, {128, 179, 148, 199}, {"Colour 5", "Farbe 5"}, 111},
    {13, ControlKind::Swatch, {153, 179, 173, 199}, {"Colour 6", "Farbe 6"}, 112},
    {14, ControlKind::Swatch, {178, 179, 198, 199}, {"Colour 7", "Farbe 7"}, 113},
    {panelRegion::kMulticolour, ControlKind::Toggle, {202, 179, 222, 199},
     {"Multicolour", "Mehrfarbig"}, 114},
    {slider::kBrightness, ControlKind::Slider, panel_controls_detail::track(28, 221),
     {"Brightness", "Helligkeit"}, 115},
    {slider::kSpeed, ControlKind::Slider, panel_controls_detail::track(28, 260),
     {"Speed", "Geschwindigkeit"}, 116},
    {panelRegion::kPalmBox, ControlKind::List, {28, 317, 248, 332},
     {"Palm Rest Effects", "Palm Rest Effects"}, 117},
    {panelRegion::kPalmRight, ControlKind::Radio, {116, 337, 151, 352},
     {"Palm rest direction right", "Handauflage Richtung rechts"}, 118},
    {panelRegion::kPalmLeft, ControlKind::Radio, {148, 337, 183, 352},
     {"Palm rest direction left", "Handauflage Richtung links"}, 119},
    {panelRegion::kPalmColour, ControlKind::Swatch, {125, 360, 145, 380},
     {"Palm Rest Color", "Palm Rest Color"}, 120},
    {slider::kPalmBrightness, ControlKind::Slider, panel_controls_detail::track(28, 395),
     {"Palm rest brightness", "Palm rest brightness"}, 121},
    {slider::kPalmSpeed, ControlKind::Slider, panel_controls_detail::track(28, 432),
     {"Palm rest speed", "Palm rest speed"}, 122},
    {slider::kResponseTime, ControlKind::Slider, panel_controls_detail::track(26, 483),
     {"Response time", "Wiederholrate"}, 123},
    {slider::kReportRate, ControlKind::Slider, panel_controls_detail::track(26, 534),
     {"Report rate", "Report rate"}, 124},
    {panelRegion::kGameMode, ControlKind::Toggle, {94, 578, 114, 598},
     {"Game mode", "Spielmodus"}, 125},
    {panelRegion::kWinKeyLock, ControlKind::Toggle, {231, 578, 251, 598},
     {"Windows key lock", "Windowstasten sperren"}, 126},
    // clang-format on
}};

// The colour square drawn in a swatch's place (and the multicolour picture).
inline constexpr int kColourSquareSize = 20;

// The panel's control with this id, which must be one of the table's.
constexpr const ControlSpec& panelControl(int id) {
    for (const ControlSpec& control : PanelControls)
        if (control.id == id)
            return control;
    throw "not a control of the lighting panel"; // a compile-time error where it is constexpr
}

constexpr bool isPanelRegion(int region) {
    for (const ControlSpec& control : PanelControls)
        if (control.id == region && control.kind != ControlKind::Slider)
            return true;
    return false;
}

constexpr bool isPanelSlider(int id) {
    for (const ControlSpec& control : PanelControls)
        if (control.id == id && control.kind == ControlKind::Slider)
            return true;
    return false;
}

} // namespace q905
