// SPDX-License-Identifier: GPL-3.0-or-later
#include "emulator/FactorySettings.h"

#include "device/WireEncoding.h"
#include "keys/DefaultKeyMap.h"

#include <algorithm>

namespace q905 {

static_assert(kKeyMapSize == layout::kKeyMapBlock.size);

void applyFactorySettings(SettingsImage& memory) {
    std::ranges::copy(DefaultKeyMap, memory.block(layout::kKeyMapBlock).begin());
    std::ranges::fill(memory.block(layout::kMacroSlotBlock), 0);
    std::ranges::fill(memory.block(layout::kPerKeyColourPages), 0);
    std::ranges::fill(memory.block(layout::kKeyEnableMask), 0xFF);

    memory.at(layout::kReportRate.offset) = factory::kReportRate;
    memory.at(layout::kResponseTime.offset) = factory::kResponseTime;
    memory.at(layout::kLightingEffect) = factory::kLightingEffect;
    memory.at(layout::kSpeedStep) = factory::kSpeedStep;
    memory.at(layout::kBrightness) = factory::kBrightness;
    memory.at(layout::kColourIndex) = factory::kMulticolour;
    memory.at(layout::kDirection) = factory::kDirectionLeft;
    for (std::size_t triple = 0; triple < layout::kColourTripleCount; ++triple)
        std::ranges::copy(factory::kRainbow[triple],
                          memory.block(layout::colourTriple(triple)).begin());
    memory.at(layout::kGameMode.offset) = factory::kGameMode;
    std::ranges::copy(factory::kPalmRest, memory.block(layout::kPalmRestBlock).begin());
    normaliseMemory(memory);
}

void normaliseMemory(SettingsImage& memory) {
    memory.at(layout::kWinKeyLock.offset) =
        wire::winKeyLockFromMask(memory.at(layout::kWinKeyMaskByte));
    memory.at(layout::kPalmRestBlock.offset) = kPalmRestReadMarker;
}

} // namespace q905
