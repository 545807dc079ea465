// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 64 fixed colour cells of the colour dialog: the 48 printed on its background picture and
// two white rows under the preview and the number fields that clicks still find.

#include "lighting/ColourModel.h"

#include <array>
#include <optional>

namespace q905 {

struct ColourCell {
    int x, y; // top-left of the cell's area on the background picture
    ColourValue colour;
};

inline constexpr int kColourCellCount = 64;
extern const std::array<ColourCell, kColourCellCount> BasicColourTable;

// The first cell whose area (x..x + 13, y..y + 12, edges included) holds the point.
std::optional<int> colourCellAt(int x, int y);
// The first cell of that colour; white is found in cell 47, before the two white rows.
std::optional<int> firstCellWithColour(ColourValue colour);

} // namespace q905
