#include "lighting/PanelLists.h"

#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRules.h"

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

ListClick clickOpenList(PanelLists& lists, SettingsImage& image, int x, int y) {
    ListClick result;
    if (lists.effectListOpen) {
        if (const auto row = effectListRowAt(x, y)) {
            lists.effectHover = static_cast<std::uint8_t>(*row);
            result.effectPicked = true;
            result.perKeyColourMode = pickEffect(image, *row);
        }
    } else if (lists.palmListOpen) {
        if (const auto row = palmListRowAt(x, y))
            pickPalmEffect(image, *row);
    }
    lists.effectListOpen = false;
    lists.palmListOpen = false;
    return result;
}

} // namespace q905
