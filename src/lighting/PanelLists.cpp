// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PanelLists.h"

#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRules.h"

#include <algorithm>

namespace q905 {

namespace {
std::optional<int> rowAt(int x, int y, int top, int rowCount) {
    const int bottom = top + kListRowHeight * rowCount - 1;
    if (x < kListLeft || x > kListRight || y < top || y > bottom)
        return std::nullopt;
    return (y - top) / kListRowHeight;
}

std::uint8_t asHover(std::optional<int> row) {
    return row ? static_cast<std::uint8_t>(*row) : kNoRow;
}
} // namespace

std::optional<int> effectListRowAt(int x, int y) {
    return rowAt(x, y, kEffectListTop, kEffectCount);
}

std::optional<int> palmListRowAt(int x, int y) {
    return rowAt(x, y, kPalmListTop, kPalmEffectCount);
}

bool hoverOpenList(PanelLists& lists, int x, int y) {
    std::uint8_t* hover = nullptr;
    std::uint8_t row = kNoRow;
    if (lists.effectListOpen) {
        hover = &lists.effectHover;
        row = asHover(effectListRowAt(x, y));
    } else if (lists.palmListOpen) {
        hover = &lists.palmHover;
        row = asHover(palmListRowAt(x, y));
    } else {
        return false;
    }
    if (*hover == row)
        return false;
    *hover = row;
    return true;
}

namespace {
ListClick pickRow(PanelLists& lists, SettingsImage& image, std::optional<int> row) {
    ListClick result;
    if (lists.effectListOpen) {
        if (row) {
            lists.effectHover = static_cast<std::uint8_t>(*row);
            result.effectPicked = true;
            result.perKeyColourMode = pickEffect(image, *row);
        }
    } else if (lists.palmListOpen) {
        if (row)
            pickPalmEffect(image, *row);
    }
    lists.effectListOpen = false;
    lists.palmListOpen = false;
    return result;
}
} // namespace

ListClick clickOpenList(PanelLists& lists, SettingsImage& image, int x, int y) {
    const std::optional<int> row = lists.effectListOpen ? effectListRowAt(x, y)
                                   : lists.palmListOpen ? palmListRowAt(x, y)
                                                        : std::nullopt;
    return pickRow(lists, image, row);
}

ListClick chooseHighlightedRow(PanelLists& lists, SettingsImage& image) {
    const std::uint8_t hover = lists.effectListOpen ? lists.effectHover : lists.palmHover;
    return pickRow(lists, image, hover == kNoRow ? std::nullopt : std::optional<int>(hover));
}

void openList(PanelLists& lists, const SettingsImage& image, int box) {
    if (box == panelRegion::kEffectBox) {
        lists.effectListOpen = true;
        lists.effectHover = asHover(effectPosition(image.lightingEffect()));
    } else if (box == panelRegion::kPalmBox) {
        lists.palmListOpen = true;
        const std::uint8_t code = palmEffect(image);
        lists.palmHover = code < kPalmEffectCount ? code : kNoRow;
    }
}

bool moveListHighlight(PanelLists& lists, int step) {
    std::uint8_t* hover = lists.effectListOpen ? &lists.effectHover
                          : lists.palmListOpen ? &lists.palmHover
                                               : nullptr;
    if (hover == nullptr)
        return false;
    const int rows = lists.effectListOpen ? kEffectCount : kPalmEffectCount;
    // With no row highlighted the first step lands on the first or the last row.
    const int from = *hover == kNoRow ? (step > 0 ? -1 : rows) : *hover;
    const auto to = static_cast<std::uint8_t>(std::clamp(from + step, 0, rows - 1));
    if (to == *hover)
        return false;
    *hover = to;
    return true;
}

} // namespace q905
