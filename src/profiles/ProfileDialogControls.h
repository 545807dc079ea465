// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile dialog's controls: the list with the current profile, IMPORT, EXPORT and the two
// close places. The dialog hit-tests, paints and moves the focus by this table, and the skin's
// background picture is drawn to fit it.

#include "controls/ControlTable.h"

#include <array>

namespace q905::profile_dialog {

enum Control : int { kCloseMark, kCloseArea, kImport, kExport, kList };

inline constexpr std::array<ControlSpec, 5> kControls{{
    // A mark a pixel inside its picture; the close area below repeats it for the keyboard.
    {kCloseMark, ControlKind::Button, {374, 10, 377, 14}, {"Close", "Schlie\u00DFen"}},
    {kCloseArea, ControlKind::Button, {17, 367, 62, 383}, {"Close", "Schlie\u00DFen"}, 4},
    {kImport, ControlKind::Button, {273, 51, 373, 90}, {"IMPORT", "Importieren"}, 2},
    {kExport, ControlKind::Button, {273, 98, 373, 137}, {"EXPORT", "Export"}, 3},
    {kList, ControlKind::List, {16, 50, 258, 332}, {"Current profile", "Aktuelles Profil"}, 1},
}};

// Where the buttons' captions start, per language.
struct CaptionPlace {
    int id;
    int x, y;
    int germanX;
    constexpr int xIn(Language language) const {
        return language == Language::German ? germanX : x;
    }
};
inline constexpr std::array<CaptionPlace, 2> kCaptions{{
    {kImport, 293, 62, 282},
    {kExport, 293, 110, 295},
}};

// Three more plates below EXPORT do nothing; a press on them does not drag the dialog either.
inline constexpr std::array<RegionRect, 3> kQuietBands{{
    {273, 146, 373, 185},
    {273, 193, 373, 232},
    {273, 241, 373, 280},
}};

inline constexpr int kWidth = 390;
inline constexpr int kHeight = 395;

} // namespace q905::profile_dialog
