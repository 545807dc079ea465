// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's settings image: one flat byte layout that is at once the host mirror of the
// keyboard's memory and the first half of keymap.bin and every profile file. Offsets and sizes
// are a file format; never change them.

#include <cstddef>
#include <cstdint>

namespace q905 {

struct Block {
    std::size_t offset;
    std::size_t size;
    constexpr std::size_t end() const { return offset + size; }
};

inline constexpr std::size_t kSettingsImageSize = 10068;

namespace layout {
inline constexpr Block kReservedHead{0x0000, 11};
inline constexpr Block kReportRate{0x000B, 1};
inline constexpr Block kReservedAfterReportRate{0x000C, 780};
inline constexpr Block kKeyMapBlock{0x0318, 512};
inline constexpr std::size_t kMacroSlotSize = 192;
inline constexpr std::size_t kMacroSlotCount = 32;
inline constexpr Block kMacroSlotBlock{0x0518, kMacroSlotSize* kMacroSlotCount};
inline constexpr Block kReservedAfterMacros{0x1D18, 1};
inline constexpr Block kResponseTime{0x1D19, 1};
inline constexpr Block kLightingParams{0x1D1A, 5};
inline constexpr std::size_t kLightingEffect = 0x1D1A;
inline constexpr std::size_t kSpeedStep = 0x1D1B;
inline constexpr std::size_t kBrightness = 0x1D1C;
inline constexpr std::size_t kColourIndex = 0x1D1D;
inline constexpr std::size_t kDirection = 0x1D1E;
inline constexpr std::size_t kColourTripleCount = 7;
inline constexpr Block kEffectColours{0x1D1F, 3 * kColourTripleCount};
inline constexpr Block kGameMode{0x1D34, 1};
inline constexpr Block kKeyEnableMask{0x1D35, 21};
inline constexpr Block kWinKeyLock{0x1D4A, 1};
inline constexpr std::size_t kPerKeyPageSize = 512;
inline constexpr std::size_t kPerKeyPageCount = 5;
inline constexpr Block kPerKeyColourPages{0x1D4B, kPerKeyPageSize* kPerKeyPageCount};
inline constexpr Block kPalmRestBlock{0x274B, 8};
inline constexpr Block kReservedTail{0x2753, 1};

constexpr Block macroSlot(std::size_t slot) {
    return {kMacroSlotBlock.offset + kMacroSlotSize * slot, kMacroSlotSize};
}
constexpr Block perKeyColourPage(std::size_t page) {
    return {kPerKeyColourPages.offset + kPerKeyPageSize * page, kPerKeyPageSize};
}
constexpr Block colourTriple(std::size_t triple) {
    return {kEffectColours.offset + 3 * triple, 3};
}
// Bit 0 of this byte is matrix position 6, the left Windows key.
inline constexpr std::size_t kWinKeyMaskByte = kKeyEnableMask.offset + 1;

// Every block in order, so the sizes can be checked to cover the image without gaps.
inline constexpr Block kAllBlocks[] = {
    kReservedHead,        kReportRate,   kReservedAfterReportRate, kKeyMapBlock,   kMacroSlotBlock,
    kReservedAfterMacros, kResponseTime, kLightingParams,          kEffectColours, kGameMode,
    kKeyEnableMask,       kWinKeyLock,   kPerKeyColourPages,       kPalmRestBlock, kReservedTail};

constexpr bool blocksAreContiguous() {
    std::size_t next = 0;
    for (const Block& block : kAllBlocks) {
        if (block.offset != next)
            return false;
        next = block.end();
    }
    return next == kSettingsImageSize;
}
static_assert(blocksAreContiguous(), "settings image blocks must tile the 10,068 bytes exactly");
static_assert(kSettingsImageSize == 0x2754);
} // namespace layout

} // namespace q905
