#pragma once
// The panel's two drop-down lists (effects and palm-rest effects): modal overlays that take
// the next click anywhere in the window, with a highlighted row under the pointer.

#include "device/SettingsImage.h"

#include <cstdint>
#include <optional>

namespace q905 {

inline constexpr std::uint8_t kNoRow = 255;

// Rows are 20 pixels high and span x 28..248.
inline constexpr int kListLeft = 28;
inline constexpr int kListRight = 248;
inline constexpr int kListRowHeight = 20;
inline constexpr int kEffectListTop = 148;
inline constexpr int kPalmListTop = 332;

struct PanelLists {
    bool effectListOpen = false;
    bool palmListOpen = false;
    std::uint8_t effectHover = kNoRow;
    std::uint8_t palmHover = kNoRow;

    bool isOpen() const { return effectListOpen || palmListOpen; }
};

std::optional<int> effectListRowAt(int x, int y);
std::optional<int> palmListRowAt(int x, int y);

// Hover over the open list; true when its highlighted row changed.
bool hoverOpenList(PanelLists& lists, int x, int y);

struct ListClick {
    bool effectPicked = false;
    bool perKeyColourMode = false; // meaningful when an effect was picked
};
// A click while a list is open: picks the row under it, if any, and closes the list.
ListClick clickOpenList(PanelLists& lists, SettingsImage& image, int x, int y);

} // namespace q905
