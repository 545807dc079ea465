// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panel's two drop-down lists (effects and palm-rest effects): modal overlays that take
// the next click anywhere in the window, with a highlighted row under the pointer.

#include "device/SettingsImage.h"
#include "lighting/PanelControls.h"

#include <cstdint>
#include <optional>

namespace q905 {

inline constexpr std::uint8_t kNoRow = 255;

// Rows are 20 pixels high and as wide as the box they drop from; the first one starts on the
// box's bottom line.
inline constexpr int kListLeft = panelControl(panelRegion::kEffectBox).rect.left;
inline constexpr int kListRight = panelControl(panelRegion::kEffectBox).rect.right;
inline constexpr int kListRowHeight = 20;
inline constexpr int kEffectListTop = panelControl(panelRegion::kEffectBox).rect.bottom;
inline constexpr int kPalmListTop = panelControl(panelRegion::kPalmBox).rect.bottom;
static_assert(kListLeft == 28 && kListRight == 248 && kEffectListTop == 148 && kPalmListTop == 332);

struct PanelLists {
    bool effectListOpen = false;
    bool palmListOpen = false;
    std::uint8_t effectHover = kNoRow;
    std::uint8_t palmHover = kNoRow;

    bool isOpen() const { return effectListOpen || palmListOpen; }
};

// The list of this box (the effect or the palm box) opens with its current row highlighted.
void openList(PanelLists& lists, const SettingsImage& image, int box);
// The highlighted row of the open list moves by `step`, stopping at the ends; true when it moved.
bool moveListHighlight(PanelLists& lists, int step);

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
// Enter on the open list: picks the highlighted row, if any, and closes the list.
ListClick chooseHighlightedRow(PanelLists& lists, SettingsImage& image);

} // namespace q905
