// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour dialog's texts in both languages (UTF-8); its controls' names are in its table.

#include "base/WindowText.h"

namespace q905::colour_texts {

inline constexpr WindowText kTitle{"Colour", "Farbe"};
inline constexpr WindowText kHeading{"COLOR", "FARBE"};
// A cell as a screen reader names it; %1..%3 are its red, green and blue values.
inline constexpr WindowText kCellName{"Red %1, green %2, blue %3", "Rot %1, Gr\u00FCn %2, Blau %3"};

} // namespace q905::colour_texts
