// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SettingsImage.h"

#include <algorithm>

namespace q905 {

bool SettingsImage::sameBlock(const SettingsImage& other, Block block) const {
    const auto mine = this->block(block);
    const auto theirs = other.block(block);
    return std::equal(mine.begin(), mine.end(), theirs.begin());
}

void SettingsImage::foldWinKeyLock() {
    std::uint8_t& maskByte = at(layout::kWinKeyMaskByte);
    if (winKeyLock() == 1)
        maskByte &= 0x3E;
    else if (winKeyLock() == 0)
        maskByte |= 0x01;
}

} // namespace q905
