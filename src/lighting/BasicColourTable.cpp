// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/BasicColourTable.h"

#include "lighting/ColourDialogControls.h"

namespace q905 {

namespace {
using namespace colour_dialog;

// Not printed: white cells below the grid, under the preview and the number fields.
constexpr std::array<int, 2> kUnprintedRowTops{162, 178};

constexpr std::array<ColourValue, 48> kPrintedColours{
    makeColour(255, 128, 128), makeColour(255, 255, 128), makeColour(128, 255, 128),
    makeColour(0, 255, 128),   makeColour(128, 255, 254), makeColour(0, 128, 255),
    makeColour(254, 128, 192), makeColour(255, 128, 255), //
    makeColour(255, 0, 0),     makeColour(255, 255, 0),   makeColour(128, 255, 0),
    makeColour(0, 255, 64),    makeColour(0, 255, 255),   makeColour(0, 128, 192),
    makeColour(128, 128, 255), makeColour(255, 0, 255), //
    makeColour(128, 64, 64),   makeColour(255, 128, 64),  makeColour(0, 255, 0),
    makeColour(0, 128, 128),   makeColour(0, 64, 128),    makeColour(128, 128, 255),
    makeColour(128, 0, 64),    makeColour(255, 0, 128), //
    makeColour(128, 0, 0),     makeColour(255, 128, 0),   makeColour(0, 128, 0),
    makeColour(0, 128, 64),    makeColour(0, 0, 255),     makeColour(0, 0, 160),
    makeColour(128, 0, 128),   makeColour(128, 0, 255), //
    makeColour(64, 0, 0),      makeColour(128, 64, 0),    makeColour(0, 64, 0),
    makeColour(0, 64, 64),     makeColour(0, 0, 128),     makeColour(0, 0, 64),
    makeColour(64, 0, 64),     makeColour(64, 0, 128), //
    makeColour(0, 0, 0),       makeColour(128, 128, 0),   makeColour(128, 128, 64),
    makeColour(128, 128, 128), makeColour(64, 128, 128),  makeColour(129, 192, 192),
    makeColour(64, 0, 64),     makeColour(255, 255, 255)};

constexpr std::array<ColourCell, kColourCellCount> buildTable() {
    std::array<ColourCell, kColourCellCount> cells{};
    for (int i = 0; i < kColourCellCount; ++i) {
        const RegionRect place =
            i < kPrintedCells
                ? kControls[static_cast<std::size_t>(i)].rect
                : cellRect(i % kCellColumns, kUnprintedRowTops[(i - kPrintedCells) / kCellColumns]);
        const ColourValue colour =
            i < kPrintedCells ? kPrintedColours[i] : makeColour(255, 255, 255);
        cells[i] = {place.left, place.top, colour};
    }
    return cells;
}
} // namespace

const std::array<ColourCell, kColourCellCount> BasicColourTable = buildTable();

std::optional<int> colourCellAt(int x, int y) {
    for (int i = 0; i < kColourCellCount; ++i) {
        const ColourCell& cell = BasicColourTable[i];
        if (x >= cell.x && x < cell.x + kCellHitWidth && y >= cell.y && y < cell.y + kCellHitHeight)
            return i;
    }
    return std::nullopt;
}

std::optional<int> firstCellWithColour(ColourValue colour) {
    for (int i = 0; i < kColourCellCount; ++i) {
        if (BasicColourTable[i].colour == colour)
            return i;
    }
    return std::nullopt;
}

} // namespace q905
