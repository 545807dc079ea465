// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// KeyEnableMask: one bit per matrix position, byte p / 6, bit p mod 6; 1 = the key works.

#include "device/SettingsImage.h"

namespace q905 {

inline constexpr int kKeysPerMaskByte = 6;

bool isKeyEnabled(const SettingsImage& image, int position);
void setKeyEnabled(SettingsImage& image, int position, bool enabled);

} // namespace q905
