// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's own controls: the window buttons, Profile, Macro, Apply, the revert pixel
// and the help menu's items. The window's whole table adds the lighting panel's controls and
// the keys of the keyboard picture (mainWindowTable). The skin generator draws the plates at
// these rectangles.

#include "base/WindowText.h"
#include "controls/ControlTable.h"
#include "keys/KeyTable.h"

#include <array>
#include <span>
#include <vector>

namespace q905 {

namespace mainControl {
// The buttons keep the region numbers the lighting panel's ids were numbered around.
enum Id : int {
    kHelp = 0,
    kHide = 1,
    kClose = 2,
    kProfiles = 18,
    kMacros = 19,
    kRevert = 21,
    kApply = 22,
    kFactoryReset = 40, // the help menu's items
    kFirmwareUpdate = 41,
    kFirstKey = 2000, // + key index
};
} // namespace mainControl

// The panel's controls take Tab orders 100..199; the keyboard picture is one stop in between.
inline constexpr int kKeyboardTabOrder = 200;

inline constexpr std::array<ControlSpec, 9> kMainWindowControls{{
    {mainControl::kHelp, ControlKind::Button, {936, 5, 952, 20}, {"Help", "Hilfe"}, 400},
    {mainControl::kHide, ControlKind::Button, {957, 5, 973, 20}, {"Hide", "Ausblenden"}, 401},
    {mainControl::kClose, ControlKind::Button, {978, 5, 994, 20}, {"Close", "Schlie\u00DFen"}, 402},
    {mainControl::kProfiles, ControlKind::Button, {25, 610, 83, 633}, {"Profile", "Profil"}, 300},
    {mainControl::kMacros, ControlKind::Button, {107, 610, 164, 632}, {"Macro", "Macro"}, 301},
    // The single top-left pixel: a mouse-only way back to the applied settings.
    {mainControl::kRevert, ControlKind::Button, {0, 0, 0, 0},
     {"Revert to the applied settings", "Auf die angewandten Einstellungen zur\u00FCcksetzen"}},
    {mainControl::kApply, ControlKind::Button, {868, 610, 926, 633}, {"Apply", "Anwenden"}, 302},
    // Shown only while the menu is open; arrows move between them.
    {mainControl::kFactoryReset, ControlKind::MenuItem, {830, 22, 996, 46},
     {"Reset settings", "Einstellung zur\u00FCcksetzen"}},
    {mainControl::kFirmwareUpdate, ControlKind::MenuItem, {830, 47, 996, 71},
     {"Firmware update", "Firmware aktualisieren"}},
}};

// The help menu's box; its third row shows the version and a click there only closes it.
inline constexpr RegionRect kHelpMenuBox{830, 22, 996, 99};

constexpr int keyControlId(int key) {
    return mainControl::kFirstKey + key;
}
constexpr bool isKeyControl(int id) {
    return id >= mainControl::kFirstKey && id < mainControl::kFirstKey + kKeyCount;
}
constexpr int keyOfControl(int id) {
    return id - mainControl::kFirstKey;
}

// The key's rectangle in the window (edges included).
RegionRect keyControlRect(int key);

// The window's table: its own controls, the panel's, then the placed keys in key order. Only
// the current key is a tab stop: the keyboard picture is one stop and arrows move across it.
std::vector<ControlSpec> mainWindowTable(std::span<const ControlSpec> panel, int currentKey);

} // namespace q905
