#pragma once
// The fixed places of the windows that the pictures must fit. The window code hit-tests and
// draws at these numbers; a picture drawn elsewhere would show a button where no click lands.

#include <QRect>

#include <array>

namespace q905::skin {

// Main window: the size of "main.png" is the window's size.
inline constexpr int kWindowWidth = 1000;
inline constexpr int kWindowHeight = 640;
inline constexpr int kTitleStripHeight = 31; // y 0..30; a drag there moves the window
inline constexpr int kPanelRight = 270;      // the lighting panel is x 0..270
inline constexpr int kBottomStripTop = 603;  // Apply, Profile and Macro sit below

// The window buttons, the help menu and the button plates are drawn at the places of the main
// window's controls table (app/MainWindowControls.h).

// Keyboard picture: big enough for every key rectangle with a case around it.
inline constexpr int kKeyboardWidth = 620;
inline constexpr int kKeyboardHeight = 270;

// Lighting panel controls.
inline constexpr int kDropBoxWidth = 221; // x 28..248
inline constexpr int kDropBoxHeight = 16; // y 133..148
inline constexpr int kSwatchSize = 20;
inline constexpr int kDirectionWidth = 36;
inline constexpr int kDirectionHeight = 16;
// Neighbouring direction buttons are 31..32 pixels apart, so a 36-pixel picture overlaps the
// next one: only its left part carries the plate, the rest stays transparent.
inline constexpr int kDirectionPlateWidth = 30;
inline constexpr int kToggleSize = 16;

// Scale pictures under the response-time and report-rate sliders (the sliders and their thumb
// geometry are the lighting panel's own).
inline constexpr int kScaleX = 25;
inline constexpr int kScaleWidth = 224;
inline constexpr int kScaleHeight = 14;

} // namespace q905::skin
