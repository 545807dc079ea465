// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/PendingEdits.h"

#include "device/DeviceWriter.h"

#include <algorithm>

namespace q905 {

bool hasPendingEdits(const SettingsImage& edited, const SettingsImage& believed) {
    return std::ranges::any_of(comparedBlocks(),
                               [&](Block block) { return !edited.sameBlock(believed, block); });
}

void carryPendingEdits(const SettingsImage& edited, const SettingsImage& believed,
                       SettingsImage& read) {
    for (const Block block : comparedBlocks()) {
        if (edited.sameBlock(believed, block) || !read.sameBlock(believed, block))
            continue;
        const auto bytes = edited.block(block);
        std::ranges::copy(bytes, read.block(block).begin());
    }
}

} // namespace q905
