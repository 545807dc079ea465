// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting panel's captions: what they say in both languages, where they start and their
// font height. The names its controls carry are in lighting/PanelControls.h.

#include "base/Language.h"
#include "base/WindowText.h"

#include <optional>

namespace q905::panel_texts {

struct Caption {
    WindowText text;
    int x, y, size;
    std::optional<int> germanX{}; // where the German text needs another start

    constexpr int xIn(Language language) const {
        return language == Language::German && germanX ? *germanX : x;
    }
};

inline constexpr Caption kLighting{{"Lighting", "Licht"}, 27, 85, 15};
inline constexpr Caption kLightEffects{{"Light effects", "Lichteffekte"}, 28, 112, 15};
inline constexpr Caption kSpeed{{"Speed", "Effekt geschwindigkeit"}, 28, 248, 13};
inline constexpr Caption kSlow{{"Slow", "Langsam"}, 28, 275, 13};
inline constexpr Caption kFast{{"Fast", "Schnell"}, 230, 275, 13};
inline constexpr Caption kBrightness{{"Brightness", "Helligkeit"}, 28, 206, 13};
inline constexpr Caption kLow{{"Low", "niedrig"}, 28, 235, 13};
inline constexpr Caption kHigh{{"High", "hoch"}, 230, 235, 13};
inline constexpr Caption kLightDirection{{"Light Direction", "Effekt Richtung"}, 29, 152, 15};
// Beside their marks: one line lower they would run into the "Brightness" caption.
inline constexpr Caption kKeymap{{"Keymap", "Keymap"}, 45, 174, 15};
inline constexpr Caption kDiy{{"DIY", "Custom"}, 147, 174, 15};
inline constexpr Caption kEffectName{{}, 28, 133, 14};
inline constexpr Caption kGameMode{{"Game Mode", "Spielmodus"}, 26, 576, 16};
inline constexpr Caption kWindowsKey{{"Windows Key", "Windowstasten"}, 133, 571, 16};
inline constexpr Caption kLock{{"Lock", "sperren"}, 182, 584, 16, 178};
inline constexpr Caption kResponseTime{{"RESPONSE TIME", "Wiederholrate"}, 26, 460, 15};
// The report rate and the palm-rest block are captioned in English in both languages.
inline constexpr Caption kReportRate{{"REPORT RATE", "REPORT RATE"}, 26, 518, 15};
inline constexpr Caption kPalmBrightness{{"Brightness", "Brightness"}, 28, 380, 13};
inline constexpr Caption kPalmLow{{"Low", "Low"}, 28, 410, 13};
inline constexpr Caption kPalmHigh{{"High", "High"}, 230, 410, 13};
inline constexpr Caption kPalmSpeed{{"Speed", "Speed"}, 28, 420, 13};
inline constexpr Caption kPalmSlow{{"Slow", "Slow"}, 28, 448, 13};
inline constexpr Caption kPalmFast{{"Fast", "Fast"}, 230, 448, 13};
inline constexpr Caption kPalmRestEffects{{"Palm Rest Effects", "Palm Rest Effects"}, 28, 302, 15};
inline constexpr Caption kPalmDirection{{"Light Direction", "Effekt Richtung"}, 29, 340, 15};
inline constexpr Caption kPalmRestColour{{"Palm Rest Color", "Palm Rest Color"}, 28, 363, 15};
inline constexpr Caption kPalmEffectName{{}, 28, 318, 14};
// The rows of an open list.
inline constexpr int kListRowTextSize = 18;

} // namespace q905::panel_texts
