// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixed hit rectangles of the skinned dialogs: a click goes to the first region that holds it.

#include <optional>
#include <span>

namespace q905 {

struct RegionRect {
    int left, top, right, bottom; // client pixels, edges included

    constexpr bool contains(int x, int y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
    constexpr int width() const { return right - left + 1; }
    constexpr int height() const { return bottom - top + 1; }
};

// Index of the first rectangle that holds the point.
constexpr std::optional<int> regionAt(std::span<const RegionRect> regions, int x, int y) {
    for (std::size_t i = 0; i < regions.size(); ++i)
        if (regions[i].contains(x, y))
            return static_cast<int>(i);
    return std::nullopt;
}

} // namespace q905
