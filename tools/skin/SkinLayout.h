// SPDX-License-Identifier: GPL-3.0-or-later
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

// Scale pictures under the response-time and report-rate sliders (the sliders, their thumb
// geometry and the panel's other controls are in lighting/PanelControls.h).
inline constexpr int kScaleX = 25;
inline constexpr int kScaleWidth = 224;
inline constexpr int kScaleHeight = 14;

} // namespace q905::skin
