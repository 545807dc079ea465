#pragma once
// The lighting panel's entries in the main window's button table, by region number. The window
// hands every click on one of them to the panel.

namespace q905 {

namespace panelRegion {
inline constexpr int kEffectBox = 3;
inline constexpr int kDirectionTop = 4;
inline constexpr int kDirectionBottom = 5;
inline constexpr int kDirectionRight = 6;
inline constexpr int kDirectionLeft = 7;
inline constexpr int kFirstSwatch = 8; // colour slots 1..7
inline constexpr int kLastSwatch = 14;
inline constexpr int kMulticolour = 15;
inline constexpr int kGameMode = 16;
inline constexpr int kWinKeyLock = 17;
inline constexpr int kPalmBox = 23;
inline constexpr int kPalmRight = 24;
inline constexpr int kPalmLeft = 25;
inline constexpr int kPalmColour = 33;
inline constexpr int kKeymapView = 34;
inline constexpr int kCustomView = 35;
} // namespace panelRegion

constexpr bool isPanelRegion(int region) {
    using namespace panelRegion;
    return (region >= kEffectBox && region <= kWinKeyLock) ||
           (region >= kPalmBox && region <= kPalmLeft) ||
           (region >= kPalmColour && region <= kCustomView);
}

} // namespace q905
